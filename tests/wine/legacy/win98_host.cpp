// Runs as win98_host.exe, for which the test prefix makes Wine report
// Windows 98: the library must refuse to load there.
#include <windows.h>

#include <gtest/gtest.h>

#include "rig/platform.h"

// Windows itself reports its own version, so these hosts mean nothing there.
constexpr char kOnlyUnderWine[] = "Windows 98 is what the test Wine prefix makes this program see";

TEST(Windows98, TheSystemReallyReportsWindows98) {
  SKIP_UNLESS_WINE(kOnlyUnderWine);
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  ASSERT_TRUE(GetVersionExA(&version));
  EXPECT_EQ(version.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS));
}

TEST(Windows98, TheLibraryRefusesToLoad) {
  SKIP_UNLESS_WINE(kOnlyUnderWine);
  SetLastError(0);
  HMODULE module = LoadLibraryA("VelDialogs.dll");
  DWORD error = GetLastError();
  EXPECT_EQ(module, nullptr);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
  if (module) FreeLibrary(module);
}
