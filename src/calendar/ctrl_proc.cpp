// CTRLPROC: a window procedure that a host installs over a window's own to
// have its text painted red on cyan (in the window colours under High
// Contrast). One window at a time: the procedure it replaces and the brush
// are kept once for the process.
#include <windows.h>

#include "dialogs/high_contrast.h"

namespace {

constexpr COLORREF kCyan = RGB(0, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr int kTextBufferSize = 80;  // at most 79 characters are drawn
constexpr int kTextInset = 2;

WNDPROC g_savedProc = nullptr;
HBRUSH g_background = nullptr;

void ReleaseBackground() {
  if (g_background) DeleteObject(g_background);
  g_background = nullptr;
}

// Before any initialising call there is no procedure to pass on to.
LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!g_savedProc) return DefWindowProcA(window, message, wParam, lParam);
  return CallWindowProcA(g_savedProc, window, message, wParam, lParam);
}

// Draws over what the saved procedure painted, from the client area's
// top-left corner (inset by 2), breaking only at the text's own line breaks.
void PaintText(HWND window) {
  if (!window) return;  // never onto the screen's own device context
  RECT area = {};
  GetClientRect(window, &area);
  char text[kTextBufferSize] = {};
  int length = GetWindowTextA(window, text, kTextBufferSize);
  if (length < 0) length = 0;
  area.left += kTextInset;
  area.top += kTextInset;
  HDC dc = GetDC(window);
  if (!dc) return;
  bool highContrast = HighContrastOn();
  SetBkColor(dc, highContrast ? GetSysColor(COLOR_WINDOW) : kCyan);
  SetTextColor(dc, highContrast ? GetSysColor(COLOR_WINDOWTEXT) : kRed);
  DrawTextA(dc, text, length, &area, DT_VCENTER);
  ReleaseDC(window, dc);
}

// Erases with the cyan brush (the system's window brush under High
// Contrast) by lending it to the window's class for the duration of the
// saved procedure's erase.
void EraseInCyan(HWND window, WPARAM wParam, LPARAM lParam) {
  if (!g_background) {
    PassOn(window, WM_ERASEBKGND, wParam, lParam);
    return;
  }
  HBRUSH brush = HighContrastOn() ? GetSysColorBrush(COLOR_WINDOW) : g_background;
  ULONG_PTR previous = SetClassLongPtrA(window, GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush));
  PassOn(window, WM_ERASEBKGND, wParam, lParam);
  SetClassLongPtrA(window, GCLP_HBRBACKGROUND, static_cast<LONG_PTR>(previous));
}

}  // namespace

extern "C" LRESULT __stdcall CtrlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!window) {
    // The initialising call: wParam is the procedure being replaced. A
    // repeated one must not leak the brush of the previous.
    ReleaseBackground();
    g_savedProc = reinterpret_cast<WNDPROC>(wParam);
    g_background = CreateSolidBrush(kCyan);
  }
  switch (message) {
    case WM_PAINT: {
      LRESULT result = PassOn(window, message, wParam, lParam);
      PaintText(window);
      return result;
    }
    case WM_ERASEBKGND:
      EraseInCyan(window, wParam, lParam);
      return 1;
    case WM_DESTROY:
      ReleaseBackground();
      return PassOn(window, message, wParam, lParam);
  }
  return PassOn(window, message, wParam, lParam);
}
