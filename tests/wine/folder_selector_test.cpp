// xr_Dialogs_FolderSelector against Wine's real folder browser.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <commctrl.h>

#include <climits>
#include <cstdio>
#include <cwchar>
#include <string>

#include "rig/code_page.h"
#include "rig/driver.h"
#include "rig/platform.h"
#include "rig/plugin.h"
#include "rig/recorder.h"
#include "rig/short_path.h"

namespace {

constexpr int kFolderTree = 0x3741, kInstructionText = 0x3742;
// Only the new-style browser has it.
constexpr int kMakeNewFolderButton = 14150;

using Vars = std::vector<std::pair<std::string, std::string>>;

// Windows need not live in C:\windows.
const std::string kWindows = WindowsFolderA();
const std::wstring kWindowsW = WindowsFolderW();
const std::string kSystem = SystemFolderA();
const std::wstring kSystemW(kSystem.begin(), kSystem.end());
const std::string kDriveRoot = SystemDriveRootA();

struct FolderDialogSeen {
  bool found = false;
  RECT rect = {};
  std::wstring instruction;
  bool okEnabled = false;
  bool newStyle = false;
  // What the action's browse callback asked of OK while the driver's
  // selection was made (Wine greys OK on its own; Windows does not).
  std::vector<LPARAM> enableOkRequests;
};

std::vector<LPARAM> g_enableOkRequests;
WNDPROC g_browseProc = nullptr;

LRESULT CALLBACK RecordEnableOk(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == BFFM_ENABLEOK) g_enableOkRequests.push_back(lParam);
  return CallWindowProcW(g_browseProc, dialog, message, wParam, lParam);
}

// The text of the tree's selected item.
std::wstring SelectedItemText(HWND tree) {
  wchar_t text[MAX_PATH] = {};
  TVITEMW item = {};
  item.mask = TVIF_TEXT;
  item.hItem = reinterpret_cast<HTREEITEM>(SendMessageW(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
  item.pszText = text;
  item.cchTextMax = MAX_PATH;
  if (!item.hItem || !SendMessageW(tree, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item))) return L"";
  return text;
}

// Moves the selection to path as the user would. A folder several levels
// down may not be listed yet while the tree is still filling in, and the
// request then leaves the selection where it was: it is repeated until the
// folder's item is the selected one (by its name, in any case).
void SelectFolder(HWND dialog, const wchar_t* path) {
  const wchar_t* leaf = wcsrchr(path, L'\\');
  leaf = leaf ? leaf + 1 : path;
  HWND tree = FindDescendant(dialog, kFolderTree);
  for (int attempt = 0; attempt < 20; ++attempt) {
    SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(path));
    if (!tree || _wcsicmp(SelectedItemText(tree).c_str(), leaf) == 0) return;
    Sleep(100);
  }
}

// Runs the folder action; the driver reads the dialog, optionally moves the
// selection to `select` (a UTF-16 path) and presses OK, or cancels.
FolderDialogSeen RunFolder(std::initializer_list<const char*> parameters, bool accept,
                           const wchar_t* select = nullptr, PCIDLIST_ABSOLUTE selectItem = nullptr) {
  FolderDialogSeen seen;
  const DWORD thread = GetCurrentThreadId();
  Driver driver([&] {
    HWND dialog = WaitForDialogWith(thread, kFolderTree, L"SysTreeView32");
    if (!dialog) return;
    seen.found = true;
    Sleep(50);
    seen.rect = WindowRect(dialog);
    seen.instruction = TextOf(GetDlgItem(dialog, kInstructionText));
    seen.newStyle = FindDescendant(dialog, kMakeNewFolderButton) != nullptr;
    if (select) SelectFolder(dialog, select);
    if (selectItem) {
      g_enableOkRequests.clear();
      g_browseProc = reinterpret_cast<WNDPROC>(
          SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordEnableOk)));
      SendMessageW(dialog, BFFM_SETSELECTIONW, FALSE, reinterpret_cast<LPARAM>(selectItem));
      SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_browseProc));
      seen.enableOkRequests = g_enableOkRequests;
    }
    seen.okEnabled = IsWindowEnabled(GetDlgItem(dialog, IDOK));
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(accept ? IDOK : IDCANCEL, BN_CLICKED), 0);
    if (!WaitForGone(dialog)) CancelAllDialogs();
  });
  ClearHostCalls();
  EXPECT_EQ(Exec(3, parameters), 1u);
  driver.Join();
  return seen;
}

// Windows reports a folder as its disk spells it ("C:\\Windows"), Wine as it
// was asked for: on Windows the paths are compared without case.
std::string Folded(std::string path) {
  if (!RunsUnderWine() && !path.empty()) CharLowerBuffA(&path[0], static_cast<DWORD>(path.size()));
  return path;
}

Vars Reported() {
  Vars reported = RecordedVariables();
  for (auto& variable : reported) variable.second = Folded(variable.second);
  return reported;
}

Vars Chosen(const std::string& path) {
  return {{"xr_Dialogs_FolderSelected_Status", "True"}, {"xr_Dialogs_FolderSelected", Folded(path)}};
}

const Vars kCancelled = {{"xr_Dialogs_FolderSelected_Status", "False"},
                         {"xr_Dialogs_FolderSelected", "<null>"}};

}  // namespace

TEST(FolderSelector, ShowsTheInstructionAtThePointAndReturnsThePreselectedFolder) {
  FolderDialogSeen seen =
      RunFolder({"Choose the output folder", kWindows.c_str(), "100", "50"}, true);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.instruction, L"Choose the output folder");
  EXPECT_EQ(seen.rect.left, 100);
  EXPECT_EQ(seen.rect.top, 50);
  EXPECT_TRUE(seen.okEnabled);
  EXPECT_TRUE(seen.newStyle);
  EXPECT_EQ(Reported(), Chosen(kWindows));
}

// An item without a file-system path cannot be reported, so OK stays greyed.
TEST(FolderSelector, OkIsGreyedOnAFolderWithoutAFileSystemPath) {
  PIDLIST_ABSOLUTE computer = nullptr;
  ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
  FolderDialogSeen seen = RunFolder({"Pick", kWindows.c_str(), "0", "0"}, false, nullptr, computer);
  CoTaskMemFree(computer);
  ASSERT_TRUE(seen.found);
  EXPECT_FALSE(seen.okEnabled);
  ASSERT_FALSE(seen.enableOkRequests.empty());
  for (LPARAM enable : seen.enableOkRequests) EXPECT_EQ(enable, FALSE);
  EXPECT_EQ(Reported(), kCancelled);
}

TEST(FolderSelector, EmptyTextsGiveNoInstructionAtTheOrigin) {
  FolderDialogSeen seen = RunFolder({nullptr, nullptr, nullptr, nullptr}, false);
  ASSERT_TRUE(seen.found);
  EXPECT_EQ(seen.instruction, L"");
  EXPECT_EQ(seen.rect.left, 0);
  EXPECT_EQ(seen.rect.top, 0);
  EXPECT_EQ(Reported(), kCancelled);
}

TEST(FolderSelector, MinimumIntegerCentresOnTheWorkArea) {
  RECT work;
  ASSERT_TRUE(SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0));
  FolderDialogSeen seen = RunFolder({"x", kDriveRoot.c_str(), "-2147483648", "9"}, false);
  ASSERT_TRUE(seen.found);
  LONG w = seen.rect.right - seen.rect.left, h = seen.rect.bottom - seen.rect.top;
  EXPECT_EQ(seen.rect.left, work.right / 2 - w / 2);
  EXPECT_EQ(seen.rect.top, work.bottom / 2 - h / 2);
}

TEST(FolderSelector, RootOfADriveAndAChangedSelectionAreReturned) {
  RunFolder({"Pick", kDriveRoot.c_str(), "0", "0"}, true);
  EXPECT_EQ(Reported(), Chosen(kDriveRoot));
  RunFolder({"Pick", kDriveRoot.c_str(), "0", "0"}, true, kSystemW.c_str());
  EXPECT_EQ(Reported(), Chosen(kSystem));
}

TEST(FolderSelector, CancelReplacesAnEarlierPathWithAnEmptyText) {
  RunFolder({"Pick", kWindows.c_str(), "0", "0"}, true);
  ASSERT_EQ(Reported(), Chosen(kWindows));
  RunFolder({"Pick", kWindows.c_str(), "0", "0"}, false);
  EXPECT_EQ(Reported(), kCancelled);
}

TEST(FolderSelector, AFolderNamedOutsideTheCodePageComesBackAsItsShortPathWhichOpens) {
  const std::wstring missing = MissingFromCodePage(1);
  const SpeltText odd = NonAsciiInCodePage();
  if (missing.empty() || odd.empty())
    GTEST_SKIP() << "code page " << GetACP() << " has all or none of the characters tried";
  // Below the public documents, which the browse tree shows: the temporary
  // folder lies below AppData, which it may hide. Both folders are made
  // before the first dialog: the shell may keep the list of a folder's
  // children from one browse to the next.
  wchar_t shared[MAX_PATH] = {};
  ASSERT_EQ(SHGetFolderPathW(nullptr, CSIDL_COMMON_DOCUMENTS, nullptr, SHGFP_TYPE_CURRENT, shared), S_OK);
  std::string sharedA;
  ASSERT_TRUE(SpellInCodePage(shared, &sharedA)) << "the public documents' path is outside the code page";
  const std::wstring folder = std::wstring(shared) + L"\\vel_" + missing + odd.wide;
  const std::wstring spelt = std::wstring(shared) + L"\\vel_caf" + odd.wide + L" long name";
  struct Made {
    const std::wstring &a, &b;
    ~Made() {
      RemoveDirectoryW(a.c_str());
      RemoveDirectoryW(b.c_str());
    }
  } made{folder, spelt};
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  ASSERT_TRUE(CreateDirectoryW(spelt.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  // A name the code page spells keeps its long form.
  RunFolder({"Pick", kDriveRoot.c_str(), "0", "0"}, true, spelt.c_str());
  EXPECT_EQ(Reported(), Chosen(sharedA + "\\vel_caf" + odd.ansi + " long name"));

  if (!HasShortName(folder))
    GTEST_SKIP() << "the volume keeps no 8.3 names: GetShortPathNameW gives the long form";
  const std::string shortPath = ShortPathInCodePage(folder);
  RunFolder({"Pick", kDriveRoot.c_str(), "0", "0"}, true, folder.c_str());
  ASSERT_FALSE(shortPath.empty());
  EXPECT_EQ(Reported(), Chosen(shortPath.c_str()));
  DWORD attributes = GetFileAttributesA(shortPath.c_str());
  EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);
  EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

// Read by a timer that the dialog's own loop dispatches.
APTTYPE g_apartmentDuringDialog;
HRESULT g_apartmentQuery = E_FAIL;

void CALLBACK ReadApartmentType(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  APTTYPEQUALIFIER qualifier;
  g_apartmentQuery = CoGetApartmentType(&g_apartmentDuringDialog, &qualifier);
}

TEST(FolderSelector, TheDialogRunsInASingleThreadedApartmentThatTheThreadLeavesAgain) {
  APTTYPE type;
  APTTYPEQUALIFIER qualifier;
  ASSERT_EQ(CoGetApartmentType(&type, &qualifier), CO_E_NOTINITIALIZED);
  SetTimer(nullptr, 0, 20, ReadApartmentType);
  RunFolder({"Pick", kWindows.c_str(), "0", "0"}, false);
  EXPECT_EQ(g_apartmentQuery, S_OK);
  // The first single-threaded apartment of a process is its main one.
  EXPECT_TRUE(g_apartmentDuringDialog == APTTYPE_STA || g_apartmentDuringDialog == APTTYPE_MAINSTA)
      << g_apartmentDuringDialog;
  EXPECT_EQ(CoGetApartmentType(&type, &qualifier), CO_E_NOTINITIALIZED);

  // A thread of the multithreaded apartment keeps it and gets the classic
  // browser, which Windows, unlike the new style, shows there.
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
  FolderDialogSeen seen = RunFolder({"Pick", kWindows.c_str(), "0", "0"}, true);
  EXPECT_TRUE(seen.found);
  EXPECT_FALSE(seen.newStyle);
  EXPECT_EQ(Reported(), Chosen(kWindows));
  EXPECT_EQ(CoGetApartmentType(&type, &qualifier), S_OK);
  EXPECT_EQ(type, APTTYPE_MTA);
  CoUninitialize();
}

TEST(FolderSelector, HostileTextsOpenTheDialogAndEndAsDocumented) {
  const std::string huge(65536, 'A');
  const std::string hugePath = kDriveRoot + std::string(65533, 'b');
  struct Case { const char *title, *folder, *x, *y; } cases[] = {
      {huge.c_str(), kWindows.c_str(), "0", "0"},
      {"t", hugePath.c_str(), "0", "0"},
      {"\xff\xfe\x80", "C:\\\xff\x81", "1e400", "-1e400"},
      {"t", "not a path at all", "99999999999", "abc"},
  };
  for (const Case& c : cases) {
    FolderDialogSeen seen = RunFolder({c.title, c.folder, c.x, c.y}, false);
    EXPECT_TRUE(seen.found);
    EXPECT_EQ(Reported(), kCancelled);
  }
  // A start folder that names nothing leaves the selection to the system;
  // whatever it is, OK reports it as a choice.
  RunFolder({"t", hugePath.c_str(), "0", "0"}, true, kWindowsW.c_str());
  EXPECT_EQ(Reported(), Chosen(kWindows));
}

namespace {

// Counts the task-memory blocks alive among those made while it is
// registered: every item list that the shell hands out is one of them.
class TaskMemorySpy : public IMallocSpy {
 public:
  LONG live() const { return live_; }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (iid != IID_IUnknown && iid != IID_IMallocSpy) {
      *object = nullptr;
      return E_NOINTERFACE;
    }
    *object = this;
    return S_OK;
  }
  // Static for the test program's life: no count to keep.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override { return size; }
  void* STDMETHODCALLTYPE PostAlloc(void* block) override {
    if (block) InterlockedIncrement(&live_);
    return block;
  }
  void* STDMETHODCALLTYPE PreFree(void* block, BOOL spied) override {
    if (block && spied) InterlockedDecrement(&live_);
    return block;
  }
  void STDMETHODCALLTYPE PostFree(BOOL) override {}
  SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T size, void** newBlock, BOOL spied) override {
    if (block && spied) InterlockedDecrement(&live_);
    *newBlock = block;
    return size;
  }
  void* STDMETHODCALLTYPE PostRealloc(void* block, BOOL) override {
    if (block) InterlockedIncrement(&live_);
    return block;
  }
  void* STDMETHODCALLTYPE PreGetSize(void* block, BOOL) override { return block; }
  SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
  void* STDMETHODCALLTYPE PreDidAlloc(void* block, BOOL) override { return block; }
  int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int allocated) override { return allocated; }
  void STDMETHODCALLTYPE PreHeapMinimize() override {}
  void STDMETHODCALLTYPE PostHeapMinimize() override {}

 private:
  volatile LONG live_ = 0;
};

}  // namespace

// A leaked item list is a hundred bytes a pick: the soak's 1 % of memory
// never sees it, the live blocks do.
TEST(FolderSelector, AcceptedPicksLeaveNoItemListAndAThreadInAnApartmentKeepsItsCount) {
  constexpr int kPicks = 4;
  static TaskMemorySpy spy;
  ASSERT_EQ(CoRegisterMallocSpy(&spy), S_OK);
  RunFolder({"Pick", kWindows.c_str(), "0", "0"}, true);  // the shell fills its caches first
  const LONG before = spy.live();
  for (int i = 0; i < kPicks; ++i) {
    RunFolder({"Pick", kWindows.c_str(), "0", "0"}, true);
    EXPECT_EQ(Reported(), Chosen(kWindows));
  }
  const LONG grown = spy.live() - before;
  CoRevokeMallocSpy();
  EXPECT_LT(grown, kPicks) << "task-memory blocks left by " << kPicks << " accepted picks";
  std::printf("live task-memory blocks grew by %ld over %d accepted picks\n", grown, kPicks);

  // The library's own initialisation is undone; the thread's stays.
  ASSERT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_OK);
  RunFolder({"Pick", kWindows.c_str(), "0", "0"}, true);
  EXPECT_EQ(Reported(), Chosen(kWindows));
  APTTYPE type;
  APTTYPEQUALIFIER qualifier;
  EXPECT_EQ(CoGetApartmentType(&type, &qualifier), S_OK);
  CoUninitialize();
  EXPECT_EQ(CoGetApartmentType(&type, &qualifier), CO_E_NOTINITIALIZED);
}
