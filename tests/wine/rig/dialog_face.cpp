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

namespace {

INT_PTR CALLBACK IgnoreEverything(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// The character set of the font that the dialog manager makes for an 8-point
// MS Sans Serif template asking for ANSI_CHARSET: the library judges that
// font, and which raster set a request maps to depends on its character set
// (Wine under code page 1251 gives another one than the template asks for).
BYTE DialogManagersCharSet() {
  alignas(4) WORD dialog[64] = {};
  WORD* at = dialog;
  *at++ = 1;       // dlgVer
  *at++ = 0xFFFF;  // signature
  at += 2;         // helpID
  at += 2;         // exStyle
  DWORD style = DS_SETFONT | WS_POPUP;
  *at++ = LOWORD(style);
  *at++ = HIWORD(style);
  at += 1 + 4;     // no items; x, y, cx, cy
  at += 3;         // no menu, the default class, no title
  *at++ = 8;       // points
  *at++ = FW_NORMAL;
  *at++ = MAKEWORD(FALSE, ANSI_CHARSET);  // italic, charset
  for (const wchar_t* c = L"MS Sans Serif"; *c; ++c) *at++ = static_cast<WORD>(*c);
  HWND window = CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                           reinterpret_cast<LPCDLGTEMPLATEW>(dialog), nullptr,
                                           IgnoreEverything, 0);
  LOGFONTW made = {};
  made.lfCharSet = ANSI_CHARSET;
  if (window) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    if (font) GetObjectW(font, sizeof(made), &made);
    DestroyWindow(window);
  }
  return made.lfCharSet;
}

}  // namespace

std::wstring ExpectedDialogFace(int dpi) {
  static const BYTE charSet = DialogManagersCharSet();
  LOGFONTW asked = {};
  asked.lfCharSet = charSet;
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
