// xr_Dialogs_OpenFile and xr_Dialogs_SaveFile against Wine's real file dialogs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "rig/code_page.h"
#include "rig/driver.h"
#include "rig/system_file_dialog.h"
#include "rig/platform.h"
#include "rig/plugin.h"
#include "rig/recorder.h"
#include "rig/short_path.h"

namespace {

constexpr int kOpenFile = 6, kSaveFile = 7;
// The frame's file-type combo and file-name box.
constexpr int kTypeCombo = 0x470, kNameBox = 0x47c;
// A folder the tests own, so that nothing depends on where Wine last looked,
// in the user's temporary folder, which needs no administrator.
const std::wstring kFolderW = TempFolderW() + L"\\VelFilesTest";
const std::string kFolderText = TempFolderA() + "\\VelFilesTest";
const char* const kFolder = kFolderText.c_str();

using Vars = std::vector<std::pair<std::string, std::string>>;

struct FileDialogSeen {
  bool found = false;
  bool closed = false;  // closed by the one OK or Cancel, with no question between
  RECT frame = {};
  std::wstring title;
  std::vector<std::wstring> types;
  int selectedType = -1;
  std::wstring shownName;
};

// What the driver does once it has read the dialog: cancel, or press OK
// after typing a name (or with the name shown, when typed is empty).
struct Answer {
  bool accept;
  std::wstring typed;
  const wchar_t* moveCurrentDirectoryTo = nullptr;  // as browsing does on Windows
};
const Answer kCancel = {false, L""};
Answer Accept(const std::wstring& typed = L"") { return {true, typed}; }

FileDialogSeen RunFileAction(int32_t id, std::initializer_list<const char*> parameters,
                             const Answer& answer) {
  FileDialogSeen seen;
  Driver driver([&] {
    HWND frame = WaitForWindow(L"#32770");
    if (!frame) return;
    seen.found = true;
    Sleep(150);
    seen.frame = WindowRect(frame);
    seen.title = TextOf(frame);
    if (HWND types = FindDescendant(frame, kTypeCombo)) {
      LRESULT count = SendMessageW(types, CB_GETCOUNT, 0, 0);
      for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(SendMessageW(types, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
        text.resize(SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&text[0])));
        seen.types.push_back(text);
      }
      seen.selectedType = static_cast<int>(SendMessageW(types, CB_GETCURSEL, 0, 0));
    }
    HWND nameBox = FindDescendant(frame, kNameBox);
    if (nameBox) seen.shownName = TextOf(nameBox);
    if (answer.moveCurrentDirectoryTo) SetCurrentDirectoryW(answer.moveCurrentDirectoryTo);
    if (answer.accept) {
      if (!answer.typed.empty() && nameBox) SetWindowTextW(nameBox, answer.typed.c_str());
      PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(frame, IDOK)));
    } else {
      PostMessageW(frame, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                   reinterpret_cast<LPARAM>(GetDlgItem(frame, IDCANCEL)));
    }
    seen.closed = WaitForGone(frame, 5000);
    for (int i = 0; i < 3 && !ProcessWindows(L"#32770").empty(); ++i) {
      CancelAllDialogs();
      Sleep(300);
    }
  });
  ClearHostCalls();
  EXPECT_EQ(Exec(id, parameters), 1u);
  driver.Join();
  return seen;
}

Vars Chosen(int32_t id, const std::string& path) {
  const char* prefix = id == kOpenFile ? "xr_Dialogs_OpenFile_" : "xr_Dialogs_SaveFile_";
  return {{prefix + std::string("Status"), "True"}, {prefix + std::string("Selected"), path}};
}

Vars Cancelled(int32_t id) {
  const char* prefix = id == kOpenFile ? "xr_Dialogs_OpenFile_" : "xr_Dialogs_SaveFile_";
  return {{prefix + std::string("Status"), "False"}, {prefix + std::string("Selected"), "<null>"}};
}

std::string InFolder(const std::string& name) { return std::string(kFolder) + "\\" + name; }

class FileDialogs : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    CreateDirectoryA(kFolder, nullptr);
    // Windows opens the folder the user last picked in place of the one
    // asked for when that is the first folder this program ever passed:
    // the first call, in every run, goes to a folder no test uses.
    const std::string first = TempFolderA();
    RunFileAction(kOpenFile, {nullptr, first.c_str(), nullptr, nullptr}, kCancel);
    HANDLE file = CreateFileA(InFolder("existing.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    CloseHandle(file);
  }
  static void TearDownTestSuite() { RemoveTree(kFolderW); }
};

// Under Wine without a window manager a dialog starts at the screen's origin
// anyway; this guard moves the test thread's top-level dialogs away as they
// begin to initialise, so only the action's own move brings them to (0, 0).
class StartDialogsAwayFromOrigin {
 public:
  StartDialogsAwayFromOrigin()
      : hook_(SetWindowsHookExW(WH_CALLWNDPROC, Displace, nullptr, GetCurrentThreadId())) {}
  ~StartDialogsAwayFromOrigin() {
    if (hook_) UnhookWindowsHookEx(hook_);
  }
  bool installed() const { return hook_ != nullptr; }

 private:
  static LRESULT CALLBACK Displace(int code, WPARAM wParam, LPARAM lParam) {
    const CWPSTRUCT* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->message == WM_INITDIALOG &&
        !(GetWindowLongW(call->hwnd, GWL_STYLE) & WS_CHILD) && ClassOf(call->hwnd) == L"#32770")
      SetWindowPos(call->hwnd, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  HHOOK hook_;
};

}  // namespace

TEST_F(FileDialogs, BothDialogsOpenAtTheScreenOriginWithGivenOrDefaultTitles) {
  const SpeltText odd = NonAsciiInCodePage();
  ASSERT_FALSE(odd.empty()) << "code page " << GetACP();
  const std::string oddTitle = "Bilder f" + odd.ansi + "r";
  // The system names its dialogs in the user's language.
  const std::wstring openTitle = SystemFileDialogTitle(false), saveTitle = SystemFileDialogTitle(true);
  ASSERT_NE(openTitle, L"");
  ASSERT_NE(saveTitle, L"");
  struct Case { int32_t id; const char* title; std::wstring shown; } cases[] = {
      {kOpenFile, "Pick a picture", L"Pick a picture"}, {kOpenFile, nullptr, openTitle},
      {kSaveFile, oddTitle.c_str(), L"Bilder f" + odd.wide + L"r"}, {kSaveFile, nullptr, saveTitle}};
  StartDialogsAwayFromOrigin displaced;
  ASSERT_TRUE(displaced.installed());
  for (const Case& c : cases) {
    FileDialogSeen seen = RunFileAction(c.id, {c.title, kFolder, nullptr, nullptr}, kCancel);
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(seen.frame.left, 0);
    EXPECT_EQ(seen.frame.top, 0);
    EXPECT_EQ(seen.title, c.shown);
    EXPECT_TRUE(seen.closed);
    EXPECT_EQ(RecordedVariables(), Cancelled(c.id));
  }
}

TEST_F(FileDialogs, FilterTextsBecomeTheTypesOfTheTypeBox) {
  using Types = std::vector<std::wstring>;
  struct Case { const char* filter; Types types; } cases[] = {
      {"Pictures|*.jpg###All files|*.*", {L"Pictures", L"All files"}},
      {"Pictures|*.jpg|All files|*.*", {L"Pictures", L"All files"}},
      {"Pictures|*.jpg###All files|*.*###Texts|*.txt", {L"Pictures", L"All files", L"Texts"}},
      {"Pictures###Text", {L"Pictures"}},
      {nullptr, {}},
  };
  for (const Case& c : cases) {
    FileDialogSeen open = RunFileAction(kOpenFile, {nullptr, kFolder, c.filter, nullptr}, kCancel);
    FileDialogSeen save = RunFileAction(kSaveFile, {nullptr, kFolder, nullptr, c.filter}, kCancel);
    ASSERT_TRUE(open.found && save.found);
    const char* name = c.filter ? c.filter : "(empty)";
    EXPECT_EQ(open.types, c.types) << name;
    EXPECT_EQ(save.types, c.types) << name;
    if (!c.types.empty()) {
      EXPECT_EQ(open.selectedType, 0) << name;
    }
  }
}

TEST_F(FileDialogs, TheGivenNameIsShownAndAcceptedAsAFullPath) {
  FileDialogSeen seen = RunFileAction(kOpenFile, {nullptr, kFolder, nullptr, "report.txt"}, Accept());
  EXPECT_EQ(seen.shownName, L"report.txt");
  EXPECT_TRUE(seen.closed);
  EXPECT_EQ(RecordedVariables(), Chosen(kOpenFile, InFolder("report.txt")));

  seen = RunFileAction(kSaveFile, {nullptr, kFolder, "report.txt", "Pictures|*.jpg"}, Accept());
  EXPECT_EQ(seen.shownName, L"report.txt");
  EXPECT_EQ(RecordedVariables(), Chosen(kSaveFile, InFolder("report.txt")));
}

TEST_F(FileDialogs, OpenAcceptsATypedNameOfNoExistingFile) {
  RunFileAction(kOpenFile, {nullptr, kFolder, "Pictures|*.jpg", nullptr}, Accept(L"missing.jpg"));
  EXPECT_EQ(RecordedVariables(), Chosen(kOpenFile, InFolder("missing.jpg")));
  EXPECT_EQ(GetFileAttributesA(InFolder("missing.jpg").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(FileDialogs, SaveTakesAnExistingFileWithoutAskingAndAddsNoExtension) {
  FileDialogSeen seen = RunFileAction(kSaveFile, {nullptr, kFolder, "existing.txt", nullptr}, Accept());
  EXPECT_TRUE(seen.closed) << "an overwrite question held the dialog open";
  EXPECT_EQ(RecordedVariables(), Chosen(kSaveFile, InFolder("existing.txt")));

  RunFileAction(kSaveFile, {nullptr, kFolder, nullptr, "Pictures|*.jpg###All files|*.*"},
                Accept(L"report"));
  EXPECT_EQ(RecordedVariables(), Chosen(kSaveFile, InFolder("report")));
}

TEST_F(FileDialogs, AnEmptyFolderMeansTheCurrentDirectoryWhichIsKept) {
  char before[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, before);
  // Not the folder the other tests use, which Wine would remember without one.
  const std::string current = InFolder("current");
  CreateDirectoryA(current.c_str(), nullptr);
  ASSERT_TRUE(SetCurrentDirectoryA(current.c_str()));
  RunFileAction(kOpenFile, {nullptr, kFolder, nullptr, nullptr}, Accept(L"first.txt"));
  RunFileAction(kOpenFile, {nullptr, nullptr, nullptr, nullptr}, Accept(L"bare.txt"));
  EXPECT_EQ(RecordedVariables(), Chosen(kOpenFile, current + "\\bare.txt"));
  // A full path elsewhere; Windows asks before saving where a user may not write.
  RunFileAction(kSaveFile, {nullptr, nullptr, nullptr, nullptr}, Accept(TempFolderW() + L"\\x.txt"));
  EXPECT_EQ(RecordedVariables(), Chosen(kSaveFile, TempFolderA() + "\\x.txt"));
  // Moved while a dialog is open, it is back where the host had it afterwards.
  const std::wstring windows = WindowsFolderW();
  for (int32_t id : {kOpenFile, kSaveFile}) {
    Answer moving = Accept(L"moved.txt");
    moving.moveCurrentDirectoryTo = windows.c_str();
    RunFileAction(id, {nullptr, kFolder, nullptr, nullptr}, moving);
    EXPECT_EQ(RecordedVariables(), Chosen(id, InFolder("moved.txt")));
    char now[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, now);
    EXPECT_EQ(now, current) << id;
  }
  char after[MAX_PATH] = {};
  GetCurrentDirectoryA(MAX_PATH, after);
  EXPECT_EQ(after, current) << "the dialog moved the current directory";
  SetCurrentDirectoryA(before);
}

TEST_F(FileDialogs, CancelReportsFalseAndANullValueAfterAnEarlierChoice) {
  // The name stays in the dialog's buffer on cancel; it must not be reported.
  for (int32_t id : {kOpenFile, kSaveFile}) {
    auto runWithName = [id](const Answer& answer) {
      return id == kOpenFile ? RunFileAction(id, {nullptr, kFolder, nullptr, "a.txt"}, answer)
                             : RunFileAction(id, {nullptr, kFolder, "a.txt", nullptr}, answer);
    };
    runWithName(Accept());
    EXPECT_EQ(RecordedVariables(), Chosen(id, InFolder("a.txt")));
    FileDialogSeen seen = runWithName(kCancel);
    EXPECT_TRUE(seen.closed);
    EXPECT_EQ(seen.shownName, L"a.txt");
    EXPECT_EQ(RecordedVariables(), Cancelled(id));
  }
}

TEST_F(FileDialogs, PathsTravelThroughTheSystemCodePage) {
  const std::wstring missing = MissingFromCodePage(5);
  if (missing.size() < 5) GTEST_SKIP() << "code page " << GetACP() << " lacks too few of the characters tried";
  const std::string defaultChar(1, CodePageDefaultChar());
  // Characters outside the code page come back as its default character.
  RunFileAction(kOpenFile, {nullptr, kFolder, nullptr, nullptr},
                Accept(missing.substr(0, 4) + L"-" + missing.substr(4) + L".txt"));
  EXPECT_EQ(RecordedVariables(),
            Chosen(kOpenFile, InFolder(std::string(4, defaultChar[0]) + "-" + defaultChar + ".txt")));

  // A character with a look-alike in the code page comes back as the default
  // character too: the look-alike would name another, existing file.
  const std::wstring lookAlike = MissingFromCodePage(1, true);
  if (!lookAlike.empty()) {
    std::string lookAlikeBytes(2, '\0');
    lookAlikeBytes.resize(WideCharToMultiByte(CP_ACP, 0, lookAlike.c_str(), 1, &lookAlikeBytes[0],
                                              2, nullptr, nullptr));
    CloseHandle(CreateFileA(InFolder(lookAlikeBytes + "-x.txt").c_str(), GENERIC_WRITE, 0, nullptr,
                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    RunFileAction(kSaveFile, {nullptr, kFolder, nullptr, nullptr}, Accept(lookAlike + L"-x.txt"));
    EXPECT_EQ(RecordedVariables(), Chosen(kSaveFile, InFolder(defaultChar + "-x.txt")));
  }

  // Inside it: a folder named with high-bit bytes goes in and comes back unchanged.
  const SpeltText odd = NonAsciiInCodePage();
  ASSERT_FALSE(odd.empty());
  std::string folder = InFolder("d" + odd.ansi + "j");
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string name = "caf" + odd.ansi + ".txt";
  RunFileAction(kSaveFile, {nullptr, folder.c_str(), name.c_str(), nullptr}, Accept());
  EXPECT_EQ(RecordedVariables(), Chosen(kSaveFile, folder + "\\" + name));
}

TEST_F(FileDialogs, NamesOutsideTheCodePageComeBackAsShortPathsThatOpen) {
  const std::wstring missing = MissingFromCodePage(5);
  if (missing.size() < 5) GTEST_SKIP() << "code page " << GetACP() << " lacks too few of the characters tried";
  // An existing file: its own short path.
  const std::wstring file = kFolderW + L"\\" + missing.substr(0, 4) + L"-" + missing.substr(4) + L".txt";
  CloseHandle(CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  const std::string fileShort = ShortPathInCodePage(file);
  ASSERT_FALSE(fileShort.empty());
  if (!HasShortName(file)) {
    DeleteFileW(file.c_str());
    GTEST_SKIP() << "the volume keeps no 8.3 names: GetShortPathNameW gives the long form";
  }
  RunFileAction(kOpenFile, {nullptr, kFolder, nullptr, nullptr}, Accept(file));
  EXPECT_EQ(RecordedVariables(), Chosen(kOpenFile, fileShort));
  HANDLE opened = CreateFileA(fileShort.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(opened, INVALID_HANDLE_VALUE);
  CloseHandle(opened);
  DeleteFileW(file.c_str());

  // A new name in a folder that the code page cannot spell: the folder's
  // short path and the name.
  const std::wstring folder = kFolderW + L"\\" + missing.substr(0, 1) + L"urnal";
  CreateDirectoryW(folder.c_str(), nullptr);
  const std::string folderShort = ShortPathInCodePage(folder);
  ASSERT_FALSE(folderShort.empty());
  RunFileAction(kSaveFile, {nullptr, kFolder, nullptr, nullptr}, Accept(folder + L"\\new.txt"));
  const std::string saved = folderShort + "\\new.txt";
  EXPECT_EQ(RecordedVariables(), Chosen(kSaveFile, saved));
  HANDLE created = CreateFileA(saved.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
  EXPECT_NE(created, INVALID_HANDLE_VALUE);
  CloseHandle(created);
  DeleteFileW((folder + L"\\new.txt").c_str());
  RemoveDirectoryW(folder.c_str());
}

TEST_F(FileDialogs, HugeTextsAndSeparatorOnlyFiltersDoNotCrash) {
  const std::string huge(64 * 1024, 'T');
  std::string hugeFolder = std::string(kFolder) + "\\" + std::string(64 * 1024, 'f');

  FileDialogSeen seen = RunFileAction(kOpenFile, {huge.c_str(), kFolder, nullptr, huge.c_str()}, kCancel);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.shownName, std::wstring(259, L'T'));
  EXPECT_EQ(seen.title.substr(0, 10), std::wstring(10, L'T'));
  EXPECT_EQ(RecordedVariables(), Cancelled(kOpenFile));

  for (int32_t id : {kOpenFile, kSaveFile}) {
    seen = RunFileAction(id, {nullptr, hugeFolder.c_str(), nullptr, nullptr},
                         Accept(kFolderW + L"\\long.txt"));
    ASSERT_TRUE(seen.found);
    EXPECT_EQ(RecordedVariables(), Chosen(id, InFolder("long.txt")));
  }

  const std::string bars(64 * 1024, '|');
  std::string hashes;
  while (hashes.size() < 64 * 1024) hashes += "###";
  for (const char* filter : {bars.c_str(), hashes.c_str()}) {
    seen = RunFileAction(kOpenFile, {nullptr, kFolder, filter, nullptr}, Accept(L"f.txt"));
    ASSERT_TRUE(seen.found);
    EXPECT_TRUE(seen.types.empty());
    EXPECT_EQ(RecordedVariables(), Chosen(kOpenFile, InFolder("f.txt")));
  }
}
