// Finding this process's windows and pressing their buttons from a second
// thread while the test's own thread sits in a modal dialog. Every wait has
// a time-out, so a missing dialog fails instead of hanging.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

// Generous: a loaded machine can take seconds to show a first dialog.
constexpr DWORD kDialogTimeoutMs = 20000;

std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);

// Visible top-level windows of this process whose class is className
// (any class when null).
std::vector<HWND> ProcessWindows(const wchar_t* className);

// Waits for a visible top-level window of this process with that class (and
// title, when given); null after the time-out.
HWND WaitForWindow(const wchar_t* className, const wchar_t* title = nullptr,
                   DWORD timeoutMs = kDialogTimeoutMs);

// Waits for a visible dialog (#32770) of that thread holding a control with
// that id and class: how the system's own dialogs are found, since Windows
// titles them in the user's language.
HWND WaitForDialogWith(DWORD threadId, int controlId, const wchar_t* controlClass,
                       DWORD timeoutMs = kDialogTimeoutMs);

// Waits until the window is gone; false after the time-out.
bool WaitForGone(HWND window, DWORD timeoutMs = kDialogTimeoutMs);

// Posts IDCANCEL and WM_CLOSE to every dialog of this process (clean-up
// after a failed drive, so that the modal call returns).
void CancelAllDialogs();

// Runs drive on its own thread. Join() waits for it; the drive's findings go
// into the strings it captures and are checked on the test's thread (the
// test framework is built without thread support).
//
// A watchdog keeps a failed drive from hanging the program: when the test's
// thread has not reached Join() some seconds after the drive ended (a dialog
// the drive missed is still open), every dialog is cancelled; if even that
// does not free the test's thread, the program ends with a message, so the
// test fails instead of waiting for the CTest time-out.
class Driver {
 public:
  explicit Driver(std::function<void()> drive);
  ~Driver();
  void Join();

 private:
  void Run(std::function<void()> drive);
  HANDLE joined_;
  std::thread thread_;
};

// Child window of parent with this control id and class, searching the
// whole tree (file dialogs nest their controls).
HWND FindDescendant(HWND parent, int id, const wchar_t* className = nullptr);

// The outer rectangle of a window in screen coordinates.
RECT WindowRect(HWND window);
