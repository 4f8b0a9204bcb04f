// Pixel geometry given for a 96 DPI screen, scaled to the DPI of the window
// that shows it. Plain arithmetic, so it is tested without any window.
#pragma once

// The DPI that the library's pixel values are written for.
constexpr int kBaseDpi = 96;
// Points are 1/72 inch.
constexpr int kPointsPerInch = 72;

// value * dpi / 96, rounded as MulDiv rounds (halves away from zero), so
// that every rectangle, window and font scales alike. At 96 it is value
// itself; a DPI below 1 is taken as 96.
int ScaleForDpi(int value, int dpi);

// The LOGFONT height (negative: character height) of a font of the given
// points at dpi, as the dialog manager computes it for DS_SETFONT.
int FontHeightForDpi(int points, int dpi);
