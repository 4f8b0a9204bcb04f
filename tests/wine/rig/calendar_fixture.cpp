#include "rig/calendar_fixture.h"

#include "rig/driver.h"

const BOOL kDpiAware = SetProcessDPIAware();
const HighDpiRasterFace kRasterFace;

void Start(const std::string& handle, const char* previous, const char* style,
           const char* subroutine) {
  EXPECT_EQ(Exec(4, {handle.c_str(), previous, style, subroutine}), 1u);
}
void Stop() { EXPECT_EQ(Exec(5, {}), 1u); }

std::vector<HWND> Frames(HWND host) { return ChildrenOfClass(host, L"#32770"); }
HWND NewestFrame(HWND host) {
  std::vector<HWND> frames = Frames(host);
  return frames.empty() ? nullptr : frames.front();
}
HWND CalendarOf(HWND frame) { return frame ? GetDlgItem(frame, kCalendarId) : nullptr; }

PickSeen Pick(HWND calendar, WORD year, WORD month, WORD day) {
  ClearHostCalls();
  PickSeen seen;
  seen.clicked = PostClickOnDay(calendar, year, month, day);
  PumpUntil([] { return !RecordedScripts().empty(); }, kPickTimeoutMs);
  PumpFor(kSettleMs);
  seen.variables = RecordedVariables();
  seen.scripts = RecordedScripts();
  return seen;
}

Vars DateVar(const char* text) { return {{"xr_Date", text}}; }

bool SameDay(const SYSTEMTIME& a, WORD year, WORD month, WORD day) {
  return a.wYear == year && a.wMonth == month && a.wDay == day;
}

std::string DayText(const SYSTEMTIME& st) {
  return std::to_string(st.wYear) + "-" + std::to_string(st.wMonth) + "-" + std::to_string(st.wDay);
}
