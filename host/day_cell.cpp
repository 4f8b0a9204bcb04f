#include "day_cell.h"

#include <commctrl.h>

namespace {
constexpr int kScanStep = 2;  // pixels between two hit tests; cells are far larger
}  // namespace

bool FindDayCell(HWND calendar, WORD year, WORD month, WORD day, POINT* centre) {
  RECT client = {};
  GetClientRect(calendar, &client);
  long sumX = 0, sumY = 0, hits = 0;
  for (int y = 0; y < client.bottom; y += kScanStep) {
    for (int x = 0; x < client.right; x += kScanStep) {
      MCHITTESTINFO hit = {};
      hit.cbSize = MCHITTESTINFO_V1_SIZE;
      hit.pt = {x, y};
      SendMessageW(calendar, MCM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
      if (hit.uHit != MCHT_CALENDARDATE || hit.st.wDay != day) continue;
      if ((year && hit.st.wYear != year) || (month && hit.st.wMonth != month)) continue;
      sumX += x;
      sumY += y;
      ++hits;
    }
  }
  if (hits == 0) return false;
  // The middle of the cell: clear of its edges.
  *centre = {sumX / hits, sumY / hits};
  return true;
}
