#include "rig/reported_high_contrast.h"

#include <map>

namespace {

using SystemParametersInfoProc = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT);
SystemParametersInfoProc g_system = nullptr;
bool g_on = false;
bool g_scheme = false;

BOOL WINAPI ReportHighContrast(UINT action, UINT param, PVOID data, UINT flags) {
  BOOL result = g_system(action, param, data, flags);
  if (action == SPI_GETHIGHCONTRAST && result && data) {
    auto* contrast = static_cast<HIGHCONTRASTW*>(data);
    contrast->dwFlags = g_on ? contrast->dwFlags | HCF_HIGHCONTRASTON
                             : contrast->dwFlags & ~static_cast<DWORD>(HCF_HIGHCONTRASTON);
  }
  return result;
}

DWORD WINAPI ReportSchemeColour(int index) {
  return g_on && g_scheme ? ReportedHighContrast::SchemeColour(index) : GetSysColor(index);
}

// Made at the first request, as the system's are there from the start.
std::map<int, HBRUSH> g_schemeBrushes;

HBRUSH WINAPI ReportSchemeBrush(int index) {
  if (!g_on || !g_scheme) return GetSysColorBrush(index);
  HBRUSH& brush = g_schemeBrushes[index];
  if (!brush) brush = CreateSolidBrush(ReportedHighContrast::SchemeColour(index));
  return brush;
}

}  // namespace

ReportedHighContrast::ReportedHighContrast(HMODULE module, Colours colours)
    : patch_(module, "user32.dll", "SystemParametersInfoW", reinterpret_cast<void*>(&ReportHighContrast)),
      scheme_(colours == kScheme),
      colours_(module, "user32.dll", "GetSysColor", reinterpret_cast<void*>(&ReportSchemeColour)),
      brushes_(module, "user32.dll", "GetSysColorBrush", reinterpret_cast<void*>(&ReportSchemeBrush)) {
  g_system = reinterpret_cast<SystemParametersInfoProc>(patch_.original());
  g_scheme = scheme_;
  g_on = true;
}

ReportedHighContrast::~ReportedHighContrast() {
  g_on = g_scheme = false;
  for (const auto& made : g_schemeBrushes) DeleteObject(made.second);
  g_schemeBrushes.clear();
}

void ReportedHighContrast::Switch(bool on) { g_on = on; }

COLORREF ReportedHighContrast::SchemeColour(int index) {
  switch (index) {
    case COLOR_WINDOW: return RGB(0, 0, 0);
    case COLOR_WINDOWTEXT: return RGB(255, 255, 255);
    case COLOR_ACTIVECAPTION: return RGB(128, 0, 128);
    case COLOR_CAPTIONTEXT: return RGB(255, 255, 0);
    case COLOR_GRAYTEXT: return RGB(63, 242, 63);
  }
  return GetSysColor(index);
}
