#include "rig/dialog_closer.h"

#include <map>

#include "rig/driver.h"

namespace {
constexpr int kDoneButtonId = 100;
constexpr int kCalendarControlId = 20;
constexpr int kFirstBoxId = 120;
constexpr DWORD kPollMs = 10;
// A dialog still open this long after being told is told again (a message
// posted while it was still being built may not have reached it).
constexpr DWORD kRetellMs = 1000;
}  // namespace

HWND DoneButtonOf(HWND dialog) {
  HWND button = GetDlgItem(dialog, kDoneButtonId);
  return button && ClassOf(button) == L"Button" && TextOf(button) == L"Done" ? button : nullptr;
}

bool IsCalendarFrameWindow(HWND dialog) {
  HWND control = GetDlgItem(dialog, kCalendarControlId);
  return control && ClassOf(control) == L"SysMonthCal32";
}

DialogCloser::DialogCloser(EditorEnding ending) : ending_(ending), thread_([this] { Run(); }) {}

DialogCloser::~DialogCloser() { Stop(); }

void DialogCloser::Stop() {
  stop_ = true;
  if (thread_.joinable()) thread_.join();
}

void DialogCloser::Run() {
  // When each window was told; a handle value that comes back later is a new
  // dialog only once the old one is gone, so handles that died are dropped.
  std::map<HWND, DWORD> told;
  while (!stop_) {
    for (auto it = told.begin(); it != told.end();) it = IsWindow(it->first) ? std::next(it) : told.erase(it);
    for (HWND dialog : ProcessWindows(L"#32770")) {
      auto seen = told.find(dialog);
      bool retell = seen != told.end() && GetTickCount() - seen->second >= kRetellMs;
      if ((seen != told.end() && !retell) || IsCalendarFrameWindow(dialog)) continue;
      if (HWND done = DoneButtonOf(dialog)) {
        if (ending_ == EditorEnding::Done) {
          // Marks the first parameter, so that a hand-back can be told from
          // cells left alone.
          SetDlgItemTextW(dialog, kFirstBoxId, kDoneMark);
          PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(kDoneButtonId, BN_CLICKED),
                       reinterpret_cast<LPARAM>(done));
        } else {
          PostMessageW(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        if (!retell) ++editorsEnded_;
      } else {
        PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        if (!retell) ++dialogsCancelled_;
      }
      told[dialog] = GetTickCount();
    }
    Sleep(kPollMs);
  }
}
