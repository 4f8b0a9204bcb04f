// High Contrast as the DLL reads it, switched from the test: the DLL's own
// import of SystemParametersInfoW answers SPI_GETHIGHCONTRAST with
// HCF_HIGHCONTRASTON while the switch is on. Wine cannot turn the setting on
// (SPI_SETHIGHCONTRAST fails), and on Windows it would change the desktop.
// With a scheme, the DLL's GetSysColor and GetSysColorBrush also answer,
// while the switch is on, with colours of a High Contrast scheme that differ
// from the default ones and from each other, as the system's do when the
// user turns it on.
#pragma once
#include <windows.h>

#include "rig/pe_image.h"

class ReportedHighContrast {
 public:
  enum Colours { kSystemColours, kScheme };
  // On from the start; off again when it ends.
  explicit ReportedHighContrast(HMODULE module, Colours colours = kSystemColours);
  ~ReportedHighContrast();
  ReportedHighContrast(const ReportedHighContrast&) = delete;
  ReportedHighContrast& operator=(const ReportedHighContrast&) = delete;

  // False when the DLL does not import SystemParametersInfoW (nor, with a
  // scheme, GetSysColor and GetSysColorBrush) by name.
  bool installed() const {
    return patch_.installed() && (!scheme_ || (colours_.installed() && brushes_.installed()));
  }
  void Switch(bool on);

  // What the DLL's GetSysColor answers for index while the switch is on
  // with a scheme: the system's own colour for the indexes it leaves out.
  static COLORREF SchemeColour(int index);

 private:
  ImportPatch patch_;
  bool scheme_;
  ImportPatch colours_;
  ImportPatch brushes_;
};
