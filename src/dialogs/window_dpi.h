// The DPI that a window's own context reports, for scaling its layout.
#pragma once
#include <windows.h>

// GetDpiForWindow where user32 has it (Windows 10 1607 and later), else the
// DPI of the window's monitor from shcore's GetDpiForMonitor (Windows 8.1
// and 10 before 1607), else the screen's LOGPIXELSY; 96 if none answers.
// Each is given as the caller's DPI awareness sees it: a host that is not
// DPI-aware is told 96 by Windows, which then stretches its windows.
int WindowDpi(HWND window);

// The width and height that the window's frame (borders and caption) adds
// to its client area at dpi, for its current styles. False where user32
// cannot tell (before Windows 10 1607, where no window changes its DPI).
bool FrameExtraForDpi(HWND window, int dpi, SIZE* extra);

// Tells the dialog manager of Windows 10 1703 and later (per-monitor v2
// hosts) to leave the dialog's font and layout alone when its DPI changes:
// the library re-lays its own pixel geometry on WM_DPICHANGED. Does nothing
// on older systems.
void KeepDialogManagerFromRescaling(HWND dialog);
