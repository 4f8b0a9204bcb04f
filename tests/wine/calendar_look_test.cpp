// The month calendar's looks through the real DLL: the previous date's
// colours, High Contrast, visual styles and the screen's DPI.
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

// The text and title colours that mark a calendar opened on a previous date.
constexpr COLORREF kPreviousDateText = 0x0000FF3C;
constexpr COLORREF kPreviousDateTitleText = 0x003CFF00;

SYSTEMTIME Today() {
  SYSTEMTIME now = {};
  GetLocalTime(&now);
  return now;
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

}  // namespace

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
