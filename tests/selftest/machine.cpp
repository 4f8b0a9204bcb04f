#include "machine.h"

#include <windows.h>

#include <cstdio>

namespace {

// RtlGetVersion, unlike GetVersionEx, is not capped at 6.2 for programs
// without a compatibility manifest.
using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);
using WineGetVersionFn = const char*(CDECL*)();
using WineGetHostVersionFn = void(CDECL*)(const char** sysname, const char** release);
using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, BOOL*);
using GetUserDefaultLocaleNameFn = int(WINAPI*)(wchar_t*, int);
using BoolFn = BOOL(WINAPI*)();

template <typename T>
T Proc(HMODULE module, const char* name) {
  return module ? reinterpret_cast<T>(GetProcAddress(module, name)) : nullptr;
}

std::string Narrow(const wchar_t* text) {
  char buffer[256] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof(buffer) - 1, nullptr, nullptr);
  return buffer;
}

std::string Format(const char* format, unsigned a, unsigned b, unsigned c) {
  char buffer[64];
  snprintf(buffer, sizeof(buffer), format, a, b, c);
  return buffer;
}

}  // namespace

Machine DescribeMachine() {
  Machine m;
  m.runnerBits = sizeof(void*) * 8;
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  HMODULE kernel32 = GetModuleHandleW(L"kernel32.dll");

  OSVERSIONINFOEXW version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  if (auto rtlGetVersion = Proc<RtlGetVersionFn>(ntdll, "RtlGetVersion");
      rtlGetVersion && rtlGetVersion(&version) == 0) {
    m.windows = Format("%u.%u build %u", version.dwMajorVersion, version.dwMinorVersion,
                       version.dwBuildNumber);
    if (version.szCSDVersion[0]) m.windows.append(" ").append(Narrow(version.szCSDVersion));
    if (version.wProductType != VER_NT_WORKSTATION) m.windows += " (server)";
  } else {
    m.windows = "unknown (RtlGetVersion failed)";
  }

  if (m.runnerBits == 64) {
    m.windows64 = true;
  } else {
    BOOL wow64 = FALSE;
    auto isWow64 = Proc<IsWow64ProcessFn>(kernel32, "IsWow64Process");
    m.windows64 = isWow64 && isWow64(GetCurrentProcess(), &wow64) && wow64;
  }

  if (auto wineVersion = Proc<WineGetVersionFn>(ntdll, "wine_get_version")) {
    m.wine = wineVersion();
    if (auto hostVersion = Proc<WineGetHostVersionFn>(ntdll, "wine_get_host_version")) {
      const char *sysname = nullptr, *release = nullptr;
      hostVersion(&sysname, &release);
      if (sysname) m.wineHost = std::string(sysname) + (release ? std::string(" ") + release : "");
    }
  }

  m.ansiCodePage = GetACP();
  m.oemCodePage = GetOEMCP();
  // Locale names exist from Vista on; the identifier is what every version has.
  wchar_t localeName[LOCALE_NAME_MAX_LENGTH] = {};
  auto localeNameOf = Proc<GetUserDefaultLocaleNameFn>(kernel32, "GetUserDefaultLocaleName");
  if (localeNameOf && localeNameOf(localeName, LOCALE_NAME_MAX_LENGTH) > 0)
    m.userLocale = Narrow(localeName) + " ";
  m.userLocale += Format("(LCID 0x%04X)", GetUserDefaultLCID(), 0, 0);
  m.uiLanguage = Format("LANGID 0x%04X", GetUserDefaultUILanguage(), 0, 0);

  // The system's own DPI, not the 96 that Windows shows a program that does
  // not declare itself aware of it.
  if (auto setAware = Proc<BoolFn>(GetModuleHandleW(L"user32.dll"), "SetProcessDPIAware"))
    setAware();
  if (HDC screen = GetDC(nullptr)) {
    m.dpiX = GetDeviceCaps(screen, LOGPIXELSX);
    m.dpiY = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
  }
  m.screenWidth = GetSystemMetrics(SM_CXSCREEN);
  m.screenHeight = GetSystemMetrics(SM_CYSCREEN);

  HMODULE uxtheme = LoadLibraryW(L"uxtheme.dll");
  // The desktop's theme, and whether it reaches programs such as this one
  // (compatibility settings can keep it from them).
  auto isThemeActive = Proc<BoolFn>(uxtheme, "IsThemeActive");
  auto isAppThemed = Proc<BoolFn>(uxtheme, "IsAppThemed");
  if (isThemeActive && isAppThemed) {
    bool active = isThemeActive(), applied = isAppThemed();
    m.visualStyles = active && applied ? "on" : active ? "on, but not for this program" : "off (classic look)";
  } else {
    m.visualStyles = "not available";
  }
  if (uxtheme) FreeLibrary(uxtheme);
  return m;
}
