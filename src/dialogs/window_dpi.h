// The DPI that a window's own context reports, for scaling its layout.
#pragma once
#include <windows.h>

// GetDpiForWindow where user32 has it (Windows 10 1607 and later), else the
// screen's LOGPIXELSY; 96 if neither answers. A host that is not DPI-aware
// is told 96 by Windows, which then stretches its windows as bitmaps.
int WindowDpi(HWND window);

// Tells the dialog manager of Windows 10 1703 and later (per-monitor v2
// hosts) to leave the dialog's font and layout alone when its DPI changes:
// the library re-lays its own pixel geometry on WM_DPICHANGED. Does nothing
// on older systems.
void KeepDialogManagerFromRescaling(HWND dialog);
