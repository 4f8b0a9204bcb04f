// The face that the library's windows should draw in at a DPI: the
// template's 8-point "MS Sans Serif" where the system draws that height no
// taller than asked, the scalable "MS Shell Dlg" where its raster sizes are
// all too large (a high-DPI system's set on a monitor of lower DPI).
#pragma once
#include <windows.h>

#include <string>

// While alive, the process has a raster "MS Sans Serif" whose smallest size
// is too large for 96 DPI, as on Windows at high DPI. Windows has its own
// set, which stays; Wine's "MS Sans Serif" is a scalable stand-in, so there
// the guard loads Wine's raster set for 120 DPI screens (the 8514/a sizes
// that Windows installs for high DPI), for this process only. loaded() is
// false where that file is missing, and why() says so.
class HighDpiRasterFace {
 public:
  HighDpiRasterFace();
  ~HighDpiRasterFace();
  HighDpiRasterFace(const HighDpiRasterFace&) = delete;
  HighDpiRasterFace& operator=(const HighDpiRasterFace&) = delete;
  bool loaded() const { return loaded_; }
  const char* why() const { return why_; }

 private:
  bool loaded_ = false;
  bool added_ = false;
  const char* why_ = "";
};

// "MS Sans Serif" where the system draws its 8 points at dpi no taller than
// asked, else "MS Shell Dlg": measured, not assumed.
std::wstring ExpectedDialogFace(int dpi);

// The face name a font was made with (GetObject's LOGFONT).
std::wstring FaceOf(HFONT font);
