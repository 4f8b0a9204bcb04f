// What the calendar does after Start has returned: the preselection when its
// frame initialises, and one host report per pick.
#include <windows.h>
#include <commctrl.h>

#include "calendar/calendar_state.h"
#include "calendar/date_text.h"
#include "plugin/host_callbacks.h"

namespace {

// Pre-selects the previous date in the style in force. A date the control
// refuses (a field missing or out of range) leaves its own default selection.
void PreselectPreviousDate(HWND frame) {
  if (g_calendar.previousDate.empty()) return;
  CalendarDate date = ReadDateText(g_calendar.previousDate.c_str(), g_calendar.style);
  HWND calendar = GetDlgItem(frame, kCalendarControlId);
  if (!calendar) return;
  MarkPreviousDate(calendar);
  SYSTEMTIME selected = {};
  selected.wYear = date.year;
  selected.wMonth = date.month;
  selected.wDay = date.day;
  SendMessageW(calendar, MCM_SETCURSEL, 0, reinterpret_cast<LPARAM>(&selected));
}

// Counts the picks being handled, so that a Stop run by the subroutine knows
// that the control is still inside its input handling. The frames it stopped
// are removed once the outermost pick is over.
struct PickInProgress {
  PickInProgress() { ++g_calendar.picksInProgress; }
  ~PickInProgress() {
    if (--g_calendar.picksInProgress == 0) ScheduleStoppedFrames();
  }
  PickInProgress(const PickInProgress&) = delete;
  PickInProgress& operator=(const PickInProgress&) = delete;
};

// The notification belongs to the control, which the subroutine may destroy:
// everything needed is copied before the host runs anything.
void ReportPick(const SYSTEMTIME& day) {
  PickInProgress guard;
  CalendarDate date;
  date.year = day.wYear;
  date.month = day.wMonth;
  date.day = day.wDay;
  const std::string text = FormatDateText(date, g_calendar.style);
  const std::string line = GoSubLine(g_calendar.subroutine);
  SetHostVariable("xr_Date", text);
  RunHostScript(line);
}

// The frame the dialog manager is handling WM_DPICHANGED_AFTERPARENT for,
// at the handler's request.
HWND g_frameInDialogManager = nullptr;

// The dialog manager makes the frame its font for the new DPI only after the
// handler has declined the message: it is asked to do that first, so that
// the calendar gets the new font and not one about to be deleted.
void RefitAfterDialogManager(HWND frame, WPARAM wParam, LPARAM lParam) {
  HWND outer = g_frameInDialogManager;
  g_frameInDialogManager = frame;
  DefDlgProcW(frame, kWM_DPICHANGED_AFTERPARENT, wParam, lParam);
  g_frameInDialogManager = outer;
  RefitCalendarFrame(frame);
}

}  // namespace

void ReportPickedDay(const SYSTEMTIME& day) { ReportPick(day); }

void PickSelectedDay(HWND calendar) {
  SYSTEMTIME day = {};
  if (SendMessageW(calendar, MCM_GETCURSEL, 0, reinterpret_cast<LPARAM>(&day))) ReportPick(day);
}

LRESULT CALLBACK CalendarSelectionHandler(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      PreselectPreviousDate(frame);
      return 0;
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lParam);
      if (!header || header->code != MCN_SELECT) return 0;
      // A key that moves the selection is no pick; Enter and Space are
      // reported once, by the wrapper, after the control's own handling.
      if (IsCalendarHandlingKey(header->hwndFrom)) return 1;
      // A click is reported once the control has finished with it.
      const SYSTEMTIME& day = reinterpret_cast<const NMSELCHANGE*>(lParam)->stSelStart;
      if (!DeferPick(header->hwndFrom, day)) ReportPick(day);
      // Handled: the routing must not hand the same pick to the frame again.
      return 1;
    }
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      // Top-level windows receive these and forward them to their controls,
      // the frame among them; the calendar is the frame's own control.
      if (HWND calendar = GetDlgItem(frame, kCalendarControlId))
        SendMessageW(calendar, message, wParam, lParam);
      return 0;
    case kMsgRemoveCalendarFrame:
      RemoveStoppedFrames();
      return 1;
    case kWM_DPICHANGED_AFTERPARENT:
      if (frame == g_frameInDialogManager) return 0;
      RefitAfterDialogManager(frame, wParam, lParam);
      return 1;
  }
  return 0;
}
