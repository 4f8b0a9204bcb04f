#include "calendar/calendar_colours.h"

#include <commctrl.h>

#include <cwchar>

#include "dialogs/high_contrast.h"

namespace {

// Colours that mark a calendar opened on a previous date.
constexpr COLORREF kPreviousDateText = RGB(60, 255, 0);
constexpr COLORREF kPreviousDateTitleText = RGB(0, 255, 60);

// The scheme's colour for each part, by MCSC_ index: the month in the
// window colours, the title in the active caption's, the neighbouring
// months' days in the scheme's dimmed text.
constexpr int kSchemeColour[kCalendarColourCount] = {
    COLOR_WINDOW,         // MCSC_BACKGROUND
    COLOR_WINDOWTEXT,     // MCSC_TEXT
    COLOR_ACTIVECAPTION,  // MCSC_TITLEBK
    COLOR_CAPTIONTEXT,    // MCSC_TITLETEXT
    COLOR_WINDOW,         // MCSC_MONTHBK
    COLOR_GRAYTEXT,       // MCSC_TRAILINGTEXT
};

void WantedColours(const CalendarColours& colours, COLORREF wanted[kCalendarColourCount]) {
  if (HighContrastOn()) {
    for (int part = 0; part < kCalendarColourCount; ++part) wanted[part] = GetSysColor(kSchemeColour[part]);
    return;
  }
  for (int part = 0; part < kCalendarColourCount; ++part) wanted[part] = colours.own[part];
  if (colours.previousDate) {
    wanted[MCSC_TEXT] = kPreviousDateText;
    wanted[MCSC_TITLETEXT] = kPreviousDateTitleText;
  }
}

using SetWindowThemeProc = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);

}  // namespace

void ReadOwnColours(HWND calendar, CalendarColours* colours) {
  for (int part = 0; part < kCalendarColourCount; ++part) {
    colours->own[part] = static_cast<COLORREF>(SendMessageW(calendar, MCM_GETCOLOR, part, 0));
    colours->shown[part] = colours->own[part];
  }
  colours->previousDate = false;
}

void ShowCalendarColours(HWND calendar, CalendarColours* colours) {
  COLORREF wanted[kCalendarColourCount];
  WantedColours(*colours, wanted);
  for (int part = 0; part < kCalendarColourCount; ++part) {
    if (wanted[part] == colours->shown[part]) continue;
    colours->shown[part] = wanted[part];
    SendMessageW(calendar, MCM_SETCOLOR, part, wanted[part]);
  }
}

// uxtheme.dll is not imported, so that the DLL loads where it is missing;
// it is taken from the system folder by its full path only.
void DrawWithoutVisualStyle(HWND calendar) {
  constexpr wchar_t kName[] = L"\\uxtheme.dll";
  wchar_t path[MAX_PATH] = {};
  UINT length = GetSystemDirectoryW(path, MAX_PATH);
  if (length == 0 || length + wcslen(kName) >= MAX_PATH) return;
  wcscpy(path + length, kName);
  HMODULE uxtheme = LoadLibraryW(path);
  if (!uxtheme) return;
  // Empty names match no section of any style: the control draws classic,
  // and is told so by WM_THEMECHANGED before the call returns. Where empty
  // names are refused (Wine), a blank one matches no section either.
  if (auto setWindowTheme = reinterpret_cast<SetWindowThemeProc>(GetProcAddress(uxtheme, "SetWindowTheme")))
    if (FAILED(setWindowTheme(calendar, L"", L""))) setWindowTheme(calendar, L" ", L" ");
  FreeLibrary(uxtheme);
}
