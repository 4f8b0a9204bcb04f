#include "dialogs/window_dpi.h"

#include "dialogs/dpi_scale.h"

namespace {

using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
using GetDpiForMonitorProc = HRESULT(WINAPI*)(HMONITOR, int type, UINT* dpiX, UINT* dpiY);
using AdjustWindowRectExForDpiProc = BOOL(WINAPI*)(RECT*, DWORD style, BOOL menu, DWORD exStyle,
                                                   UINT dpi);
using SetDialogDpiChangeBehaviorProc = BOOL(WINAPI*)(HWND, int mask, int values);

// MONITOR_DPI_TYPE: the DPI that the user's scale setting gives the monitor.
constexpr int kMDT_EFFECTIVE_DPI = 0;
// DIALOG_DPI_CHANGE_BEHAVIORS: DDC_DISABLE_ALL stops both the resize with a
// new font and the re-layout of the controls.
constexpr int kDDC_DISABLE_ALL = 0x0001;

// Looked up by name, so that the DLL still loads where user32 lacks them:
// GetDpiForWindow and AdjustWindowRectExForDpi came with Windows 10 1607,
// SetDialogDpiChangeBehavior with 1703.
FARPROC User32Procedure(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? GetProcAddress(user32, name) : nullptr;
}

// shcore.dll exists from Windows 8.1 on; importing it would keep the DLL off
// Windows 7. Loaded from the system folder only, and let go at once.
int MonitorDpi(HWND window) {
  HMODULE shcore = LoadLibraryExW(L"shcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (!shcore) return 0;
  UINT dpiX = 0, dpiY = 0;
  auto getDpiForMonitor =
      reinterpret_cast<GetDpiForMonitorProc>(GetProcAddress(shcore, "GetDpiForMonitor"));
  HMONITOR monitor = MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST);
  if (getDpiForMonitor && monitor && FAILED(getDpiForMonitor(monitor, kMDT_EFFECTIVE_DPI, &dpiX, &dpiY)))
    dpiY = 0;
  FreeLibrary(shcore);
  return static_cast<int>(dpiY);
}

}  // namespace

int WindowDpi(HWND window) {
  auto getDpiForWindow = reinterpret_cast<GetDpiForWindowProc>(User32Procedure("GetDpiForWindow"));
  if (getDpiForWindow && window) {
    UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  if (!getDpiForWindow && window) {
    int dpi = MonitorDpi(window);
    if (dpi > 0) return dpi;
  }
  int dpi = 0;
  if (HDC screen = GetDC(nullptr)) {
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  return dpi > 0 ? dpi : kBaseDpi;
}

bool FrameExtraForDpi(HWND window, int dpi, SIZE* extra) {
  auto adjust = reinterpret_cast<AdjustWindowRectExForDpiProc>(
      User32Procedure("AdjustWindowRectExForDpi"));
  RECT frame = {};
  if (!adjust || !adjust(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)),
                         static_cast<UINT>(dpi)))
    return false;
  extra->cx = frame.right - frame.left;
  extra->cy = frame.bottom - frame.top;
  return true;
}

void KeepDialogManagerFromRescaling(HWND dialog) {
  auto setBehavior =
      reinterpret_cast<SetDialogDpiChangeBehaviorProc>(User32Procedure("SetDialogDpiChangeBehavior"));
  if (setBehavior && dialog) setBehavior(dialog, kDDC_DISABLE_ALL, kDDC_DISABLE_ALL);
}
