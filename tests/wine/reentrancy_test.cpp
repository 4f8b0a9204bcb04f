// The host calling back into the library while one of its modal loops runs
// (from a timer that the loop dispatches), and the host unloading the
// library, with its calendar stopped or still open.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <vector>

#include "rig/dialog_closer.h"
#include "rig/driver.h"
#include "rig/host_cells.h"
#include "rig/host_window.h"
#include "rig/month_calendar.h"
#include "rig/platform.h"
#include "rig/plugin.h"
#include "rig/recorder.h"

namespace {

using Vars = std::vector<std::pair<std::string, std::string>>;

constexpr UINT kTimerMs = 50;
constexpr DWORD kPickTimeoutMs = 3000;
constexpr int kCalendarControlId = 20;
constexpr int kColorRedEdit = 706, kColorGreenEdit = 707, kColorBlueEdit = 708;

const Vars kColorCancelled = {{"xr_Dialogs_ColorSelected_Status", "False"},
                              {"xr_Dialogs_ColorSelected_HEX", "<null>"},
                              {"xr_Dialogs_ColorSelected_RGB", "<null>"}};

struct OuterAction {
  int id;
  std::vector<const char*> parameters;
  Vars cancelled;
};

// Windows need not live in C:\windows.
const std::string kWindows = WindowsFolderA();

const OuterAction kOuterActions[] = {
    {1, {"Tahoma", "10", nullptr, "0", "0"},
     {{"xr_Dialogs_FontSelected_Status", "False"}, {"xr_Dialogs_FontSelected_Name", "<null>"},
      {"xr_Dialogs_FontSelected_Points", "<null>"}, {"xr_Dialogs_FontSelected_CharSet", "<null>"},
      {"xr_Dialogs_FontSelected_Style", "<null>"}, {"xr_Dialogs_FontColorSelected_HEX", "<null>"},
      {"xr_Dialogs_FontColorSelected_RGB", "<null>"}}},
    {2, {"0", "0"}, kColorCancelled},
    {3, {nullptr, nullptr, "0", "0"},
     {{"xr_Dialogs_FolderSelected_Status", "False"}, {"xr_Dialogs_FolderSelected", "<null>"}}},
    {6, {nullptr, kWindows.c_str(), nullptr, nullptr},
     {{"xr_Dialogs_OpenFile_Status", "False"}, {"xr_Dialogs_OpenFile_Selected", "<null>"}}},
    {7, {nullptr, kWindows.c_str(), nullptr, nullptr},
     {{"xr_Dialogs_SaveFile_Status", "False"}, {"xr_Dialogs_SaveFile_Selected", "<null>"}}},
};

// What the timer's host code does inside the library's modal loop, and
// what it saw.
struct Reentry {
  std::atomic<bool> done{false};
  // Set by the driver once it has taken the dialog on screen as the outer one.
  std::atomic<bool> outerKnown{false};
  uint32_t stopResult = 99;
  uint32_t nestedResult = 99;
  uint32_t nestedEditResult = 99;
  bool alsoCalendar = false;
  bool alsoEditor = false;
  HWND calendarHost = nullptr;
};
Reentry* g_reentry = nullptr;

void CALLBACK ReenterFromTimer(HWND, UINT, UINT_PTR timer, DWORD) {
  // Some dialogs run their loop before they show: wait for the outer one to
  // be on screen and known to the driver, so that it cannot take the nested
  // one for it (a driver thread slowed by a busy machine did).
  Reentry& r = *g_reentry;
  if (ProcessWindows(L"#32770").empty() || !r.outerKnown) return;
  KillTimer(nullptr, timer);
  r.stopResult = Plugin::Get().execAction(5, nullptr);
  for (int32_t code : {0, 1, 10, -1})
    Plugin::Get().message(code, 0xFFFFFFFFu);
  // A second dialog action inside the first one's loop, at its own place.
  r.nestedResult = Exec(2, {"300", "200"});
  if (r.alsoCalendar) {
    std::string handle = std::to_string(reinterpret_cast<INT_PTR>(r.calendarHost));
    Exec(4, {handle.c_str(), nullptr, nullptr, "Picked"});
    Exec(5, {});
  }
  if (r.alsoEditor) {
    char* cells[2] = {nullptr, nullptr};
    r.nestedEditResult = Plugin::Get().editAction(2, cells);
    for (char* cell : cells) if (cell) GlobalFree(cell);
  }
  r.done = true;
}

// Ends the dialogs that the timer's code opens, then the outer one, which it
// finds first: the colour dialog with a colour typed in, editors with "Done"
// after marking their first box, others with Cancel.
struct OuterDrive {
  bool outerFound = false;
  bool nestedPlaced = false;
  int nestedSeen = 0;
};

// Types the colour into a colour dialog and presses OK.
void AcceptColor(HWND dialog, UINT red, UINT green, UINT blue) {
  SetDlgItemInt(dialog, kColorRedEdit, red, FALSE);
  SetDlgItemInt(dialog, kColorGreenEdit, green, FALSE);
  SetDlgItemInt(dialog, kColorBlueEdit, blue, FALSE);
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void DriveOuterAndNested(OuterDrive& seen, Reentry& reentry, bool acceptColor,
                         bool acceptNestedColor = false) {
  HWND outer = WaitForWindow(L"#32770");
  if (!outer) return;
  seen.outerFound = true;
  reentry.outerKnown = true;
  std::vector<HWND> told;
  DWORD start = GetTickCount();
  while (!reentry.done && GetTickCount() - start < kDialogTimeoutMs) {
    for (HWND dialog : ProcessWindows(L"#32770")) {
      if (dialog == outer || IsCalendarFrameWindow(dialog)) continue;
      if (std::find(told.begin(), told.end(), dialog) != told.end()) continue;
      told.push_back(dialog);
      ++seen.nestedSeen;
      Sleep(30);
      RECT r = WindowRect(dialog);
      seen.nestedPlaced = r.left == 300 && r.top == 200;
      if (acceptNestedColor) AcceptColor(dialog, 4, 5, 6);
      else PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    }
    Sleep(10);
  }
  if (HWND done = DoneButtonOf(outer)) {
    SetDlgItemTextW(outer, 120, kDoneMark);
    PostMessageW(outer, WM_COMMAND, MAKEWPARAM(100, BN_CLICKED), reinterpret_cast<LPARAM>(done));
  } else if (acceptColor) {
    AcceptColor(outer, 1, 2, 3);
  } else {
    PostMessageW(outer, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  }
  if (!WaitForGone(outer)) {
    PostMessageW(outer, WM_SYSCOMMAND, SC_CLOSE, 0);
    CancelAllDialogs();
  }
}

Vars Concat(Vars a, const Vars& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class Reentrancy : public ::testing::Test {
 protected:
  void SetUp() override {
    Plugin::Get();
    ClearHostCalls();
    g_reentry = &reentry_;
  }
  void TearDown() override {
    g_reentry = nullptr;
    g_onScript = nullptr;
    Exec(5, {});
    PumpFor(20);
  }
  Reentry reentry_;
};

}  // namespace

TEST_F(Reentrancy, HostCodeRunsTheLibraryInsideEveryDialogsLoop) {
  for (const OuterAction& action : kOuterActions) {
    SCOPED_TRACE("outer action " + std::to_string(action.id));
    reentry_.done = false;
    reentry_.outerKnown = false;
    OuterDrive seen;
    Driver driver([&] { DriveOuterAndNested(seen, reentry_, false); });
    ClearHostCalls();
    SetTimer(nullptr, 0, kTimerMs, ReenterFromTimer);
    std::vector<char*> cells;
    for (const char* text : action.parameters) cells.push_back(const_cast<char*>(text));
    EXPECT_EQ(Plugin::Get().execAction(action.id, cells.data()), 1u);
    driver.Join();
    ASSERT_TRUE(seen.outerFound);
    ASSERT_TRUE(reentry_.done.load());
    EXPECT_EQ(reentry_.stopResult, 1u);
    EXPECT_EQ(reentry_.nestedResult, 1u);
    EXPECT_EQ(seen.nestedSeen, 1);
    EXPECT_TRUE(seen.nestedPlaced);
    // The nested call finished first; the outer one reports afterwards, whole.
    EXPECT_EQ(RecordedVariables(), Concat(kColorCancelled, action.cancelled));
  }
}

TEST_F(Reentrancy, AColourChosenAfterANestedColourCallIsStillReported) {
  OuterDrive seen;
  Driver driver([&] { DriveOuterAndNested(seen, reentry_, true); });
  SetTimer(nullptr, 0, kTimerMs, ReenterFromTimer);
  EXPECT_EQ(Exec(2, {"0", "0"}), 1u);
  driver.Join();
  ASSERT_TRUE(reentry_.done.load());
  EXPECT_EQ(RecordedVariables(),
            Concat(kColorCancelled, {{"xr_Dialogs_ColorSelected_Status", "True"},
                                     {"xr_Dialogs_ColorSelected_HEX", "#010203"},
                                     {"xr_Dialogs_ColorSelected_RGB", "1,2,3"}}));
}

TEST_F(Reentrancy, ANestedColourAcceptedDoesNotMakeTheCancelledOuterOneReportAChoice) {
  OuterDrive seen;
  Driver driver([&] { DriveOuterAndNested(seen, reentry_, false, true); });
  SetTimer(nullptr, 0, kTimerMs, ReenterFromTimer);
  EXPECT_EQ(Exec(2, {"0", "0"}), 1u);
  driver.Join();
  ASSERT_TRUE(reentry_.done.load());
  EXPECT_EQ(RecordedVariables(), Concat({{"xr_Dialogs_ColorSelected_Status", "True"},
                                         {"xr_Dialogs_ColorSelected_HEX", "#040506"},
                                         {"xr_Dialogs_ColorSelected_RGB", "4,5,6"}},
                                        kColorCancelled));
  // The colour remembered is the nested call's, not the cancelled one's start.
  UINT shown[3] = {99, 99, 99};
  Driver reader([&] {
    HWND dialog = WaitForWindow(L"#32770");
    if (!dialog) return;
    Sleep(50);
    for (int i = 0; i < 3; ++i) shown[i] = GetDlgItemInt(dialog, kColorRedEdit + i, nullptr, FALSE);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    if (!WaitForGone(dialog)) CancelAllDialogs();
  });
  Exec(2, {"0", "0"});
  reader.Join();
  EXPECT_EQ(shown[0], 4u);
  EXPECT_EQ(shown[1], 5u);
  EXPECT_EQ(shown[2], 6u);
}

TEST_F(Reentrancy, AnEditorStillHandsBackAfterHostCodeRanActionsAndACalendarInItsLoop) {
  HostWindow host(300, 200);
  reentry_.alsoCalendar = true;
  reentry_.alsoEditor = true;
  reentry_.calendarHost = host.handle();
  OuterDrive seen;
  Driver driver([&] { DriveOuterAndNested(seen, reentry_, false); });
  SetTimer(nullptr, 0, kTimerMs, ReenterFromTimer);
  char* cells[4] = {NewHostBlock("Title"), NewHostBlock("C:\\"), NewHostBlock("10"), NewHostBlock("20")};
  EXPECT_EQ(Plugin::Get().editAction(3, cells), 1u);
  driver.Join();
  ASSERT_TRUE(seen.outerFound);
  ASSERT_TRUE(reentry_.done.load());
  EXPECT_EQ(reentry_.nestedResult, 1u);
  EXPECT_EQ(reentry_.nestedEditResult, 1u);
  EXPECT_EQ(RecordedVariables(), kColorCancelled);
  // The calendar started and stopped inside the editor's loop is gone, and
  // the editor, not it, received "Done".
  EXPECT_EQ(GetWindow(host.handle(), GW_CHILD), nullptr);
  EXPECT_EQ(CellText(cells[0]), "done by the closer");
  EXPECT_EQ(CellText(cells[1]), "C:\\");
  EXPECT_EQ(CellText(cells[3]), "20");
  for (char* cell : cells) if (cell) GlobalFree(cell);
}

// A library loaded a second time from a copy, so that the instance the other
// tests use stays loaded. Its first window keeps the copy loaded for good:
// once that is done, the file cannot be replaced or deleted until the
// process ends (a later run overwrites it).
class Unload : public ::testing::Test {
 protected:
  void SetUp() override {
    char loaded[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(Plugin::Get().module, loaded, MAX_PATH), 0u);
    if (!GetModuleHandleA(Copy().c_str())) {
      ASSERT_TRUE(CopyFileA(loaded, Copy().c_str(), FALSE));
    }
    ClearHostCalls();
  }
  void TearDown() override {
    g_onScript = nullptr;
    if (!GetModuleHandleA(Copy().c_str())) DeleteFileA(Copy().c_str());
  }
  static Plugin LoadCopy() {
    Plugin copy = Plugin::Load(Copy().c_str());
    if (copy.registerPlugIn) {
      copy.registerPlugIn(RecordAddAction, nullptr, nullptr, RecordSetVar);
      copy.registerScriptProcessor(RecordScript);
    }
    return copy;
  }
  // Starts a calendar of the copy over host, picks a day and says whether
  // the pick reached the host.
  static bool StartAndPick(Plugin& copy, HostWindow& host, const char* subroutine) {
    std::string handle = host.HandleText();
    const char* parameters[4] = {handle.c_str(), nullptr, "YYYY-MM-DD", subroutine};
    copy.execAction(4, const_cast<char**>(parameters));
    return PickToday(host);
  }
  static bool PickToday(HostWindow& host) {
    HWND frame = GetWindow(host.handle(), GW_CHILD);
    HWND calendar = frame ? GetDlgItem(frame, kCalendarControlId) : nullptr;
    SYSTEMTIME today = {};
    GetLocalTime(&today);
    ClearHostCalls();
    if (!calendar || !PostClickOnDay(calendar, today.wYear, today.wMonth, 12)) return false;
    return PumpUntil([] { return !RecordedScripts().empty(); }, kPickTimeoutMs);
  }
  // In the user's temporary folder: the program's own may not be writable.
  static std::string Copy() { return TempFolderA() + "\\VelDialogs_unload.dll"; }
};

TEST_F(Unload, AfterAStoppedCalendarTheHostKeepsRunningAndCanLoadAgain) {
  HostWindow host(300, 200);
  for (int load = 0; load < 2; ++load) {
    SCOPED_TRACE("load " + std::to_string(load));
    Plugin copy = LoadCopy();
    ASSERT_NE(copy.module, nullptr);
    ASSERT_NE(copy.module, Plugin::Get().module);
    ASSERT_TRUE(StartAndPick(copy, host, "Picked"));
    EXPECT_EQ(RecordedScripts(), std::vector<std::string>{"GoSub \"Picked\""});
    EXPECT_EQ(copy.execAction(5, nullptr), 1u);
    EXPECT_EQ(GetWindow(host.handle(), GW_CHILD), nullptr);
    ASSERT_TRUE(FreeLibrary(copy.module));
    EXPECT_NE(GetModuleHandleA(Copy().c_str()), nullptr) << "kept loaded since its first window";
    // The host's window goes on being painted, sized and clicked.
    InvalidateRect(host.handle(), nullptr, TRUE);
    SetWindowPos(host.handle(), nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER);
    PostMessageW(host.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    PostMessageW(host.handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    PumpFor(200);
    EXPECT_TRUE(IsWindow(host.handle()));
  }
}

TEST_F(Unload, AfterTheSubroutineStoppedTheCalendarAndAfterDialogsAndEditors) {
  HostWindow host(300, 200);
  Plugin copy = LoadCopy();
  ASSERT_NE(copy.module, nullptr);
  static Plugin* s_copy;
  s_copy = &copy;
  g_onScript = [](const std::string&) { s_copy->execAction(5, nullptr); };
  ASSERT_TRUE(StartAndPick(copy, host, "StopMe"));
  g_onScript = nullptr;
  PumpFor(100);  // the host's loop goes on after the subroutine
  EXPECT_EQ(GetWindow(host.handle(), GW_CHILD), nullptr);
  {
    DialogCloser closer(EditorEnding::Close);
    const char* position[2] = {"0", "0"};
    EXPECT_EQ(copy.execAction(2, const_cast<char**>(position)), 1u);
    char* cells[2] = {nullptr, nullptr};
    EXPECT_EQ(copy.editAction(2, cells), 1u);
    closer.Stop();
    EXPECT_EQ(closer.dialogsCancelled(), 1);
    EXPECT_EQ(closer.editorsEnded(), 1);
  }
  ASSERT_TRUE(FreeLibrary(copy.module));
  EXPECT_NE(GetModuleHandleA(Copy().c_str()), nullptr) << "kept loaded since its first window";
  InvalidateRect(host.handle(), nullptr, TRUE);
  PumpFor(200);
  // A system dialog of the host's own still works with the library gone.
  Driver canceller([] {
    if (HWND dialog = WaitForWindow(L"#32770")) PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  static COLORREF custom[16] = {};
  CHOOSECOLORA chooser = {};
  chooser.lStructSize = sizeof(chooser);
  chooser.lpCustColors = custom;
  EXPECT_FALSE(ChooseColorA(&chooser));
  canceller.Join();
}

// A host that reloads its plug-ins frees the library with its calendar
// still open: the calendar's procedures must still be there for its next
// messages, its picks and its end with the host window.
TEST_F(Unload, WithItsCalendarStillOpen) {
  HostWindow host(300, 200);
  Plugin copy = LoadCopy();
  ASSERT_NE(copy.module, nullptr);
  std::string handle = host.HandleText();
  const char* parameters[4] = {handle.c_str(), nullptr, "YYYY-MM-DD", "Picked"};
  copy.execAction(4, const_cast<char**>(parameters));
  ASSERT_NE(GetWindow(host.handle(), GW_CHILD), nullptr);
  // The one reference the host holds (every test frees what it loads).
  ASSERT_TRUE(FreeLibrary(copy.module));
  ASSERT_NE(GetModuleHandleA(Copy().c_str()), nullptr) << "unloaded under its own window";
  InvalidateRect(host.handle(), nullptr, TRUE);
  PumpFor(200);
  ASSERT_TRUE(PickToday(host));
  PumpFor(200);
  EXPECT_EQ(RecordedScripts(), std::vector<std::string>{"GoSub \"Picked\""});
  host.Destroy();
  PumpFor(100);
}
