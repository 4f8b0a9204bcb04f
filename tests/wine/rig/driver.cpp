#include "rig/driver.h"

#include <cstdio>

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring TextOf(HWND window) {
  int length = GetWindowTextLengthW(window);
  std::wstring text(length + 1, L'\0');
  int got = GetWindowTextW(window, &text[0], length + 1);
  text.resize(got > 0 ? got : 0);
  return text;
}

namespace {
struct EnumState {
  const wchar_t* className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND window, LPARAM lParam) {
  auto* state = reinterpret_cast<EnumState*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != GetCurrentProcessId() || !IsWindowVisible(window)) return TRUE;
  if (state->className && ClassOf(window) != state->className) return TRUE;
  state->found.push_back(window);
  return TRUE;
}

struct DescendantQuery {
  int id;
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK MatchDescendant(HWND window, LPARAM lParam) {
  auto* q = reinterpret_cast<DescendantQuery*>(lParam);
  if (GetDlgCtrlID(window) == q->id && (!q->className || ClassOf(window) == q->className)) {
    q->found = window;
    return FALSE;
  }
  return TRUE;
}
}  // namespace

std::vector<HWND> ProcessWindows(const wchar_t* className) {
  EnumState state{className, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&state));
  return state.found;
}

HWND WaitForWindow(const wchar_t* className, const wchar_t* title, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  do {
    for (HWND window : ProcessWindows(className))
      if (!title || TextOf(window) == title) return window;
    Sleep(20);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

HWND WaitForDialogWith(DWORD threadId, int controlId, const wchar_t* controlClass,
                       DWORD timeoutMs) {
  DWORD start = GetTickCount();
  do {
    for (HWND window : ProcessWindows(L"#32770"))
      if (GetWindowThreadProcessId(window, nullptr) == threadId &&
          FindDescendant(window, controlId, controlClass))
        return window;
    Sleep(20);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

bool WaitForGone(HWND window, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  while (IsWindow(window) && IsWindowVisible(window)) {
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(20);
  }
  return true;
}

void CancelAllDialogs() {
  for (HWND dialog : ProcessWindows(L"#32770")) {
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    // Editors ignore IDCANCEL; the Close command ends them.
    PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  }
}

namespace {
constexpr DWORD kGraceAfterDriveMs = 8000;
constexpr DWORD kGiveUpAfterDriveMs = 30000;
}  // namespace

// Wine opens its display driver on the first call that needs it, under a
// lock of its own: a driver thread that gets there while the test's thread
// loads a DLL for a dialog (holding the loader lock) deadlocks both. The
// first driver opens the display while the test's thread is still alone.
static void OpenDisplayBeforeThreads() {
  static const bool opened = [] {
    GetDesktopWindow();
    if (HDC screen = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr)) DeleteDC(screen);
    return true;
  }();
  (void)opened;
}

Driver::Driver(std::function<void()> drive)
    : joined_((OpenDisplayBeforeThreads(), CreateEventW(nullptr, TRUE, FALSE, nullptr))),
      thread_(&Driver::Run, this, std::move(drive)) {}

Driver::~Driver() {
  Join();
  CloseHandle(joined_);
}

void Driver::Run(std::function<void()> drive) {
  drive();
  if (WaitForSingleObject(joined_, kGraceAfterDriveMs) == WAIT_OBJECT_0) return;
  std::fprintf(stderr, "driver: the test thread is still blocked %lu ms after the drive; "
                       "cancelling every dialog\n", kGraceAfterDriveMs);
  DWORD start = GetTickCount();
  while (WaitForSingleObject(joined_, 500) != WAIT_OBJECT_0) {
    CancelAllDialogs();
    if (GetTickCount() - start > kGiveUpAfterDriveMs) {
      std::fprintf(stderr, "driver: the test thread never came back; giving up\n");
      std::fflush(stderr);
      TerminateProcess(GetCurrentProcess(), 3);
    }
  }
}

void Driver::Join() {
  SetEvent(joined_);
  if (thread_.joinable()) thread_.join();
}

HWND FindDescendant(HWND parent, int id, const wchar_t* className) {
  DescendantQuery q{id, className, nullptr};
  EnumChildWindows(parent, MatchDescendant, reinterpret_cast<LPARAM>(&q));
  return q.found;
}

RECT WindowRect(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  return r;
}
