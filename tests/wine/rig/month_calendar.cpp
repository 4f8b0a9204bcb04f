#include "rig/month_calendar.h"

#include <commctrl.h>

#include "day_cell.h"
#include "rig/recorder.h"

namespace {

WNDPROC g_controlProc;
int g_survived, g_destroyed, g_hostCallsInside;

LRESULT CALLBACK WatchedControlProc(HWND calendar, UINT message, WPARAM wParam, LPARAM lParam) {
  bool button = message == WM_LBUTTONDOWN || message == WM_LBUTTONUP;
  size_t callsBefore = HostCalls().size();
  LRESULT result = CallWindowProcW(g_controlProc, calendar, message, wParam, lParam);
  if (button) {
    ++(IsWindow(calendar) ? g_survived : g_destroyed);
    if (HostCalls().size() > callsBefore) ++g_hostCallsInside;
  }
  return result;
}

// Before the window exists for its creator: no one has wrapped it yet.
LRESULT CALLBACK WatchCreation(int code, WPARAM wParam, LPARAM lParam) {
  if (code == HCBT_CREATEWND) {
    HWND window = reinterpret_cast<HWND>(wParam);
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (lstrcmpiW(name, MONTHCAL_CLASSW) == 0)
      g_controlProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
          window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WatchedControlProc)));
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

bool PostClickOnDay(HWND calendar, WORD year, WORD month, WORD day) {
  // Showing the month by selecting another of its days keeps the click a
  // real change of selection.
  SYSTEMTIME show = {};
  show.wYear = year;
  show.wMonth = month;
  show.wDay = day == 15 ? 16 : 15;
  SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&show));

  POINT centre;
  if (!FindDayCell(calendar, year, month, day, &centre)) return false;
  LPARAM at = MAKELPARAM(centre.x, centre.y);
  PostMessageW(calendar, WM_LBUTTONDOWN, MK_LBUTTON, at);
  PostMessageW(calendar, WM_LBUTTONUP, 0, at);
  return true;
}

SYSTEMTIME CalendarSelection(HWND calendar) {
  SYSTEMTIME st = {};
  SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&st));
  SYSTEMTIME out = {};
  out.wYear = st.wYear;
  out.wMonth = st.wMonth;
  out.wDay = st.wDay;
  return out;
}

ControlHandlingWatch::ControlHandlingWatch()
    : hook_(SetWindowsHookExW(WH_CBT, WatchCreation, nullptr, GetCurrentThreadId())) {
  g_survived = g_destroyed = g_hostCallsInside = 0;
}

ControlHandlingWatch::~ControlHandlingWatch() {
  if (hook_) UnhookWindowsHookEx(hook_);
}

int ControlHandlingWatch::survived() const { return g_survived; }
int ControlHandlingWatch::destroyed() const { return g_destroyed; }
int ControlHandlingWatch::hostCallsInside() const { return g_hostCallsInside; }
