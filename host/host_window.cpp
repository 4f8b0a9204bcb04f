#include "host_window.h"

#include <atomic>

#include "ansi_text.h"

namespace {

std::atomic<int> g_openWindows{0};
std::atomic<bool> g_inLoop{false};

// Longest sleep between two looks at the loop's condition.
constexpr DWORD kLoopTickMs = 50;

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCDESTROY) --g_openWindows;
  return DefWindowProcW(window, message, wParam, lParam);
}

bool RegisterHostClass() {
  static bool registered = [] {
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = HostWindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kHostWindowClass;
    return RegisterClassW(&windowClass) != 0;
  }();
  return registered;
}

}  // namespace

HWND OpenHostWindow(const std::string& title, int width, int height) {
  if (!RegisterHostClass()) return nullptr;
  constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
  RECT frame = {0, 0, width, height};
  AdjustWindowRect(&frame, kStyle, FALSE);
  HWND window = CreateWindowExW(0, kHostWindowClass, AnsiToWide(title).c_str(), kStyle, 200, 150,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!window) return nullptr;
  ++g_openWindows;
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  return window;
}

bool RunMessageLoop(const std::function<bool()>& done, int timeoutMs) {
  struct LoopFlag {
    LoopFlag() { g_inLoop = true; }
    ~LoopFlag() { g_inLoop = false; }
  } flag;
  DWORD start = GetTickCount();
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
      if (done()) return true;
    }
    if (done()) return true;
    if (g_openWindows <= 0) return false;
    DWORD elapsed = GetTickCount() - start;
    if (elapsed >= static_cast<DWORD>(timeoutMs)) return false;
    DWORD wait = static_cast<DWORD>(timeoutMs) - elapsed;
    MsgWaitForMultipleObjectsEx(0, nullptr, wait < kLoopTickMs ? wait : kLoopTickMs, QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

bool InMessageLoop() { return g_inLoop; }
