// xr_Dialogs_CalendarStart and xr_Dialogs_CalendarStop: a month calendar laid
// over a host window, living on the host's thread after the action returns.
#include <windows.h>
#include <commctrl.h>

#include "calendar/calendar_font.h"
#include "calendar/calendar_state.h"
#include "dialogs/dialog_window.h"
#include "plugin/action_procedures.h"
#include "plugin/catch_all.h"
#include "plugin/text_to_number.h"

CalendarState g_calendar;

namespace {

// No WS_VISIBLE: the frame is sized and filled before it is shown.
constexpr DWORD kFrameStyle = WS_CHILD | DS_SETFONT | DS_NOFAILCREATE | DS_3DLOOK;
// Inside a host window the frame is a control parent (the dialog manager
// adds WS_EX_CONTROLPARENT), so that Tab in the host's loop enters the
// calendar and leaves it in the host's order instead of skipping it.
constexpr DWORD kChildFrameStyle = kFrameStyle | DS_CONTROL;
// Single-day selection: no MCS_ bits.
constexpr DWORD kCalendarStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP;
constexpr DWORD kCalendarExStyle = WS_EX_CLIENTEDGE;
// On top of the host's other children, an earlier calendar included: new
// children start at the bottom of their siblings.
constexpr UINT kFramePlacement = SWP_NOREDRAW | SWP_NOACTIVATE | SWP_NOCOPYBITS |
                                 SWP_NOOWNERZORDER | SWP_NOSENDCHANGING;
constexpr UINT kFrameRedraw = RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW;
constexpr uint16_t kFramePoints = 8;

// Without a host window the frame cannot be a child: it becomes a borderless
// top-level pop-up at the screen's corner instead.
DWORD FrameStyle(HWND host) { return host ? kChildFrameStyle : (kFrameStyle & ~WS_CHILD) | WS_POPUP; }

HWND CreateCalendarFrame(HWND host, int width, int height) {
  DialogTemplateLayout layout{FrameStyle(host), 0, 0, 0, 0, 0, u"",
                              kFramePoints, FW_NORMAL, FALSE, ANSI_CHARSET, u"MS Sans Serif"};
  HWND frame = CreateTemplateDialog(layout, host, CalendarFrameProc);
  if (!frame) return nullptr;
  // One pixel larger than the host's client area in each direction.
  SetWindowPos(frame, HWND_TOP, 0, 0, width + 1, height + 1, kFramePlacement);
  SetWindowTextW(frame, L"");
  FitCalendarFrameFont(frame);
  return frame;
}

HWND CreateCalendarControl(HWND frame, int width, int height) {
  HWND calendar = CreateWindowExW(kCalendarExStyle, MONTHCAL_CLASSW, L"", kCalendarStyle, 0, 0,
                                  width, height, frame,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kCalendarControlId)),
                                  LibraryInstance(), nullptr);
  if (!calendar) return nullptr;
  SendMessageW(calendar, WM_SETFONT, SendMessageW(frame, WM_GETFONT, 0, 0), TRUE);
  WrapCalendarControl(calendar);
  InstallHandler(calendar, frame, CalendarSelectionHandler);
  return calendar;
}

// Shows the frame without waiting for it, announcing it to its handler the
// way a dialog would see its start.
void ShowCalendarFrame(HWND frame) {
  CalendarSelectionHandler(frame, WM_INITDIALOG, reinterpret_cast<WPARAM>(frame), 0);
  RECT client = {};
  GetClientRect(frame, &client);
  CalendarSelectionHandler(frame, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
  if (!frame) return;
  InstallHandler(frame, frame, CalendarSelectionHandler);
  ShowWindow(frame, SW_SHOW);
  RedrawWindow(frame, nullptr, nullptr, kFrameRedraw);
}

// Frames that went with their host window are no longer ours to stop.
void ForgetDeadFrames() {
  std::vector<StartedFrame>& frames = g_calendar.frames;
  for (size_t i = frames.size(); i-- > 0;)
    if (!IsCalendarFrame(frames[i].window)) frames.erase(frames.begin() + i);
}

bool HoldsFocus(HWND window, HWND focus) {
  return focus && (focus == window || IsChild(window, focus));
}

// The calendar takes the keyboard only from what it covers: the host window
// itself or a control inside it (an older calendar included), or when the
// host is the active window itself. A visible control elsewhere in the
// active window keeps the focus, and so does any window over an inactive
// host; the user can Tab into the calendar from there.
bool TakesTheFocus(HWND host, HWND focus) {
  if (!host) return false;
  if (focus) return HoldsFocus(host, focus);
  return host == GetActiveWindow();
}

// Where the focus goes back to when the new calendar goes. Taken from a
// calendar of ours, it goes back where that one would have sent it.
HWND FocusToReturnTo(HWND focus) {
  for (const StartedFrame& started : g_calendar.frames)
    if (HoldsFocus(started.window, focus)) return started.focusBefore;
  return focus;
}

// Before a frame is hidden or destroyed while its calendar holds the focus:
// back to the window that had it before Start, or to the host window when
// that one is gone.
void ReturnFocus(const StartedFrame& started) {
  if (!HoldsFocus(started.window, GetFocus())) return;
  HWND target = started.focusBefore;
  if (!target || !IsWindow(target) || HoldsFocus(started.window, target))
    target = GetParent(started.window);
  if (target) SetFocus(target);
}

}  // namespace

void RefitCalendarFrame(HWND frame) {
  if (!IsCalendarFrame(frame)) return;
  // The dialog manager has made the frame a font for its new DPI from the
  // template: judged again, as at Start.
  FitCalendarFrameFont(frame);
  HWND host = GetParent(frame);
  RECT client = {};
  if (!host || !GetClientRect(host, &client)) return;
  constexpr UINT kRefit = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER;
  SetWindowPos(frame, nullptr, 0, 0, client.right + 1, client.bottom + 1, kRefit);
  if (HWND calendar = GetDlgItem(frame, kCalendarControlId))
    SetWindowPos(calendar, nullptr, 0, 0, client.right, client.bottom, kRefit);
}

bool IsCalendarFrame(HWND frame) {
  return frame && IsKnownDialog(frame) && FindHandler(frame) == CalendarSelectionHandler;
}

void RemoveCalendarFrame(HWND frame) {
  if (!IsCalendarFrame(frame)) return;
  SendMessageA(frame, WM_CLOSE, 0, 0);
  if (IsKnownDialog(frame)) DestroyWindow(frame);
}

void RemoveStoppedFrames() {
  if (g_calendar.picksInProgress > 0) return;
  std::vector<HWND> frames;
  frames.swap(g_calendar.framesToRemove);
  for (HWND frame : frames) RemoveCalendarFrame(frame);
}

void ScheduleStoppedFrames() {
  std::vector<HWND>& frames = g_calendar.framesToRemove;
  for (size_t i = frames.size(); i-- > 0;) {
    // A frame that went with its host window needs no removal. One whose
    // message could not be posted stays listed for the next Start or Stop.
    if (IsCalendarFrame(frames[i])) PostMessageW(frames[i], kMsgRemoveCalendarFrame, 0, 0);
    else frames.erase(frames.begin() + i);
  }
}

namespace {

void StartCalendar(const char* handle, const char* previousDate, const char* dateStyle,
                   const char* subroutine) {
  // The handle's 32 bits, sign-extended on x86-64 as the system does, so a
  // host that writes it unsigned names the same window.
  HWND host = reinterpret_cast<HWND>(static_cast<INT_PTR>(static_cast<int32_t>(TextToUInt32Bits(handle))));
  g_calendar.previousDate = previousDate ? previousDate : "";
  g_calendar.style = ReadDateStyle(dateStyle, g_calendar.style);
  g_calendar.subroutine = subroutine ? subroutine : "";

  INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_DATE_CLASSES};
  InitCommonControlsEx(&controls);

  RECT client = {};
  if (!GetClientRect(host, &client)) client = RECT{};
  ForgetDeadFrames();
  RemoveStoppedFrames();
  // Room first: a frame on screen must never go unremembered.
  g_calendar.frames.reserve(g_calendar.frames.size() + 1);
  HWND focus = GetFocus();
  HWND focusBefore = FocusToReturnTo(focus);
  HWND frame = CreateCalendarFrame(host, client.right, client.bottom);
  HWND calendar = nullptr;
  try {
    if (frame) calendar = CreateCalendarControl(frame, client.right, client.bottom);
    ShowCalendarFrame(frame);
  } catch (...) {
    // Half built: gone rather than left behind where no Stop reaches it.
    if (frame && IsWindow(frame)) DestroyWindow(frame);
    throw;
  }
  // The handler may not have survived its own initialisation (a host that
  // destroys its window in between); keep only a frame that did.
  if (!IsCalendarFrame(frame)) return;
  g_calendar.frames.push_back({frame, focusBefore});
  // The calendar covers the control that had the focus: keys go to it now.
  if (calendar && TakesTheFocus(host, focus)) SetFocus(calendar);
}

void StopCalendars() {
  // Every calendar still on screen goes, not just the newest: a second start
  // lays its calendar over the first, which would otherwise stay for good.
  RemoveStoppedFrames();
  // Room first, so that no frame is hidden and then lost.
  g_calendar.framesToRemove.reserve(g_calendar.framesToRemove.size() + g_calendar.frames.size());
  std::vector<StartedFrame> frames;
  frames.swap(g_calendar.frames);
  for (const StartedFrame& started : frames) {
    HWND frame = started.window;
    if (!IsCalendarFrame(frame)) continue;
    ReturnFocus(started);
    if (g_calendar.picksInProgress > 0) {
      ShowWindow(frame, SW_HIDE);
      g_calendar.framesToRemove.push_back(frame);
    } else {
      RemoveCalendarFrame(frame);
    }
  }
}

}  // namespace

int32_t __stdcall XrDialogsCalendarStart(const char* handle, const char* previousDate,
                                         const char* dateStyle, const char* subroutine) {
  CatchAll([&] { StartCalendar(handle, previousDate, dateStyle, subroutine); });
  return 0;
}

int32_t __stdcall XrDialogsCalendarStop() {
  CatchAll([] { StopCalendars(); });
  return 0;
}
