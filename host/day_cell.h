// Where a day lies on a month-calendar control, found the way a mouse user
// would find it: the control is asked (MCM_HITTEST) over a fine grid, since
// Wine answers neither MCM_GETCALENDARGRIDINFO nor MCM_GETITEMRECT. Shared
// by the autopilot and the Wine tests' calendar picks.
#pragma once
#include <windows.h>

// The middle of the cell of that day among the days of the shown month(s);
// a year or month of 0 matches any. False when no such cell is shown.
bool FindDayCell(HWND calendar, WORD year, WORD month, WORD day, POINT* centre);
