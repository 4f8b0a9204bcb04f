// xr_Dialogs_FolderSelector against Wine's real folder browser.
#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <climits>
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

TEST(FolderSelector, ShowsTheInstructionAtThePointAndReturnsThePreselectedFolder) {
  FolderDialogSeen seen =
      RunFolder({"Choose the output folder", "C:\\windows", "100", "50"}, true);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.instruction, L"Choose the output folder");
  EXPECT_EQ(seen.rect.left, 100);
  EXPECT_EQ(seen.rect.top, 50);
  EXPECT_TRUE(seen.okEnabled);
  EXPECT_EQ(RecordedVariables(), Chosen("C:\\windows"));
}

TEST(FolderSelector, EmptyTextsGiveNoInstructionAtTheOrigin) {
  FolderDialogSeen seen = RunFolder({nullptr, nullptr, nullptr, nullptr}, false);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.instruction, L"");
  EXPECT_EQ(seen.rect.left, 0);
  EXPECT_EQ(seen.rect.top, 0);
  EXPECT_EQ(RecordedVariables(), kCancelled);
}

TEST(FolderSelector, MinimumIntegerCentresOnTheWorkArea) {
  RECT work;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  FolderDialogSeen seen = RunFolder({"x", "C:\\", "-2147483648", "9"}, false);
  ASSERT_TRUE(seen.found);
  LONG w = seen.rect.right - seen.rect.left, h = seen.rect.bottom - seen.rect.top;
  EXPECT_EQ(seen.rect.left, work.right / 2 - w / 2);
  EXPECT_EQ(seen.rect.top, work.bottom / 2 - h / 2);
}

TEST(FolderSelector, RootOfADriveAndAChangedSelectionAreReturned) {
  RunFolder({"Pick", "C:\\", "0", "0"}, true);
  EXPECT_EQ(RecordedVariables(), Chosen("C:\\"));
  RunFolder({"Pick", "C:\\", "0", "0"}, true, L"C:\\windows\\system32");
  EXPECT_EQ(RecordedVariables(), Chosen("C:\\windows\\system32"));
}

TEST(FolderSelector, CancelReplacesAnEarlierPathWithAnEmptyText) {
  RunFolder({"Pick", "C:\\windows", "0", "0"}, true);
  ASSERT_EQ(RecordedVariables(), Chosen("C:\\windows"));
  RunFolder({"Pick", "C:\\windows", "0", "0"}, false);
  EXPECT_EQ(RecordedVariables(), kCancelled);
}

TEST(FolderSelector, CharactersOutsideTheCodePageComeBackAsItsDefault) {
  if (GetACP() != 1252) GTEST_SKIP() << "expects code page 1252, have " << GetACP();
  const wchar_t folder[] = L"C:\\vel_\u0416\u00e9";  // Cyrillic Zhe is not in 1252, e-acute is
  CreateDirectoryW(folder, nullptr);
  RunFolder({"Pick", "C:\\", "0", "0"}, true, folder);
  RemoveDirectoryW(folder);
  EXPECT_EQ(RecordedVariables(), Chosen("C:\\vel_?\xe9"));
}

TEST(FolderSelector, HostileTextsOpenTheDialogAndEndAsDocumented) {
  const std::string huge(65536, 'A');
  const std::string hugePath = "C:\\" + std::string(65533, 'b');
  struct Case { const char *title, *folder, *x, *y; } cases[] = {
      {huge.c_str(), "C:\\windows", "0", "0"},
      {"t", hugePath.c_str(), "0", "0"},
      {"\xff\xfe\x80", "C:\\\xff\x81", "1e400", "-1e400"},
      {"t", "not a path at all", "99999999999", "abc"},
  };
  for (const Case& c : cases) {
    FolderDialogSeen seen = RunFolder({c.title, c.folder, c.x, c.y}, false);
    EXPECT_TRUE(seen.found);
    EXPECT_EQ(RecordedVariables(), kCancelled);
  }
  // A start folder that names nothing leaves the selection to the system;
  // whatever it is, OK reports it as a choice.
  RunFolder({"t", hugePath.c_str(), "0", "0"}, true, L"C:\\windows");
  EXPECT_EQ(RecordedVariables(), Chosen("C:\\windows"));
}
