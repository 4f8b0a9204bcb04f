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

// DPI-aware before the first window, as a host on a high-DPI screen is; at
// 96 DPI this changes nothing.
const BOOL kDpiAware = SetProcessDPIAware();
// A raster face too large for 96 DPI, as on Windows at high DPI, before the
// first font is made: Wine keeps the faces it has mapped for fonts made alike.
const HighDpiRasterFace kRasterFace;

using Vars = std::vector<std::pair<std::string, std::string>>;
using Scripts = std::vector<std::string>;

constexpr int kCalendarId = 20;
constexpr DWORD kPickTimeoutMs = 3000;
// Long enough for a second report of the same pick to show up.
constexpr DWORD kSettleMs = 200;
// The text and title colours that mark a calendar opened on a previous date.
constexpr COLORREF kPreviousDateText = 0x0000FF3C;
constexpr COLORREF kPreviousDateTitleText = 0x003CFF00;

void Start(const std::string& handle, const char* previous, const char* style,
           const char* subroutine) {
  EXPECT_EQ(Exec(4, {handle.c_str(), previous, style, subroutine}), 1u);
}
void Stop() { EXPECT_EQ(Exec(5, {}), 1u); }

std::vector<HWND> Frames(HWND host) { return ChildrenOfClass(host, L"#32770"); }
// The newest frame lies on top.
HWND NewestFrame(HWND host) {
  std::vector<HWND> frames = Frames(host);
  return frames.empty() ? nullptr : frames.front();
}
HWND CalendarOf(HWND frame) { return frame ? GetDlgItem(frame, kCalendarId) : nullptr; }

struct PickSeen {
  bool clicked = false;
  Vars variables;
  Scripts scripts;
};

PickSeen Pick(HWND calendar, WORD year, WORD month, WORD day) {
  ClearHostCalls();
  PickSeen seen;
  seen.clicked = PostClickOnDay(calendar, year, month, day);
  PumpUntil([] { return !RecordedScripts().empty(); }, kPickTimeoutMs);
  PumpFor(kSettleMs);
  seen.variables = RecordedVariables();
  seen.scripts = RecordedScripts();
  return seen;
}

Vars DateVar(const char* text) { return {{"xr_Date", text}}; }

bool SameDay(const SYSTEMTIME& a, WORD year, WORD month, WORD day) {
  return a.wYear == year && a.wMonth == month && a.wDay == day;
}

std::string DayText(const SYSTEMTIME& st) {
  return std::to_string(st.wYear) + "-" + std::to_string(st.wMonth) + "-" + std::to_string(st.wDay);
}

SYSTEMTIME Today() {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  return now;
}

// A click runs the subroutine, which may do anything to the calendar and its
// window; the control's own handling of the click must be over by then.
void ExpectTheSubroutineRanAfterTheControlsHandling(const ControlHandlingWatch& watch) {
  EXPECT_EQ(watch.destroyed(), 0) << "the control was destroyed inside its own handling";
  EXPECT_EQ(watch.survived(), 2) << "button down and up, each handled whole";
  EXPECT_EQ(watch.hostCallsInside(), 0) << "the pick was reported inside the control's handling";
}

// The colours the library sets on a calendar, counted from outside its
// wrapping.
WNDPROC g_coloursProc;
int g_colourSettings;

LRESULT CALLBACK CountedColoursProc(HWND calendar, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == MCM_SETCOLOR) ++g_colourSettings;
  return CallWindowProcW(g_coloursProc, calendar, message, wParam, lParam);
}

void WatchColourSettings(HWND calendar) {
  g_colourSettings = 0;
  g_coloursProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(calendar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountedColoursProc)));
}

// A host whose loop hands its form's messages to the dialog manager, as many
// do: a calendar that does not ask for Enter (WM_GETDLGCODE) loses it to the
// form's IDOK.
void PumpThroughDialogManager(HWND form, DWORD ms) {
  DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (IsDialogMessageW(form, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjectsEx(0, nullptr, 10, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

// A key held down repeats its WM_KEYDOWN with the repeat bit set.
void PressKey(HWND window, WPARAM key, int repeats = 0) {
  PostMessageW(window, WM_KEYDOWN, key, 1);
  for (int i = 0; i < repeats; ++i) PostMessageW(window, WM_KEYDOWN, key, 1 | (KF_REPEAT << 16));
  PostMessageW(window, WM_KEYUP, key, 1 | ((KF_UP | KF_REPEAT) << 16));
}

// Tab as the user presses it; Shift is read from the thread's key state.
void PressTab(bool shift) {
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  BYTE wasShift = keys[VK_SHIFT];
  keys[VK_SHIFT] = shift ? 0x80 : 0;
  SetKeyboardState(keys);
  PressKey(GetFocus(), VK_TAB);
  PumpThroughDialogManager(GetAncestor(GetFocus(), GA_ROOT), kSettleMs);
  keys[VK_SHIFT] = wasShift;
  SetKeyboardState(keys);
}

// Each test leaves no calendar and no hook behind.
class Calendar : public ::testing::Test {
 protected:
  void SetUp() override { Plugin::Get(); ClearHostCalls(); }
  void TearDown() override {
    g_onScript = nullptr;
    Stop();
    PumpFor(50);
  }
  HostWindow host_{300, 200};
};

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

TEST_F(Calendar, ThePreviousDateIsPreselectedInEachStyleWithItsColours) {
  struct Case {
    const char* style;
    const char* previous;
  } cases[] = {
      {"MM-DD-YYYY", "12/25/2024"},
      {"DD-MM-YYYY", "25/12/2024"},
      {"YYYY-MM-DD", "2024/12/25"},
      {"YYYY-MM-DD", " 2024/12.2/25th"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.style) + " " + c.previous);
    Start(host_.HandleText(), c.previous, c.style, "Picked");
    HWND calendar = CalendarOf(NewestFrame(host_.handle()));
    ASSERT_TRUE(calendar);
    SYSTEMTIME selected = CalendarSelection(calendar);
    EXPECT_TRUE(SameDay(selected, 2024, 12, 25)) << DayText(selected);
    EXPECT_EQ(SendMessageW(calendar, MCM_GETCOLOR, MCSC_TEXT, 0), kPreviousDateText);
    EXPECT_EQ(SendMessageW(calendar, MCM_GETCOLOR, MCSC_TITLETEXT, 0), kPreviousDateTitleText);
    Stop();
  }
}

TEST_F(Calendar, NoUsablePreviousDateLeavesTodaySelected) {
  for (const char* previous : {"12-25-2024", "12/25", "13/40/2024", ""}) {
    SCOPED_TRACE(previous);
    Start(host_.HandleText(), previous, "MM-DD-YYYY", "Picked");
    HWND calendar = CalendarOf(NewestFrame(host_.handle()));
    SYSTEMTIME today = Today(), selected = CalendarSelection(calendar);
    EXPECT_TRUE(SameDay(selected, today.wYear, today.wMonth, today.wDay)) << DayText(selected);
    // Only an empty previous date keeps the control's own colours.
    EXPECT_EQ(SendMessageW(calendar, MCM_GETCOLOR, MCSC_TEXT, 0) == kPreviousDateText, *previous != 0);
    Stop();
  }
}

// The six colours, MCSC_BACKGROUND to MCSC_TRAILINGTEXT, as the control holds them.
using Colours = std::array<COLORREF, 6>;
Colours ColoursOf(HWND calendar) {
  Colours colours;
  for (int part = 0; part < 6; ++part)
    colours[part] = static_cast<COLORREF>(SendMessageW(calendar, MCM_GETCOLOR, part, 0));
  return colours;
}

// What the host's own calendar, one the library never touched, gives once
// shown and painted, as the library's are.
template <typename Read>
auto OfAPlainCalendar(HWND host, Read read) {
  HWND plain = CreateWindowExW(0, MONTHCAL_CLASSW, L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 100, host, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  UpdateWindow(plain);
  auto value = read(plain);
  DestroyWindow(plain);
  return value;
}

// Pixels of exactly that colour in the control's client area.
int PixelsOf(HWND calendar, COLORREF colour) {
  RECT client = {};
  GetClientRect(calendar, &client);
  HDC dc = GetDC(calendar);
  int count = 0;
  for (int y = 0; y < client.bottom; ++y)
    for (int x = 0; x < client.right; ++x) count += GetPixel(dc, x, y) == colour;
  ReleaseDC(calendar, dc);
  return count;
}

// Under High Contrast every colour of every calendar is the scheme's: the
// month in the window colours, the title in the active caption's, the other
// months' days dimmed. A switch shows at the next paint, and at once when the
// calendar is told of it: WM_THEMECHANGED goes to every window, and a host
// forwards WM_SYSCOLORCHANGE and WM_SETTINGCHANGE to its children, the frame.
// Off again, the control's own colours are back, with the previous date's
// marks where one was given. A paint with nothing changed sends nothing.
TEST_F(Calendar, EveryColourFollowsHighContrastAtEachPaintAndEachChangeItIsTold) {
  ReportedHighContrast highContrast(Plugin::Get().module, ReportedHighContrast::kScheme);
  ASSERT_TRUE(highContrast.installed());
  const auto scheme = ReportedHighContrast::SchemeColour;
  const Colours inScheme = {scheme(COLOR_WINDOW),       scheme(COLOR_WINDOWTEXT), scheme(COLOR_ACTIVECAPTION),
                            scheme(COLOR_CAPTIONTEXT), scheme(COLOR_WINDOW),     scheme(COLOR_GRAYTEXT)};
  const Colours own = OfAPlainCalendar(host_.handle(), ColoursOf);
  for (const char* previous : {"12/25/2024", ""}) {
    SCOPED_TRACE(*previous ? previous : "no previous date");
    Colours normal = own;
    if (*previous) {
      normal[MCSC_TEXT] = kPreviousDateText;
      normal[MCSC_TITLETEXT] = kPreviousDateTitleText;
    }
    highContrast.Switch(true);
    Start(host_.HandleText(), previous, "MM-DD-YYYY", "Picked");
    HWND frame = NewestFrame(host_.handle()), calendar = CalendarOf(frame);
    ASSERT_TRUE(calendar);
    EXPECT_EQ(ColoursOf(calendar), inScheme) << "started under High Contrast";
    const struct {
      const char* how;
      HWND to;
      UINT message;
      WPARAM wParam;
    } tellings[] = {{"a paint", nullptr, WM_PAINT, 0},
                    {"WM_THEMECHANGED", calendar, WM_THEMECHANGED, 0},
                    {"WM_SYSCOLORCHANGE", frame, WM_SYSCOLORCHANGE, 0},
                    {"WM_SETTINGCHANGE", frame, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST}};
    for (const auto& telling : tellings) {
      SCOPED_TRACE(telling.how);
      for (bool on : {false, true}) {
        highContrast.Switch(on);
        if (telling.to) SendMessageW(telling.to, telling.message, telling.wParam, 0);
        else RedrawWindow(calendar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        const Colours& wanted = on ? inScheme : normal;
        EXPECT_EQ(ColoursOf(calendar), wanted) << (on ? "on" : "off");
        // Drawn by that paint: the title of a calendar without a style.
        if (!telling.to && *previous) {
          EXPECT_GT(PixelsOf(calendar, wanted[MCSC_TITLEBK]), 100) << (on ? "on" : "off");
          EXPECT_GT(PixelsOf(calendar, wanted[MCSC_TITLETEXT]), 0) << (on ? "on" : "off");
        }
      }
    }
    WatchColourSettings(calendar);
    RedrawWindow(calendar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_EQ(g_colourSettings, 0);
    highContrast.Switch(false);
    RedrawWindow(calendar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    EXPECT_GT(g_colourSettings, 0);
    Stop();
  }
}

// With visual styles the control draws none of the previous date's colours,
// so that calendar is drawn without its style; one without a previous date
// keeps the host's, whatever that is (Wine's calendars have a style in both
// runs, Windows' in the themed run only).
TEST_F(Calendar, OnlyACalendarOnAPreviousDateLeavesTheHostsVisualStyle) {
  using GetWindowThemeProc = HANDLE(WINAPI*)(HWND);
  HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
  auto getWindowTheme =
      uxtheme ? reinterpret_cast<GetWindowThemeProc>(GetProcAddress(uxtheme, "GetWindowTheme")) : nullptr;
  ASSERT_TRUE(getWindowTheme);
  const bool hostStyled = OfAPlainCalendar(host_.handle(), getWindowTheme) != nullptr;
  for (const char* previous : {"12/25/2024", ""}) {
    SCOPED_TRACE(*previous ? previous : "no previous date");
    Start(host_.HandleText(), previous, "MM-DD-YYYY", "Picked");
    HWND calendar = CalendarOf(NewestFrame(host_.handle()));
    EXPECT_EQ(calendar && getWindowTheme(calendar), hostStyled && !*previous);
    Stop();
  }
  FreeLibrary(uxtheme);
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

// The keyboard alone: the calendar takes the focus from the host's control
// it covers; Enter and Space each pick the selected day once, also held
// down, an arrow key only moves the selection (Wine 8's control ignores
// keys: the library's own handling is what is seen there); a second start
// takes the focus from the first calendar, and Stop gives it back to the
// control that had it before either. A calendar over an inactive window
// takes nothing.
TEST_F(Calendar, TakesTheFocusPicksWithEnterAndSpaceAndGivesTheFocusBack) {
  HWND box = CreateWindowW(L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 10, 10, 120, 24,
                           host_.handle(), nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(host_.handle());
  SetFocus(box);
  ASSERT_EQ(GetActiveWindow(), host_.handle());
  ASSERT_EQ(GetFocus(), box);
  Start(host_.HandleText(), "12/25/2024", "MM-DD-YYYY", "Picked");
  HWND calendar = CalendarOf(NewestFrame(host_.handle()));
  ASSERT_TRUE(calendar);
  EXPECT_EQ(GetFocus(), calendar);

  const struct {
    WPARAM key;
    const char* name;
    bool picks;
    int repeats;
  } keys[] = {{VK_RETURN, "Enter", true, 0},   {VK_SPACE, "Space", true, 0},
              {VK_RIGHT, "Right", false, 0},   {VK_RETURN, "Enter held", true, 3},
              {VK_SPACE, "Space held", true, 3}};
  for (const auto& k : keys) {
    SCOPED_TRACE(k.name);
    ClearHostCalls();
    PressKey(calendar, k.key, k.repeats);
    PumpThroughDialogManager(host_.handle(), kSettleMs);
    if (k.picks) {
      EXPECT_EQ(RecordedVariables(), DateVar("12/25/2024"));
      EXPECT_EQ(RecordedScripts(), Scripts{"GoSub \"Picked\""});
    } else {
      EXPECT_TRUE(HostCalls().empty());
    }
  }
  Start(host_.HandleText(), nullptr, "MM-DD-YYYY", "Picked");
  EXPECT_EQ(GetFocus(), CalendarOf(NewestFrame(host_.handle())));
  Stop();
  PumpFor(50);
  EXPECT_EQ(GetFocus(), box);

  HostWindow active(200, 100);
  SetForegroundWindow(active.handle());
  ASSERT_EQ(GetActiveWindow(), active.handle());
  HWND focus = GetFocus();
  Start(host_.HandleText(), nullptr, nullptr, "Picked");
  EXPECT_EQ(GetFocus(), focus);
}

// A form whose loop hands its keys to the dialog manager, with tab stops of
// its own around a panel that the calendar covers: Tab and Shift+Tab reach
// the calendar and leave it in the form's order. The calendar takes the
// focus only from what it covers, never from a control the user types in
// elsewhere in the form.
TEST_F(Calendar, TabReachesTheCalendarInTheFormsOrderAndTheFocusStaysWhereTheUserTypes) {
  HWND form = host_.handle();
  auto child = [](HWND parent, const wchar_t* cls, DWORD style, DWORD exStyle, int x, int width) {
    return CreateWindowExW(exStyle, cls, L"", WS_CHILD | WS_VISIBLE | style, x, 0, width, 24, parent,
                           nullptr, GetModuleHandleW(nullptr), nullptr);
  };
  HWND before = child(form, L"EDIT", WS_TABSTOP, 0, 0, 50);
  HWND panel = child(form, L"STATIC", 0, WS_EX_CONTROLPARENT, 60, 180);
  SetWindowPos(panel, nullptr, 0, 0, 180, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  HWND after = child(form, L"EDIT", WS_TABSTOP, 0, 250, 50);
  ASSERT_TRUE(before && panel && after);
  SetForegroundWindow(form);
  SetFocus(before);
  ASSERT_EQ(GetFocus(), before);
  const std::string panelText = std::to_string(reinterpret_cast<INT_PTR>(panel));
  Start(panelText, nullptr, nullptr, "Picked");
  HWND calendar = CalendarOf(NewestFrame(panel));
  ASSERT_TRUE(calendar);
  EXPECT_EQ(GetFocus(), before) << "taken from a visible control outside the calendar";

  const struct {
    bool shift;
    HWND lands;
    const char* name;
  } tabs[] = {{false, calendar, "Tab into"},
              {false, after, "Tab out of"},
              {true, calendar, "Shift+Tab into"},
              {true, before, "Shift+Tab out of"}};
  for (const auto& tab : tabs) {
    SCOPED_TRACE(tab.name);
    PressTab(tab.shift);
    EXPECT_EQ(GetFocus(), tab.lands);
  }
  Stop();
  PumpFor(50);

  // The focus on the covered window itself goes to the calendar, and back.
  SetFocus(panel);
  ASSERT_EQ(GetFocus(), panel);
  Start(panelText, nullptr, nullptr, "Picked");
  EXPECT_EQ(GetFocus(), CalendarOf(NewestFrame(panel)));
  Stop();
  PumpFor(50);
  EXPECT_EQ(GetFocus(), panel);
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

// On a screen of any DPI (make test runs it at 96 and 192): the calendar
// draws in the 8-point font of that DPI, in the raster template face where
// that draws so small and in the scalable one where not (a raster face too
// large for 96 DPI is loaded), also after a DPI change of its host; a host
// window scaled like the screen holds the whole month grid.
TEST(CalendarDpi, FontAndMonthGridFollowTheScreenDpi) {
  ASSERT_TRUE(kDpiAware);
  int dpi = ScreenDpi();
  if (int wanted = RequestedDpi()) {
    ASSERT_EQ(dpi, wanted);
  }
  ASSERT_TRUE(kRasterFace.loaded()) << kRasterFace.why();
  LibraryGdiObjects libraryObjects(Plugin::Get().module);
  ASSERT_TRUE(libraryObjects.installed());
  long before = libraryObjects.live();
  HostWindow host(MulDiv(300, dpi, 96), MulDiv(240, dpi, 96));
  Start(host.HandleText(), "", "", "DatePicked");
  HWND frame = NewestFrame(host.handle());
  HWND calendar = CalendarOf(frame);
  ASSERT_NE(calendar, nullptr);
  auto expectTheFramesFontInItsFace = [&] {
    HFONT drawn = reinterpret_cast<HFONT>(SendMessageW(calendar, WM_GETFONT, 0, 0));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0)), drawn);
    EXPECT_EQ(FaceOf(drawn), ExpectedDialogFace(dpi));
  };
  expectTheFramesFontInItsFace();
  SendMessageW(frame, 0x02E3 /* WM_DPICHANGED_AFTERPARENT */, 0, 0);
  expectTheFramesFontInItsFace();
  LOGFONTW font = {};
  GetObjectW(reinterpret_cast<HFONT>(SendMessageW(calendar, WM_GETFONT, 0, 0)), sizeof(font), &font);
  EXPECT_EQ(font.lfHeight, -MulDiv(8, dpi, 72));
  RECT hostClient = {}, outer = {}, need = {};
  GetClientRect(host.handle(), &hostClient);
  GetWindowRect(calendar, &outer);
  EXPECT_EQ(outer.right - outer.left, hostClient.right);
  EXPECT_EQ(outer.bottom - outer.top, hostClient.bottom);
  // The grid of one month, with its title and today line, fits the control.
  SendMessageW(calendar, MCM_GETMINREQRECT, 0, reinterpret_cast<LPARAM>(&need));
  EXPECT_GT(need.bottom - need.top, MulDiv(100, dpi, 96));
  EXPECT_LE(need.right - need.left, outer.right - outer.left);
  EXPECT_LE(need.bottom - need.top, outer.bottom - outer.top);
  Stop();
  PumpFor(50);
  // A font the frame made for itself goes with it.
  EXPECT_EQ(libraryObjects.live(), before);
}

// A per-monitor-aware host that moved to a screen of another DPI resizes
// itself; the calendar, told after the host, covers the new client area.
TEST_F(Calendar, CoversItsHostAgainAfterTheHostsDpiChange) {
  Start(host_.HandleText(), "", "", "DatePicked");
  HWND frame = NewestFrame(host_.handle());
  ASSERT_NE(CalendarOf(frame), nullptr);
  RECT outer = WindowRect(host_.handle());
  SetWindowPos(host_.handle(), nullptr, 0, 0, outer.right - outer.left + 150,
               outer.bottom - outer.top + 100, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  SendMessageW(frame, 0x02E3 /* WM_DPICHANGED_AFTERPARENT */, 0, 0);
  RECT client = {};
  GetClientRect(host_.handle(), &client);
  EXPECT_EQ(client.right, 450);
  EXPECT_EQ(client.bottom, 300);
  RECT calendarOuter = WindowRect(CalendarOf(frame));
  EXPECT_EQ(calendarOuter.right - calendarOuter.left, client.right);
  EXPECT_EQ(calendarOuter.bottom - calendarOuter.top, client.bottom);
  RECT frameOuter = WindowRect(frame);
  EXPECT_EQ(frameOuter.right - frameOuter.left, client.right + 1);
  EXPECT_EQ(frameOuter.bottom - frameOuter.top, client.bottom + 1);
  // The font the frame holds after the dialog manager's own handling.
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0));
  EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(CalendarOf(frame), WM_GETFONT, 0, 0)), font);
  EXPECT_EQ(GetObjectType(font), static_cast<DWORD>(OBJ_FONT));
}

// A per-monitor-v2 host, where the system has them: the frame's font is
// made for the host window's own DPI and rescaled by the dialog manager when
// that changes; the calendar draws in the font the frame holds afterwards.
TEST(CalendarDpi, APerMonitorV2HostsCalendarDrawsInTheFramesFontForItsDpi) {
  PerMonitorV2Thread perMonitor;
  if (!perMonitor.active()) GTEST_SKIP() << perMonitor.why();
  Plugin::Get();
  HostWindow host(300, 200);
  Start(host.HandleText(), "", "", "DatePicked");
  HWND frame = NewestFrame(host.handle());
  HWND calendar = CalendarOf(frame);
  ASSERT_NE(calendar, nullptr);
  int dpi = DpiOfWindow(frame);
  auto expectFramesFont = [&] {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0));
    EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageW(calendar, WM_GETFONT, 0, 0)), font);
    LOGFONTW logFont = {};
    EXPECT_TRUE(GetObjectW(font, sizeof(logFont), &logFont));
    EXPECT_EQ(logFont.lfHeight, -MulDiv(8, dpi, 72));
    EXPECT_EQ(FaceOf(font), ExpectedDialogFace(dpi));
  };
  expectFramesFont();
  SendMessageW(frame, 0x02E3 /* WM_DPICHANGED_AFTERPARENT */, 0, 0);
  expectFramesFont();
  RECT client = {}, covered = WindowRect(calendar);
  GetClientRect(host.handle(), &client);
  EXPECT_EQ(covered.right - covered.left, client.right);
  EXPECT_EQ(covered.bottom - covered.top, client.bottom);
  Stop();
  PumpFor(50);
}
