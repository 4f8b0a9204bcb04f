// The font the calendar draws in: the frame's, which the dialog manager makes
// from the template for the frame's DPI, or, where that raster face draws
// taller than asked, the same font in the scalable dialog face, which the
// frame then owns and answers WM_GETFONT with.
#pragma once
#include <windows.h>

// The frame's dialog procedure: the routing's, with the frame's own font.
INT_PTR CALLBACK CalendarFrameProc(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);

// Judges the font the dialog manager has given the frame, at Start and after
// each DPI change, and hands the frame's font to its calendar, if it has one.
void FitCalendarFrameFont(HWND frame);
