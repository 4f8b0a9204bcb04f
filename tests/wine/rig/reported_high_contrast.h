// High Contrast as the DLL reads it, switched from the test: the DLL's own
// import of SystemParametersInfoW answers SPI_GETHIGHCONTRAST with
// HCF_HIGHCONTRASTON while the switch is on. Wine cannot turn the setting on
// (SPI_SETHIGHCONTRAST fails), and on Windows it would change the desktop.
#pragma once
#include <windows.h>

#include "rig/pe_image.h"

class ReportedHighContrast {
 public:
  // On from the start; off again when it ends.
  explicit ReportedHighContrast(HMODULE module);
  ~ReportedHighContrast();
  ReportedHighContrast(const ReportedHighContrast&) = delete;
  ReportedHighContrast& operator=(const ReportedHighContrast&) = delete;

  // False when the DLL does not import SystemParametersInfoW by name.
  bool installed() const { return patch_.installed(); }
  void Switch(bool on);

 private:
  ImportPatch patch_;
};
