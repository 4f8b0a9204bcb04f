// Wine or Windows: the test programs also run on Windows itself (the
// self-test package), where a few of Wine's answers differ. This is the one
// place that tells the two apart.
#pragma once
#include <windows.h>

#include <string>

// True under Wine: its ntdll exports wine_get_version, Windows' does not.
bool RunsUnderWine();

// The user's temporary folder in its long form, without a trailing
// backslash, as text of the ANSI code page (its short form where the code
// page cannot spell the long one). Files the tests make go below it.
std::string TempFolderA();
std::wstring TempFolderW();

// The Windows folder (GetWindowsDirectory: not always C:\windows) and its
// system32, without a trailing backslash, and the root of its drive ("C:\").
std::string WindowsFolderA();
std::wstring WindowsFolderW();
std::string SystemFolderA();
std::string SystemDriveRootA();

// Deletes a folder the tests made, with everything in it.
void RemoveTree(const std::wstring& folder);

// The screen's DPI (LOGPIXELSY), and the one the run asked for by VEL_DPI
// (make test's high-DPI prefix), 0 when it asked for none: a check made for
// a DPI must see that its screen really has it.
int ScreenDpi();
int RequestedDpi();

// While alive, the calling thread is per-monitor v2 DPI-aware, as a current
// host's thread is; active() is false where the system cannot do it
// (SetThreadDpiAwarenessContext came with Windows 10 1607, per-monitor v2
// with 1703), and why() then says so. Windows made meanwhile keep it.
class PerMonitorV2Thread {
 public:
  PerMonitorV2Thread();
  ~PerMonitorV2Thread();
  PerMonitorV2Thread(const PerMonitorV2Thread&) = delete;
  PerMonitorV2Thread& operator=(const PerMonitorV2Thread&) = delete;
  bool active() const { return previous_ != nullptr; }
  const char* why() const { return why_; }

 private:
  HANDLE previous_ = nullptr;  // the thread's DPI_AWARENESS_CONTEXT before
  const char* why_ = "";
};

// GetDpiForWindow (Windows 10 1607 and later), else the screen's DPI.
int DpiOfWindow(HWND window);

// In a test body: skip on Windows, saying why only Wine makes the check possible.
#define SKIP_UNLESS_WINE(why) \
  if (!RunsUnderWine()) GTEST_SKIP() << "not on Windows: " << why
