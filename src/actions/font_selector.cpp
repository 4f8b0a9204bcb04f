// xr_Dialogs_FontSelector: the system font dialog, preset from the script's
// face, size and style words, at the script's position.
#include <windows.h>
#include <commdlg.h>

#include <cwchar>
#include <string>

#include "actions/color_text.h"
#include "actions/font_style.h"
#include "actions/place_dialog.h"
#include "plugin/action_procedures.h"
#include "plugin/catch_all.h"
#include "plugin/host_callbacks.h"
#include "plugin/text_to_number.h"
#include "plugin/wide_text.h"

namespace {

// The record's size as the system expects it: 60 bytes on x86, 104 on x86-64.
static_assert(sizeof(CHOOSEFONTW) == (sizeof(void*) == 8 ? 104 : 60), "CHOOSEFONTW layout");

// The dialog has room for 31 characters of face name plus the NUL.
constexpr size_t kMaxFaceLength = LF_FACESIZE - 1;

// Upper-cased with the system's own rules, so style words match whatever
// case the script wrote them in.
unsigned StyleBitsFromText(const char* style) {
  std::string upper = style ? style : "";
  if (upper.empty()) return 0;
  CharUpperBuffA(&upper[0], static_cast<DWORD>(upper.size()));
  return StyleBitsFromUpperText(upper);
}

int32_t ScreenDotsPerInchY() {
  HDC screen = GetDC(nullptr);
  if (!screen) return 0;  // no height requested rather than a guessed one
  int32_t dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

LOGFONTW InitialFont(const char* fontName, int32_t points, unsigned styleBits) {
  LOGFONTW font = {};
  font.lfHeight = LogicalHeightForPoints(points, ScreenDotsPerInchY());
  font.lfWeight = (styleBits & kStyleBold) ? kFwBold : kFwNormal;
  font.lfItalic = (styleBits & kStyleItalic) ? 1 : 0;
  font.lfUnderline = (styleBits & kStyleUnderline) ? 1 : 0;
  font.lfStrikeOut = (styleBits & kStyleStrikeOut) ? 1 : 0;
  font.lfCharSet = ANSI_CHARSET;
  std::wstring face = CutWide(HostTextToWide(fontName), kMaxFaceLength);
  wmemcpy(font.lfFaceName, face.data(), face.size());
  font.lfFaceName[face.size()] = L'\0';
  return font;
}

UINT_PTR CALLBACK FontHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    auto* chooser = reinterpret_cast<const CHOOSEFONTW*>(lParam);
    if (chooser) PlaceDialogAtCustData(dialog, chooser->lCustData);
  }
  return 0;
}

// Status first, then the values, as a cancel reports them.
constexpr const char* kFontVariables[] = {
    "xr_Dialogs_FontSelected_Status",  "xr_Dialogs_FontSelected_Name",
    "xr_Dialogs_FontSelected_Points",  "xr_Dialogs_FontSelected_CharSet",
    "xr_Dialogs_FontSelected_Style",   "xr_Dialogs_FontColorSelected_HEX",
    "xr_Dialogs_FontColorSelected_RGB"};

void ShowFontSelector(const char* fontName, const char* points, const char* style,
                      const char* posX, const char* posY) {
  DialogPosition position = ReadDialogPosition(posX, posY);
  int32_t pointSize = TextToInt(points);
  LOGFONTW font = InitialFont(fontName, pointSize, StyleBitsFromText(style));

  CHOOSEFONTW chooser = {};
  chooser.lStructSize = sizeof(chooser);
  chooser.lpLogFont = &font;
  chooser.iPointSize = pointSize;
  chooser.Flags = CF_SCREENFONTS | CF_PRINTERFONTS | CF_ENABLEHOOK | CF_INITTOLOGFONTSTRUCT |
                  CF_EFFECTS | CF_FORCEFONTEXIST;
  chooser.rgbColors = 0;
  chooser.lCustData = reinterpret_cast<LPARAM>(&position);
  chooser.lpfnHook = FontHook;

  // On cancel the dialog may already have rewritten the LOGFONT: only its
  // result tells a choice from a cancel.
  std::string face;
  if (ChooseFontW(&chooser))
    face = WideToAnsi(font.lfFaceName, wcsnlen(font.lfFaceName, LF_FACESIZE));

  if (face.empty()) {
    ReportNoChoice(kFontVariables);
    return;
  }
  COLORREF color = chooser.rgbColors & 0x00FFFFFF;
  unsigned styleBits =
      StyleBitsOfFont(font.lfWeight, font.lfItalic, font.lfUnderline, font.lfStrikeOut);
  SetHostVariable("xr_Dialogs_FontSelected_Status", "True");
  SetHostVariable("xr_Dialogs_FontSelected_Name", face);
  SetHostVariable("xr_Dialogs_FontSelected_Points",
                  std::to_string(TenthsToWholePoints(chooser.iPointSize)));
  SetHostVariable("xr_Dialogs_FontColorSelected_HEX", ColorToHexText(color));
  SetHostVariable("xr_Dialogs_FontColorSelected_RGB", ColorToRgbText(color));
  SetHostVariable("xr_Dialogs_FontSelected_CharSet", std::to_string(font.lfCharSet));
  SetHostVariable("xr_Dialogs_FontSelected_Style", StyleName(styleBits));
}

}  // namespace

void ReportFontSelectorFailure() { ReportNoChoice(kFontVariables); }

int32_t __stdcall XrDialogsFontSelector(const char* fontName, const char* points,
                                        const char* style, const char* posX, const char* posY) {
  CatchAllReporting([&] { ShowFontSelector(fontName, points, style, posX, posY); },
                    ReportFontSelectorFailure);
  return 0;
}
