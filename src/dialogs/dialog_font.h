// Dialog fonts drawn no taller than they ask: a raster face comes in the
// sizes of the set installed for the system's DPI only (on a 192 DPI system
// the smallest "MS Sans Serif" is 16 pixels), so a small request on a monitor
// of lower DPI gets a face too large for the controls sized for it.
#pragma once
#include <windows.h>

// Whether font draws characters no taller than its own height asks
// (GetTextMetrics; a negative height is the character height, a positive
// one the cell height). True where the system cannot tell.
bool DrawsAtItsHeight(HFONT font);

// The same font in the system's scalable dialog face, which Windows maps to
// a TrueType face of the user's language; null if the system refuses it.
HFONT CreateScalableCounterpart(HFONT font);
