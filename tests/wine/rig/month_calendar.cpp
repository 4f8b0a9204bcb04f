#include "rig/month_calendar.h"

#include <commctrl.h>

#include "day_cell.h"

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
