// CTRLPROC (not built yet).
#include <windows.h>

extern "C" LRESULT __stdcall CtrlProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}
