#include "dialogs/dialog_font.h"

namespace {

constexpr wchar_t kScalableDialogFace[] = L"MS Shell Dlg";

}  // namespace

bool DrawsAtItsHeight(HFONT font) {
  LOGFONTW asked = {};
  if (!font || !GetObjectW(font, sizeof(asked), &asked)) return true;
  // A DC of its own rather than the screen's: borrowing that one can grow
  // the system's cache of them.
  HDC dc = CreateCompatibleDC(nullptr);
  if (!dc) return true;
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW drawn = {};
  bool known = GetTextMetricsW(dc, &drawn);
  SelectObject(dc, old);
  DeleteDC(dc);
  if (!known) return true;
  if (asked.lfHeight < 0) return drawn.tmHeight - drawn.tmInternalLeading <= -asked.lfHeight;
  return asked.lfHeight == 0 || drawn.tmHeight <= asked.lfHeight;
}

HFONT CreateScalableCounterpart(HFONT font) {
  LOGFONTW scalable = {};
  if (!font || !GetObjectW(font, sizeof(scalable), &scalable)) return nullptr;
  lstrcpynW(scalable.lfFaceName, kScalableDialogFace, LF_FACESIZE);
  return CreateFontIndirectW(&scalable);
}
