#include "rig/dialog_face.h"

#include "rig/platform.h"

namespace {

// Wine's fonts, seen from inside its prefix (Z: is the Unix root).
constexpr wchar_t kWineHighDpiSet[] = L"Z:\\usr\\share\\wine\\fonts\\sseriff.fon";

}  // namespace

HighDpiRasterFace::HighDpiRasterFace() {
  if (!RunsUnderWine()) {
    loaded_ = true;  // the system's own set decides
    return;
  }
  added_ = AddFontResourceExW(kWineHighDpiSet, FR_PRIVATE, nullptr) > 0;
  loaded_ = added_;
  if (!added_) why_ = "Wine's raster MS Sans Serif for high DPI (sseriff.fon, package fonts-wine) is missing";
}

HighDpiRasterFace::~HighDpiRasterFace() {
  if (added_) RemoveFontResourceExW(kWineHighDpiSet, FR_PRIVATE, nullptr);
}

std::wstring ExpectedDialogFace(int dpi) {
  LOGFONTW asked = {};
  asked.lfHeight = -MulDiv(8, dpi, 72);
  asked.lfWeight = FW_NORMAL;
  lstrcpynW(asked.lfFaceName, L"MS Sans Serif", LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&asked);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, font);
  TEXTMETRICW drawn = {};
  GetTextMetricsW(dc, &drawn);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(font);
  bool fits = drawn.tmHeight - drawn.tmInternalLeading <= -asked.lfHeight;
  return fits ? L"MS Sans Serif" : L"MS Shell Dlg";
}

std::wstring FaceOf(HFONT font) {
  LOGFONTW logFont = {};
  if (!GetObjectW(font, sizeof(logFont), &logFont)) return L"";
  return logFont.lfFaceName;
}
