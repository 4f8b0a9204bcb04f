// The month calendar with the keyboard alone through the real DLL: the
// focus, picks with Enter and Space, and the form's Tab order.
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

}  // namespace


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
