#include "calendar/calendar_font.h"

#include "calendar/calendar_state.h"
#include "dialogs/dialog_font.h"
#include "dialogs/dialog_window.h"

namespace {

constexpr wchar_t kFrameFontProperty[] = L"VelDialogs.CalendarFont";

// The frame asked for the dialog manager's own font, at the library's request.
HWND g_frameAskedForDialogFont = nullptr;

HFONT DialogManagersFont(HWND frame) {
  HWND outer = g_frameAskedForDialogFont;
  g_frameAskedForDialogFont = frame;
  auto font = reinterpret_cast<HFONT>(SendMessageW(frame, WM_GETFONT, 0, 0));
  g_frameAskedForDialogFont = outer;
  return font;
}

}  // namespace

INT_PTR CALLBACK CalendarFrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_GETFONT && frame != g_frameAskedForDialogFont) {
    if (HANDLE own = GetPropW(frame, kFrameFontProperty)) {
      SetWindowLongPtrW(frame, DWLP_MSGRESULT, reinterpret_cast<LONG_PTR>(own));
      return TRUE;
    }
  }
  // The calendar that drew in it has gone before its parent's last message.
  if (message == WM_NCDESTROY)
    if (HANDLE own = RemovePropW(frame, kFrameFontProperty)) DeleteObject(own);
  return RoutingDialogProc(frame, message, wParam, lParam);
}

void FitCalendarFrameFont(HWND frame) {
  if (!frame) return;
  HFONT dialogFont = DialogManagersFont(frame);
  HFONT fitted = dialogFont && !DrawsAtItsHeight(dialogFont) ? CreateScalableCounterpart(dialogFont)
                                                             : nullptr;
  HANDLE replaced = RemovePropW(frame, kFrameFontProperty);
  if (fitted && !SetPropW(frame, kFrameFontProperty, fitted)) {
    DeleteObject(fitted);
    fitted = nullptr;
  }
  if (HWND calendar = GetDlgItem(frame, kCalendarControlId))
    SendMessageW(calendar, WM_SETFONT, SendMessageW(frame, WM_GETFONT, 0, 0), TRUE);
  // The calendar holds the new font now.
  if (replaced) DeleteObject(replaced);
}
