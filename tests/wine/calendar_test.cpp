// The month calendar through the real DLL: laid over a real host window,
// picked with the mouse, stopped and restarted, also from inside a pick.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <cfloat>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "rig/calendar_fixture.h"
#include "rig/dialog_face.h"
#include "rig/driver.h"
#include "rig/editor_session.h"
#include "rig/host_window.h"
#include "rig/library_gdi_objects.h"
#include "rig/month_calendar.h"
#include "rig/platform.h"
#include "rig/plugin.h"
#include "rig/recorder.h"
#include "rig/reported_high_contrast.h"

namespace {

// A click runs the subroutine, which may do anything to the calendar and its
// window; the control's own handling of the click must be over by then.
void ExpectTheSubroutineRanAfterTheControlsHandling(const ControlHandlingWatch& watch) {
  EXPECT_EQ(watch.destroyed(), 0) << "the control was destroyed inside its own handling";
  EXPECT_EQ(watch.survived(), 2) << "button down and up, each handled whole";
  EXPECT_EQ(watch.hostCallsInside(), 0) << "the pick was reported inside the control's handling";
}

}  // namespace

// These two need a freshly loaded library: keep them first.
TEST(CalendarFreshLibrary, StopBeforeAnyStartAndTwiceDoesNothing) {
  Plugin::Get();
  ClearHostCalls();
  Stop();
  Stop();
  EXPECT_TRUE(HostCalls().empty());
  EXPECT_TRUE(ProcessWindows(L"#32770").empty());
}

TEST(CalendarFreshLibrary, UnrecognisedFirstStyleReadsAndWritesMonthDayYear) {
  HostWindow host(300, 200);
  Start(host.HandleText(), "12/25/2024", "mm-dd-yyyy", "Picked");
  HWND calendar = CalendarOf(NewestFrame(host.handle()));
  ASSERT_TRUE(calendar);
  SYSTEMTIME selected = CalendarSelection(calendar);
  EXPECT_TRUE(SameDay(selected, 2024, 12, 25)) << DayText(selected);
  PickSeen seen = Pick(calendar, 2025, 3, 3);
  ASSERT_TRUE(seen.clicked);
  EXPECT_EQ(seen.variables, DateVar("03/03/2025"));
  EXPECT_EQ(seen.scripts, Scripts{"GoSub \"Picked\""});
  Stop();
}

TEST_F(Calendar, CoversTheHostClientAreaWithTheFrameOnePixelLarger) {
  Start(host_.HandleText(), nullptr, nullptr, "Picked");
  EXPECT_TRUE(HostCalls().empty()) << "a start reports nothing";
  std::vector<HWND> frames = Frames(host_.handle());
  ASSERT_EQ(frames.size(), 1u);
  HWND frame = frames[0];

  RECT frameRect = WindowRect(frame);
  MapWindowPoints(nullptr, host_.handle(), reinterpret_cast<POINT*>(&frameRect), 2);
  EXPECT_EQ(frameRect.left, 0);
  EXPECT_EQ(frameRect.top, 0);
  EXPECT_EQ(frameRect.right, 301);
  EXPECT_EQ(frameRect.bottom, 201);
  EXPECT_TRUE(IsWindowVisible(frame));
  EXPECT_EQ(GetParent(frame), host_.handle());
  // A control parent (DS_CONTROL), so that Tab reaches the calendar.
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(frame, GWL_STYLE)) & ~WS_VISIBLE, 0x40000454u);
  EXPECT_EQ(TextOf(frame), L"");

  HWND calendar = CalendarOf(frame);
  ASSERT_TRUE(calendar);
  EXPECT_EQ(ClassOf(calendar), L"SysMonthCal32");
  RECT calendarRect = WindowRect(calendar);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&calendarRect), 2);
  EXPECT_EQ(calendarRect.left, 0);
  EXPECT_EQ(calendarRect.top, 0);
  EXPECT_EQ(calendarRect.right, 300);
  EXPECT_EQ(calendarRect.bottom, 200);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(calendar, GWL_STYLE)), 0x50810000u);
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(calendar, GWL_EXSTYLE)), 0x200u);

  // The calendar draws in the frame's font.
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0));
  ASSERT_TRUE(font);
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(calendar, WM_GETFONT, 0, 0)), font);
  LOGFONTW face = {};
  GetObjectW(font, sizeof(face), &face);
  // The template's raster face, or the scalable one where that draws too tall.
  EXPECT_EQ(face.lfFaceName, ExpectedDialogFace(ScreenDpi()));
  EXPECT_EQ(face.lfWeight, FW_NORMAL);
  EXPECT_FALSE(face.lfItalic);
}

TEST_F(Calendar, LiesOverTheHostsOwnControls) {
  HWND button = CreateWindowW(L"BUTTON", L"Host button", WS_CHILD | WS_VISIBLE, 10, 10, 120, 30,
                              host_.handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(button);
  Start(host_.HandleText(), nullptr, nullptr, "Picked");
  POINT onButton = {20, 20};
  EXPECT_EQ(ChildWindowFromPointEx(host_.handle(), onButton, CWP_SKIPINVISIBLE),
            NewestFrame(host_.handle()));
}

TEST_F(Calendar, HandleTextIsReadAsALeadingNumber) {
  Start("  " + host_.HandleText() + "px", nullptr, nullptr, "Picked");
  EXPECT_EQ(Frames(host_.handle()).size(), 1u);
}

// Hosts write handles signed or unsigned; the system takes a handle whose
// upper 16 bits are 0xFFFF for the window of that index, so this alias is at
// or above 2^31 written unsigned, and must not saturate into no window.
TEST_F(Calendar, AHandleWrittenUnsignedNamesTheSameWindow) {
  uint32_t bits = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(host_.handle()));
  uint32_t alias = 0xFFFF0000u | (bits & 0xFFFFu);
  Start(std::to_string(alias), nullptr, nullptr, "Picked");
  EXPECT_EQ(Frames(host_.handle()).size(), 1u);
  Stop();
  PumpFor(50);
  EXPECT_TRUE(Frames(host_.handle()).empty());
}

// A 64-bit host may print the sign-extended alias as an unsigned 64-bit
// number; rounding decides between no window (the tiny pop-up) and a handle
// that names none. Hosts built with MinGW (after _fpreset) or Delphi run the
// x87 at 64-bit precision, where a second rounding would change the bits.
TEST_F(Calendar, EverySpellingOfAHandleGivesItsExactBitsWhateverTheX87Precision) {
#if !defined(_WIN64)
  unsigned int precision = _controlfp(0, 0) & _MCW_PC;
  _controlfp(_PC_64, _MCW_PC);
#endif
  uint32_t bits = static_cast<uint32_t>(reinterpret_cast<UINT_PTR>(host_.handle()));
  uint64_t alias = 0xFFFFFFFFFFFF0000ull | (bits & 0xFFFFu);
  char hex[24];
  snprintf(hex, sizeof(hex), "&H%016llX", static_cast<unsigned long long>(alias));
  for (const std::string& spelling : {std::to_string(alias), std::string(hex)}) {
    SCOPED_TRACE(spelling);
    Start(spelling, nullptr, nullptr, "Picked");
    EXPECT_EQ(Frames(host_.handle()).size(), 1u);
    Stop();
    PumpFor(50);
  }
  // -1, and 12042044692 * 10^15 = 0x80000000 modulo 2^32: handles of no window.
  for (const char* noWindow : {"-0.5000001", "12042044692e15"}) {
    SCOPED_TRACE(noWindow);
    Start(noWindow, nullptr, nullptr, "Picked");
    EXPECT_TRUE(ProcessWindows(L"#32770").empty());
    Stop();
  }
#if !defined(_WIN64)
  _controlfp(precision, _MCW_PC);
#endif
}

TEST_F(Calendar, EachPickWritesTheDateInTheStyleInForceAndRunsTheSubroutineOnce) {
  struct Case {
    const char* style;
    const char* ninthOfOctober;
    const char* fifthOfJanuary;
  } cases[] = {
      {nullptr, "10/09/2025", "01/05/2024"},
      {"MM-DD-YYYY", "10/09/2025", "01/05/2024"},
      {"DD-MM-YYYY", "09/10/2025", "05/01/2024"},
      {"YYYY-MM-DD", "2025/10/09", "2024/01/05"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.style ? c.style : "empty style");
    Start(host_.HandleText(), nullptr, c.style, "Date Picked");
    HWND calendar = CalendarOf(NewestFrame(host_.handle()));
    PickSeen seen = Pick(calendar, 2025, 10, 9);
    ASSERT_TRUE(seen.clicked);
    EXPECT_EQ(seen.variables, DateVar(c.ninthOfOctober));
    EXPECT_EQ(seen.scripts, Scripts{"GoSub \"Date Picked\""});
    seen = Pick(calendar, 2024, 1, 5);
    EXPECT_EQ(seen.variables, DateVar(c.fifthOfJanuary));
    EXPECT_EQ(seen.scripts, Scripts{"GoSub \"Date Picked\""});
    Stop();
  }
}

TEST_F(Calendar, AnUnrecognisedStyleKeepsTheStyleOfTheLastStart) {
  Start(host_.HandleText(), nullptr, "DD-MM-YYYY", "Picked");
  Stop();
  for (const char* style : {"dd-mm-yyyy", " MM-DD-YYYY", "MM/DD/YYYY"}) {
    SCOPED_TRACE(style);
    Start(host_.HandleText(), "25/12/2024", style, "Picked");
    HWND calendar = CalendarOf(NewestFrame(host_.handle()));
    EXPECT_TRUE(SameDay(CalendarSelection(calendar), 2024, 12, 25));
    PickSeen seen = Pick(calendar, 2025, 3, 4);
    EXPECT_EQ(seen.variables, DateVar("04/03/2025"));
    Stop();
  }
}

TEST_F(Calendar, StartStartStopLeavesNoCalendarAndPicksUseTheLatestStart) {
  Start(host_.HandleText(), nullptr, "MM-DD-YYYY", "First");
  HWND first = NewestFrame(host_.handle());
  Start(host_.HandleText(), nullptr, "YYYY-MM-DD", "Second");
  ASSERT_EQ(Frames(host_.handle()).size(), 2u);
  HWND second = NewestFrame(host_.handle());
  ASSERT_NE(second, first);
  // The newer lies over the older: it is what the mouse reaches.
  POINT middle = {150, 100};
  EXPECT_EQ(ChildWindowFromPointEx(host_.handle(), middle, CWP_SKIPINVISIBLE), second);

  // The older calendar, still there underneath, reports as the newer start says.
  PickSeen seen = Pick(CalendarOf(first), 2025, 6, 7);
  EXPECT_EQ(seen.variables, DateVar("2025/06/07"));
  EXPECT_EQ(seen.scripts, Scripts{"GoSub \"Second\""});

  ClearHostCalls();
  Stop();
  PumpFor(50);
  EXPECT_TRUE(Frames(host_.handle()).empty());
  EXPECT_FALSE(IsWindow(first));
  Stop();
  EXPECT_TRUE(HostCalls().empty());
}

TEST_F(Calendar, StopFromInsideTheSubroutineEndsThePickSafelyAndRemovesEveryCalendar) {
  ControlHandlingWatch watch;
  Start(host_.HandleText(), nullptr, "MM-DD-YYYY", "StopIt");
  HWND other = NewestFrame(host_.handle());
  Start(host_.HandleText(), nullptr, "MM-DD-YYYY", "StopIt");
  HWND frame = NewestFrame(host_.handle());
  ASSERT_NE(frame, other);
  static bool hiddenAtOnce;
  static HWND stoppedFrames[2];
  hiddenAtOnce = false;
  stoppedFrames[0] = frame;
  stoppedFrames[1] = other;
  g_onScript = [](const std::string&) {
    Exec(5, {});
    hiddenAtOnce = !IsWindowVisible(stoppedFrames[0]) && !IsWindowVisible(stoppedFrames[1]);
  };
  PickSeen seen = Pick(CalendarOf(frame), 2025, 2, 14);
  EXPECT_EQ(seen.variables, DateVar("02/14/2025"));
  EXPECT_EQ(seen.scripts, Scripts{"GoSub \"StopIt\""});
  EXPECT_TRUE(hiddenAtOnce);
  ExpectTheSubroutineRanAfterTheControlsHandling(watch);
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(frame) && !IsWindow(other); }, 2000));
  EXPECT_TRUE(Frames(host_.handle()).empty());
}

TEST_F(Calendar, ADialogAfterStopInsideTheSubroutineLeavesTheFrameUntilThePickEnds) {
  Start(host_.HandleText(), nullptr, "MM-DD-YYYY", "StopAndAsk");
  HWND frame = NewestFrame(host_.handle());
  static HWND stoppedFrame;
  static bool dialogSeen, frameKeptHidden;
  stoppedFrame = frame;
  dialogSeen = frameKeptHidden = false;
  g_onScript = [](const std::string&) {
    Exec(5, {});
    // Its modal loop dispatches whatever is posted to the thread. The colour
    // dialog is known by its red box: Windows titles it in the user's language.
    static DWORD thread;
    thread = GetCurrentThreadId();
    Driver canceller([] {
      constexpr int kColorRedEdit = 706;
      HWND dialog = WaitForDialogWith(thread, kColorRedEdit, L"Edit");
      dialogSeen = dialog != nullptr;
      if (dialog) PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    });
    Exec(2, {"0", "0"});
    canceller.Join();
    frameKeptHidden = IsWindow(stoppedFrame) && !IsWindowVisible(stoppedFrame);
  };
  PickSeen seen = Pick(CalendarOf(frame), 2025, 2, 14);
  EXPECT_EQ(seen.scripts, Scripts{"GoSub \"StopAndAsk\""});
  EXPECT_EQ(seen.variables, (Vars{{"xr_Date", "02/14/2025"},
                                  {"xr_Dialogs_ColorSelected_Status", "False"},
                                  {"xr_Dialogs_ColorSelected_HEX", "<null>"},
                                  {"xr_Dialogs_ColorSelected_RGB", "<null>"}}));
  EXPECT_TRUE(dialogSeen);
  EXPECT_TRUE(frameKeptHidden) << "the frame went while its pick was still being handled";
  EXPECT_TRUE(PumpUntil([&] { return !IsWindow(frame); }, 2000));
  EXPECT_TRUE(Frames(host_.handle()).empty());
}

TEST_F(Calendar, RestartFromInsideTheSubroutineLeavesOneWorkingCalendar) {
  ControlHandlingWatch watch;
  Start(host_.HandleText(), nullptr, "MM-DD-YYYY", "Restart");
  HWND first = NewestFrame(host_.handle());
  static std::string hostText;
  hostText = host_.HandleText();
  g_onScript = [](const std::string&) {
    g_onScript = nullptr;
    Exec(5, {});
    Exec(4, {hostText.c_str(), nullptr, "YYYY-MM-DD", "Again"});
  };
  PickSeen seen = Pick(CalendarOf(first), 2025, 2, 14);
  EXPECT_EQ(seen.scripts, Scripts{"GoSub \"Restart\""});
  ExpectTheSubroutineRanAfterTheControlsHandling(watch);
  ASSERT_TRUE(PumpUntil([&] { return !IsWindow(first); }, 2000));

  std::vector<HWND> frames = Frames(host_.handle());
  ASSERT_EQ(frames.size(), 1u);
  seen = Pick(CalendarOf(frames[0]), 2025, 2, 20);
  EXPECT_EQ(seen.variables, DateVar("2025/02/20"));
  EXPECT_EQ(seen.scripts, Scripts{"GoSub \"Again\""});
}

TEST_F(Calendar, AHostThatDestroysItsWindowLeavesNothingForStop) {
  Start(host_.HandleText(), nullptr, "MM-DD-YYYY", "Picked");
  HWND frame = NewestFrame(host_.handle());
  ASSERT_TRUE(frame);
  host_.Destroy();
  EXPECT_FALSE(IsWindow(frame));
  ClearHostCalls();
  Stop();
  Stop();
  EXPECT_TRUE(HostCalls().empty());

  // A new start on another window works as before.
  HostWindow other(300, 200);
  Start(other.HandleText(), nullptr, "MM-DD-YYYY", "Picked");
  PickSeen seen = Pick(CalendarOf(NewestFrame(other.handle())), 2025, 5, 1);
  EXPECT_EQ(seen.variables, DateVar("05/01/2025"));
}

// A subroutine that closes the form, or lays a new calendar over it, while
// the click that ran it is still on its way out of the control.
TEST_F(Calendar, ASubroutineThatClosesTheHostWindowOrStartsOverItRunsOnceAndSafely) {
  static HWND hostWindow;
  static std::string hostText;
  const struct {
    const char* subroutine;
    void (*run)(const std::string&);
    size_t framesLeft;
  } cases[] = {
      {"CloseForm", [](const std::string&) { DestroyWindow(hostWindow); }, 0},
      {"StartOver",
       [](const std::string&) { Exec(4, {hostText.c_str(), nullptr, "MM-DD-YYYY", "Again"}); }, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.subroutine);
    HostWindow host(300, 200);
    hostWindow = host.handle();
    hostText = host.HandleText();
    ControlHandlingWatch watch;
    Start(hostText, nullptr, "MM-DD-YYYY", c.subroutine);
    HWND frame = NewestFrame(hostWindow);
    g_onScript = c.run;
    PickSeen seen = Pick(CalendarOf(frame), 2025, 8, 18);
    g_onScript = nullptr;
    EXPECT_EQ(seen.variables, DateVar("08/18/2025"));
    EXPECT_EQ(seen.scripts, Scripts{"GoSub \"" + std::string(c.subroutine) + "\""});
    ExpectTheSubroutineRanAfterTheControlsHandling(watch);
    EXPECT_EQ(IsWindow(frame) != FALSE, c.framesLeft > 0);
    EXPECT_EQ(IsWindow(hostWindow) ? Frames(hostWindow).size() : 0u, c.framesLeft);
    Stop();
    PumpFor(50);
  }
}

TEST_F(Calendar, AHandleThatReadsAsZeroGivesATinyTopLevelPopUp) {
  for (const char* handle : {"", "abc"}) {
    SCOPED_TRACE(handle);
    Start(handle, nullptr, nullptr, "Picked");
    std::vector<HWND> popups = ProcessWindows(L"#32770");
    ASSERT_EQ(popups.size(), 1u);
    HWND popup = popups[0];
    DWORD style = static_cast<DWORD>(GetWindowLongW(popup, GWL_STYLE));
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(style & (WS_CHILD | WS_BORDER | WS_CAPTION));
    RECT r = WindowRect(popup);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, 1);
    EXPECT_EQ(r.bottom, 1);
    HWND calendar = CalendarOf(popup);
    ASSERT_TRUE(calendar);
    RECT c = WindowRect(calendar);
    EXPECT_EQ(c.right - c.left, 0);
    EXPECT_EQ(c.bottom - c.top, 0);
    Stop();
    EXPECT_FALSE(IsWindow(popup));
  }
}

TEST_F(Calendar, AHandleOfNoWindowCreatesNothing) {
  HWND gone;
  {
    HostWindow brief(100, 100);
    gone = brief.handle();
  }
  ASSERT_FALSE(IsWindow(gone));
  Start(std::to_string(reinterpret_cast<INT_PTR>(gone)), "12/25/2024", nullptr, "Picked");
  EXPECT_TRUE(ProcessWindows(L"#32770").empty());
  EXPECT_TRUE(Frames(host_.handle()).empty());
  Stop();
  EXPECT_TRUE(HostCalls().empty());
}

// The editors keep a window slot of their own: opening one must not make
// Stop lose track of the calendar.
TEST_F(Calendar, StopStillRemovesTheCalendarAfterAnEditorWasOpened) {
  HostWindow host(300, 200);
  Start(host.HandleText(), nullptr, nullptr, "Picked");
  ASSERT_EQ(Frames(host.handle()).size(), 1u);
  HostCellArray cells({"100", "50"});
  EditorRun run = RunEditor(2, cells.data(), L"Color Selector", [](HWND editor) { PressDone(editor); });
  EXPECT_TRUE(run.found);
  Stop();
  PumpFor(kSettleMs);
  EXPECT_TRUE(Frames(host.handle()).empty());
}
