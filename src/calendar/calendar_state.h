// What Calendar Start leaves behind for the picks and for Calendar Stop.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "calendar/date_text.h"

// Control identifier of the month calendar inside its frame.
constexpr int kCalendarControlId = 20;

// Posted to a frame that Stop removed while a pick was being handled, once
// the outermost pick has ended: the control is still inside its own input
// handling during a pick, so the frame is only hidden then. A removal that
// arrives while another pick runs (a modal loop of the subroutine dispatched
// it) waits for that pick to end.
constexpr UINT kMsgRemoveCalendarFrame = WM_APP + 20;

// A frame that Start showed, and where the keyboard focus goes back to when
// the frame goes while its calendar holds the focus.
struct StartedFrame {
  HWND window;
  HWND focusBefore;  // null: the host window
};

// One record for the process, filled by every start. Picks read the values
// of the latest start, whichever calendar they come from.
struct CalendarState {
  std::vector<StartedFrame> frames;  // started and not yet stopped, newest last
  std::vector<HWND> framesToRemove;  // stopped during a pick, hidden, not yet destroyed
  std::string previousDate;
  DateStyle style = DateStyle::MonthDayYear;
  std::string subroutine;
  int picksInProgress = 0;  // nesting depth of the pick handler
};

extern CalendarState g_calendar;

// Handler of both the frame and its calendar control: preselects the
// previous date on WM_INITDIALOG and reports each pick to the host.
LRESULT CALLBACK CalendarSelectionHandler(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);

// Reports the day that the calendar has selected, as a click on it would.
void PickSelectedDay(HWND calendar);

// Reports a picked day to the host: "xr_Date", then the subroutine.
void ReportPickedDay(const SYSTEMTIME& day);

// Wraps the control's own window procedure for the keyboard picks, the
// dialog code that keeps a dialog manager's loop from eating them, and the
// colours that follow High Contrast. The wrapper goes with the control.
void WrapCalendarControl(HWND calendar);

// While the control's own procedure is handling a message (a click), keeps
// the day for a report once that handling is over, and returns true;
// otherwise returns false and the caller reports at once.
bool DeferPick(HWND calendar, const SYSTEMTIME& day);

// True while the control handles a key press: a selection it notifies then
// is a move, not a pick.
bool IsCalendarHandlingKey(HWND calendar);

// Marks the control as showing a previous date: drawn without the host's
// visual style, in the previous-date colours (the system's under High
// Contrast), which then follow every change.
void MarkPreviousDate(HWND calendar);

// True while frame is a calendar frame that still exists.
bool IsCalendarFrame(HWND frame);

// Closes and destroys a calendar frame (and its control) now; does nothing
// for any other window.
void RemoveCalendarFrame(HWND frame);

// Removes the stopped frames that waited for the picks to end, when no pick
// is being handled; otherwise leaves them waiting.
void RemoveStoppedFrames();

// Sent to the frame after its per-monitor-aware host has handled a move to a
// screen of another DPI (Windows 10 1703 and later). The dialog manager
// makes the frame a font for the new DPI in its own handling of it.
constexpr UINT kWM_DPICHANGED_AFTERPARENT = 0x02E3;

// Lays the frame and its calendar over the host's client area again, as
// Start did, and hands the calendar the frame's current font: the host has
// resized itself for the new DPI, and the font it had may be gone.
void RefitCalendarFrame(HWND frame);

// Called when the outermost pick has ended: asks each waiting frame, by a
// posted message, to be removed once the control's input handling is over.
void ScheduleStoppedFrames();
