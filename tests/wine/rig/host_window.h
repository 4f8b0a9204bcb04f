// A top-level window standing in for a host's form, and a message loop on
// the test's own thread for the library's modeless windows.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class HostWindow {
 public:
  // Visible, with exactly this client size.
  HostWindow(int clientWidth, int clientHeight);
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HWND handle() const { return window_; }
  // The handle as a script passes it: decimal text.
  std::string HandleText() const;
  void Destroy();

 private:
  HWND window_ = nullptr;
};

// Dispatches this thread's messages until done() holds or the time-out
// passes; returns done()'s last value.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// Dispatches this thread's messages for a while.
void PumpFor(DWORD ms);

// Direct children of parent of that class, topmost first.
std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* className);
