#include "rig/month_calendar.h"

#include <commctrl.h>

namespace {
constexpr int kScanStep = 2;  // pixels; cells are far larger

bool IsDay(const SYSTEMTIME& st, WORD year, WORD month, WORD day) {
  return st.wYear == year && st.wMonth == month && st.wDay == day;
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

  RECT client = {};
  GetClientRect(calendar, &client);
  long sumX = 0, sumY = 0, hits = 0;
  for (int y = 0; y < client.bottom; y += kScanStep) {
    for (int x = 0; x < client.right; x += kScanStep) {
      MCHITTESTINFO hit = {};
      hit.cbSize = MCHITTESTINFO_V1_SIZE;
      hit.pt = {x, y};
      SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.uHit == MCHT_CALENDARDATE && IsDay(hit.st, year, month, day)) {
        sumX += x, sumY += y, ++hits;
      }
    }
  }
  if (!hits) return false;
  // The middle of the cell: clear of its edges.
  LPARAM at = MAKELPARAM(sumX / hits, sumY / hits);
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
