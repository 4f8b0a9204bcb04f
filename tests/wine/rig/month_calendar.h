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

// Lays itself between each month calendar created while it lives and
// whatever wraps the control afterwards (the library does, right after
// creating it): it sees the control's own handling of each button message.
// A control destroyed inside that handling, or host code run from it, is
// what can crash a host on Windows.
class ControlHandlingWatch {
 public:
  ControlHandlingWatch();
  ~ControlHandlingWatch();
  ControlHandlingWatch(const ControlHandlingWatch&) = delete;
  ControlHandlingWatch& operator=(const ControlHandlingWatch&) = delete;

  int survived() const;            // button messages whose handling the control outlived
  int destroyed() const;           // ... inside whose handling it was destroyed
  int hostCallsInside() const;     // host callbacks made inside that handling

 private:
  HHOOK hook_;
};
