#include "rig/host_window.h"

#include <algorithm>

#include "rig/driver.h"

namespace {
constexpr wchar_t kHostClass[] = L"VelTestHostWindow";
constexpr DWORD kHostStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

void RegisterHostClass() {
  static bool registered = false;
  if (registered) return;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = kHostClass;
  registered = RegisterClassW(&wc) != 0;
}
}  // namespace

HostWindow::HostWindow(int clientWidth, int clientHeight) {
  RegisterHostClass();
  RECT outer = {0, 0, clientWidth, clientHeight};
  AdjustWindowRect(&outer, kHostStyle, FALSE);
  window_ = CreateWindowW(kHostClass, L"Host", kHostStyle, 40, 40, outer.right - outer.left,
                          outer.bottom - outer.top, nullptr, nullptr, GetModuleHandleW(nullptr),
                          nullptr);
  // Some window managers adjust the frame; make the client exact.
  RECT client = {};
  GetClientRect(window_, &client);
  if (client.right != clientWidth || client.bottom != clientHeight) {
    RECT r = WindowRect(window_);
    SetWindowPos(window_, nullptr, 0, 0, r.right - r.left + clientWidth - client.right,
                 r.bottom - r.top + clientHeight - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
  }
  PumpFor(20);
}

HostWindow::~HostWindow() { Destroy(); }

std::string HostWindow::HandleText() const {
  return std::to_string(reinterpret_cast<INT_PTR>(window_));
}

void HostWindow::Destroy() {
  if (window_ && IsWindow(window_)) DestroyWindow(window_);
  window_ = nullptr;
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    if (done()) return true;
    DWORD spent = GetTickCount() - start;
    if (spent >= timeoutMs) return false;
    // A short wait bound: conditions may change without a message arriving.
    MsgWaitForMultipleObjectsEx(0, nullptr, std::min<DWORD>(timeoutMs - spent, 10), QS_ALLINPUT,
                                MWMO_INPUTAVAILABLE);
  }
}

void PumpFor(DWORD ms) {
  PumpUntil([] { return false; }, ms);
}

std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* className) {
  std::vector<HWND> found;
  for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (ClassOf(child) == className) found.push_back(child);
  return found;
}
