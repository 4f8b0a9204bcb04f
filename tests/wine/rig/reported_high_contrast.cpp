#include "rig/reported_high_contrast.h"

namespace {

using SystemParametersInfoProc = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
SystemParametersInfoProc g_system = nullptr;
bool g_on = false;

BOOL WINAPI ReportHighContrast(UINT action, UINT param, PVOID data, UINT flags) {
  BOOL result = g_system(action, param, data, flags);
  if (action == SPI_GETHIGHCONTRAST && result && data) {
    auto* contrast = static_cast<HIGHCONTRASTW*>(data);
    contrast->dwFlags = g_on ? contrast->dwFlags | HCF_HIGHCONTRASTON
                             : contrast->dwFlags & ~static_cast<DWORD>(HCF_HIGHCONTRASTON);
  }
  return result;
}

}  // namespace

ReportedHighContrast::ReportedHighContrast(HMODULE module)
    : patch_(module, "user32.dll", "SystemParametersInfoW", reinterpret_cast<void*>(&ReportHighContrast)) {
  g_system = reinterpret_cast<SystemParametersInfoProc>(patch_.original());
  g_on = true;
}

ReportedHighContrast::~ReportedHighContrast() { g_on = false; }

void ReportedHighContrast::Switch(bool on) { g_on = on; }
