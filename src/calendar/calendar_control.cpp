// The month calendar's own window procedure, wrapped: Enter and Space pick
// the selected day as a click does, a click's pick is reported once the
// control has finished with the click, a dialog manager's loop is told to
// leave Enter to the control, and the calendar's colours are checked at each
// paint and each colour or theme change so that High Contrast shows at once.
#include <windows.h>
#include <commctrl.h>

#include <new>

#include "calendar/calendar_colours.h"
#include "calendar/calendar_state.h"
#include "plugin/catch_all.h"

namespace {

// Kept as a window property of the control, from the wrapping to its
// WM_NCDESTROY.
constexpr wchar_t kRecordName[] = L"VelDialogs.CalendarControl";

struct ControlRecord {
  WNDPROC original;
  int keysInHandling;   // nested WM_KEYDOWN calls of the original procedure
  int callsInHandling;  // nested calls of the original procedure, any message
  bool pickWaiting;     // a pick notified during the calls above, not yet reported
  SYSTEMTIME pickedDay;
  CalendarColours colours;
};

LRESULT CALLBACK WrappedCalendarProc(HWND calendar, UINT message, WPARAM wParam, LPARAM lParam);

ControlRecord* RecordOf(HWND calendar) {
  return static_cast<ControlRecord*>(GetPropW(calendar, kRecordName));
}

bool IsPickKey(WPARAM key) { return key == VK_RETURN || key == VK_SPACE; }

// Bit 30 of a key message: the key was already down. A held key is one pick,
// as a held mouse button is one click.
bool IsRepeat(LPARAM flags) { return (flags & (LPARAM(1) << 30)) != 0; }

// In the year, decade and century views (Windows Vista and later) Enter and
// Space zoom in; only in the month view is there a day to pick. Controls
// without views answer 0, which is the month view.
bool ShowsMonthView(HWND calendar) {
  return SendMessageW(calendar, MCM_GETCURRENTVIEW, 0, 0) == MCMV_MONTH;
}

// Without DLGC_WANTMESSAGE for Enter, IsDialogMessage turns it into IDOK for
// the host's dialog; arrows and typed characters are the control's too.
LRESULT DialogCode(WNDPROC original, HWND calendar, WPARAM wParam, LPARAM lParam) {
  LRESULT code = CallWindowProcW(original, calendar, WM_GETDLGCODE, wParam, lParam);
  code |= DLGC_WANTARROWS | DLGC_WANTCHARS;
  const MSG* message = reinterpret_cast<const MSG*>(lParam);
  if (message && message->message == WM_KEYDOWN && message->wParam == VK_RETURN)
    code |= DLGC_WANTMESSAGE;
  return code;
}

// The control's own handling of a message. A pick that it notifies meanwhile
// (a click) waits until the outermost call has returned: the subroutine may
// destroy the control, or its host window, which must not happen while the
// control's own code is still running for it.
LRESULT CallOriginal(HWND calendar, UINT message, WPARAM wParam, LPARAM lParam) {
  ControlRecord* record = RecordOf(calendar);
  ++record->callsInHandling;
  LRESULT result = CallWindowProcW(record->original, calendar, message, wParam, lParam);
  record = RecordOf(calendar);
  if (!record || --record->callsInHandling > 0 || !record->pickWaiting) return result;
  record->pickWaiting = false;
  const SYSTEMTIME day = record->pickedDay;
  // The pick reports to the host, which allocates. The record may be gone
  // after it.
  CatchAll([&] { ReportPickedDay(day); });
  return result;
}

// The control first handles the key itself (moving the selection, or a pick
// notification of its own, which the handler ignores while the key is being
// handled); then Enter or Space reports the selected day once.
LRESULT HandleKey(HWND calendar, WPARAM key, LPARAM flags) {
  bool pick = IsPickKey(key) && !IsRepeat(flags) && ShowsMonthView(calendar);
  ++RecordOf(calendar)->keysInHandling;
  LRESULT result = CallOriginal(calendar, WM_KEYDOWN, key, flags);
  // Host code that ran during the key may have destroyed the control.
  ControlRecord* record = RecordOf(calendar);
  if (!record) return result;
  --record->keysInHandling;
  if (pick) PickSelectedDay(calendar);
  return result;
}

// The control handles the change first (a new theme, its own colours from
// the system's); then the library's colours go on top.
LRESULT HandleColourChange(WNDPROC original, HWND calendar, UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = CallWindowProcW(original, calendar, message, wParam, lParam);
  if (ControlRecord* record = RecordOf(calendar)) ShowCalendarColours(calendar, &record->colours);
  return result;
}

// The last message the control sees: the original procedure goes back in
// place, if no one wrapped the control after us, and the record goes.
LRESULT Unwrap(ControlRecord* record, HWND calendar, WPARAM wParam, LPARAM lParam) {
  WNDPROC original = record->original;
  RemovePropW(calendar, kRecordName);
  delete record;
  if (GetWindowLongPtrW(calendar, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&WrappedCalendarProc))
    SetWindowLongPtrW(calendar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(original));
  return CallWindowProcW(original, calendar, WM_NCDESTROY, wParam, lParam);
}

LRESULT CALLBACK WrappedCalendarProc(HWND calendar, UINT message, WPARAM wParam, LPARAM lParam) {
  ControlRecord* record = RecordOf(calendar);
  if (!record) return DefWindowProcW(calendar, message, wParam, lParam);
  WNDPROC original = record->original;
  switch (message) {
    case WM_GETDLGCODE:
      return DialogCode(original, calendar, wParam, lParam);
    case WM_KEYDOWN:
      // The pick reports to the host, which allocates.
      return CatchAll<LRESULT>(0, [&] { return HandleKey(calendar, wParam, lParam); });
    case WM_PAINT:
      ShowCalendarColours(calendar, &record->colours);
      break;
    // The system sends WM_THEMECHANGED to every window; the other two reach
    // the control when its frame passes on what the host forwarded to it.
    case WM_THEMECHANGED:
    case WM_SYSCOLORCHANGE:
    case WM_SETTINGCHANGE:
      return HandleColourChange(original, calendar, message, wParam, lParam);
    case WM_NCDESTROY:
      return Unwrap(record, calendar, wParam, lParam);
  }
  return CallOriginal(calendar, message, wParam, lParam);
}

}  // namespace

void WrapCalendarControl(HWND calendar) {
  auto* record = new (std::nothrow) ControlRecord{nullptr, 0, 0, false, {}, {}};
  if (!record) return;  // a calendar without keyboard picks rather than none
  if (!SetPropW(calendar, kRecordName, record)) {
    delete record;
    return;
  }
  record->original = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(calendar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WrappedCalendarProc)));
  if (!record->original) {
    RemovePropW(calendar, kRecordName);
    delete record;
    return;
  }
  // Read before the library changes any, then the scheme's where High
  // Contrast is on.
  ReadOwnColours(calendar, &record->colours);
  ShowCalendarColours(calendar, &record->colours);
}

bool DeferPick(HWND calendar, const SYSTEMTIME& day) {
  ControlRecord* record = calendar ? RecordOf(calendar) : nullptr;
  if (!record || record->callsInHandling == 0) return false;
  record->pickWaiting = true;
  record->pickedDay = day;
  return true;
}

bool IsCalendarHandlingKey(HWND calendar) {
  ControlRecord* record = calendar ? RecordOf(calendar) : nullptr;
  return record && record->keysInHandling > 0;
}

void MarkPreviousDate(HWND calendar) {
  ControlRecord* record = RecordOf(calendar);
  // An unwrapped control gets the marks once, without following changes.
  CalendarColours unwrapped;
  CalendarColours* colours = record ? &record->colours : &unwrapped;
  if (!record) ReadOwnColours(calendar, colours);
  colours->previousDate = true;
  // The marks take effect only without the host's visual style.
  DrawWithoutVisualStyle(calendar);
  ShowCalendarColours(calendar, colours);
}
