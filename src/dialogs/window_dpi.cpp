#include "dialogs/window_dpi.h"

#include "dialogs/dpi_scale.h"

namespace {

using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
using SetDialogDpiChangeBehaviorProc = BOOL(WINAPI*)(HWND, int mask, int values);

// DIALOG_DPI_CHANGE_BEHAVIORS: DDC_DISABLE_ALL stops both the resize with a
// new font and the re-layout of the controls.
constexpr int kDDC_DISABLE_ALL = 0x0001;

// Looked up by name, so that the DLL still loads where user32 lacks them
// (Windows 7 to 10 1511).
FARPROC User32Procedure(const char* name) {
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  return user32 ? GetProcAddress(user32, name) : nullptr;
}

}  // namespace

int WindowDpi(HWND window) {
  auto getDpiForWindow = reinterpret_cast<GetDpiForWindowProc>(User32Procedure("GetDpiForWindow"));
  if (getDpiForWindow && window) {
    UINT dpi = getDpiForWindow(window);
    if (dpi > 0) return static_cast<int>(dpi);
  }
  int dpi = 0;
  if (HDC screen = GetDC(nullptr)) {
    dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  return dpi > 0 ? dpi : kBaseDpi;
}

void KeepDialogManagerFromRescaling(HWND dialog) {
  auto setBehavior =
      reinterpret_cast<SetDialogDpiChangeBehaviorProc>(User32Procedure("SetDialogDpiChangeBehavior"));
  if (setBehavior && dialog) setBehavior(dialog, kDDC_DISABLE_ALL, kDDC_DISABLE_ALL);
}
