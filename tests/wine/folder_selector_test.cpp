// xr_Dialogs_FolderSelector against Wine's real folder browser.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <climits>
#include <cstdio>
#include <string>

#include "rig/driver.h"
#include "rig/plugin.h"
#include "rig/recorder.h"

namespace {

constexpr int kInstructionText = 0x3742;
constexpr wchar_t kBrowseTitle[] = L"Browse for Folder";

using Vars = std::vector<std::pair<std::string, std::string>>;

struct FolderDialogSeen {
  bool found = false;
  RECT rect = {};
  std::wstring instruction;
  bool okEnabled = false;
};

// Runs the folder action; the driver reads the dialog, optionally moves the
// selection to `select` (a UTF-16 path) and presses OK, or cancels.
FolderDialogSeen RunFolder(std::initializer_list<const char*> parameters, bool accept,
                           const wchar_t* select = nullptr) {
  FolderDialogSeen seen;
  Driver driver([&] {
    HWND dialog = WaitForWindow(L"#32770", kBrowseTitle);
    if (!dialog) return;
    seen.found = true;
    Sleep(50);
    seen.rect = WindowRect(dialog);
    seen.instruction = TextOf(GetDlgItem(dialog, kInstructionText));
    if (select)
      SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(select));
    seen.okEnabled = IsWindowEnabled(GetDlgItem(dialog, IDOK));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(accept ? IDOK : IDCANCEL, BN_CLICKED), 0);
    if (!WaitForGone(dialog)) CancelAllDialogs();
  });
  ClearHostCalls();
  EXPECT_EQ(Exec(3, parameters), 1u);
  driver.Join();
  return seen;
}

Vars Chosen(const char* path) {
  return {{"xr_Dialogs_FolderSelected_Status", "True"}, {"xr_Dialogs_FolderSelected", path}};
}

const Vars kCancelled = {{"xr_Dialogs_FolderSelected_Status", "False"},
                         {"xr_Dialogs_FolderSelected", "<null>"}};

}  // namespace

TEST(FolderSelector, Probe) {
  FolderDialogSeen seen = RunFolder({"Choose the output folder", "C:\\windows", "100", "50"}, true);
  printf("found=%d instr=%ls rect=%ld,%ld ok=%d\n", seen.found, seen.instruction.c_str(),
         seen.rect.left, seen.rect.top, seen.okEnabled);
  for (auto& v : RecordedVariables()) printf("%s=%s\n", v.first.c_str(), v.second.c_str());
}
