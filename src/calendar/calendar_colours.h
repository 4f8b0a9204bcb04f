// The six colours of a calendar control: the control's own, the marks of a
// previous date, and the user's scheme while High Contrast is on.
#pragma once
#include <windows.h>

// MCSC_BACKGROUND (0) to MCSC_TRAILINGTEXT (5).
constexpr int kCalendarColourCount = 6;

struct CalendarColours {
  COLORREF own[kCalendarColourCount];    // the control's, read before any change
  COLORREF shown[kCalendarColourCount];  // what the library last set, own at first
  bool previousDate;                     // the previous-date marks apply
};

// Reads the control's own colours; sets nothing.
void ReadOwnColours(HWND calendar, CalendarColours* colours);

// Gives the control the colours wanted now: the system's under High
// Contrast, otherwise its own with the previous-date marks where they apply.
// Only a colour that differs from the one last set is sent: with visual
// styles the control reports colours it does not draw, so it is not asked.
void ShowCalendarColours(HWND calendar, CalendarColours* colours);

// Draws the control without its visual style, which would ignore every
// colour but the background. Nothing happens where uxtheme is missing.
void DrawWithoutVisualStyle(HWND calendar);
