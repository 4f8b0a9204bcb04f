// A driver that ends every dialog this process shows, whatever action shows
// it, until it is stopped: common dialogs are cancelled; editors, which
// ignore IDCANCEL, are ended with "Done" or with the Close command.
#pragma once
#include <windows.h>

#include <atomic>
#include <thread>

enum class EditorEnding { Close, Done };
// What the closer types into an editor's first input box before "Done".
constexpr wchar_t kDoneMark[] = L"done by the closer";

class DialogCloser {
 public:
  explicit DialogCloser(EditorEnding ending = EditorEnding::Close);
  ~DialogCloser();
  DialogCloser(const DialogCloser&) = delete;
  DialogCloser& operator=(const DialogCloser&) = delete;

  // Ends the driver; the counts are final afterwards.
  void Stop();
  int dialogsCancelled() const { return dialogsCancelled_; }
  int editorsEnded() const { return editorsEnded_; }

 private:
  void Run();

  EditorEnding ending_;
  std::atomic<bool> stop_{false};
  std::atomic<int> dialogsCancelled_{0};
  std::atomic<int> editorsEnded_{0};
  std::thread thread_;
};

// The editor's "Done" button when the window is an editor, else null.
HWND DoneButtonOf(HWND dialog);
// True for a calendar frame (it holds the month-calendar control).
bool IsCalendarFrameWindow(HWND dialog);
