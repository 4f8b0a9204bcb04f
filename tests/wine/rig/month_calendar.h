// Picking a day on a month-calendar control the way a mouse would: the
// control is hit-tested for the day's cell, then clicked there with posted
// button messages, which the caller's message loop delivers.
#pragma once
#include <windows.h>

// Brings the day's month into view without selecting the day, then posts the
// click. False when no cell of that day was found.
bool PostClickOnDay(HWND calendar, WORD year, WORD month, WORD day);

// The control's current selection (year, month, day only).
SYSTEMTIME CalendarSelection(HWND calendar);
