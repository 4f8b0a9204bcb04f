// Runs as nt4_host.exe, for which the test prefix makes Wine report Windows
// NT 4.0: the file dialogs then get the shorter, pre-Windows 2000 record and
// must still open where asked, take a typed name and report it.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "rig/driver.h"
#include "rig/system_file_dialog.h"
#include "rig/platform.h"
#include "rig/plugin.h"
#include "rig/recorder.h"

namespace {

using Vars = std::vector<std::pair<std::string, std::string>>;

// Wine's file dialogs take the name in cmb13, or in edt1 when they are
// given the older record.
constexpr int kFileNameCombo = 0x47c, kFileNameEdit = 0x480;

struct FileDialogSeen {
  bool found = false;
  RECT rect = {};
  std::wstring title;
  bool nameBox = false;
  // Wine lays the dialog out with edt1 only when handed the older record.
  bool olderRecordLayout = false;
};

// Types name into the dialog's name box and presses its OK button, or
// cancels when name is null.
FileDialogSeen RunFileAction(int id, const char* title, const wchar_t* name) {
  FileDialogSeen seen;
  Driver driver([&] {
    HWND frame = WaitForWindow(L"#32770");
    if (!frame) return;
    seen.found = true;
    Sleep(50);
    seen.rect = WindowRect(frame);
    seen.title = TextOf(frame);
    HWND nameBox = FindDescendant(frame, kFileNameCombo);
    seen.olderRecordLayout = !nameBox && FindDescendant(frame, kFileNameEdit);
    if (!nameBox) nameBox = FindDescendant(frame, kFileNameEdit);
    seen.nameBox = nameBox != nullptr;
    if (name && nameBox) {
      SetWindowTextW(nameBox, name);
      PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(frame, IDOK)));
    } else {
      PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    if (!WaitForGone(frame)) CancelAllDialogs();
  });
  ClearHostCalls();
  if (id == 6) EXPECT_EQ(Exec(6, {title, "C:\\windows", "Text|*.txt###All|*.*", nullptr}), 1u);
  else EXPECT_EQ(Exec(7, {title, "C:\\windows", nullptr, "Text|*.txt"}), 1u);
  driver.Join();
  return seen;
}

}  // namespace

// Windows itself reports its own version, so these hosts mean nothing there.
constexpr char kOnlyUnderWine[] = "Windows NT 4.0 is what the test Wine prefix makes this program see";

TEST(WindowsNt4, TheSystemReallyReportsAVersionBelowFive) {
  SKIP_UNLESS_WINE(kOnlyUnderWine);
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  ASSERT_TRUE(GetVersionExA(&version));
  EXPECT_EQ(version.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
  EXPECT_LT(version.dwMajorVersion, 5u);
}

TEST(WindowsNt4, OpenTakesATypedNameAtTheScreenCorner) {
  SKIP_UNLESS_WINE(kOnlyUnderWine);
  ASSERT_NE(Plugin::Get().execAction, nullptr);
  FileDialogSeen seen = RunFileAction(6, "Open on NT 4", L"C:\\windows\\nt4_open.txt");
  ASSERT_TRUE(seen.found);
  EXPECT_TRUE(seen.nameBox);
  EXPECT_TRUE(seen.olderRecordLayout);
  EXPECT_EQ(seen.title, L"Open on NT 4");
  EXPECT_EQ(seen.rect.left, 0);
  EXPECT_EQ(seen.rect.top, 0);
  EXPECT_EQ(RecordedVariables(), (Vars{{"xr_Dialogs_OpenFile_Status", "True"},
                                       {"xr_Dialogs_OpenFile_Selected", "C:\\windows\\nt4_open.txt"}}));
}

TEST(WindowsNt4, SaveTakesATypedNameAtTheScreenCorner) {
  SKIP_UNLESS_WINE(kOnlyUnderWine);
  const std::wstring defaultTitle = SystemFileDialogTitle(true);  // in the user's language
  ASSERT_NE(defaultTitle, L"");
  FileDialogSeen seen = RunFileAction(7, nullptr, L"C:\\windows\\nt4_save");
  ASSERT_TRUE(seen.found);
  EXPECT_TRUE(seen.olderRecordLayout);
  EXPECT_EQ(seen.title, defaultTitle);
  EXPECT_EQ(seen.rect.left, 0);
  EXPECT_EQ(seen.rect.top, 0);
  EXPECT_EQ(RecordedVariables(), (Vars{{"xr_Dialogs_SaveFile_Status", "True"},
                                       {"xr_Dialogs_SaveFile_Selected", "C:\\windows\\nt4_save"}}));
}

TEST(WindowsNt4, CancelStillReportsFalseAndAnEmptyPath) {
  SKIP_UNLESS_WINE(kOnlyUnderWine);
  for (int id : {6, 7}) {
    FileDialogSeen seen = RunFileAction(id, nullptr, nullptr);
    ASSERT_TRUE(seen.found);
    std::string prefix = id == 6 ? "xr_Dialogs_OpenFile_" : "xr_Dialogs_SaveFile_";
    EXPECT_EQ(RecordedVariables(), (Vars{{prefix + "Status", "False"}, {prefix + "Selected", "<null>"}}));
  }
}
