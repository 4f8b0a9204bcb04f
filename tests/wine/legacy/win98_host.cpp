// Runs as win98_host.exe, for which the test prefix makes Wine report
// Windows 98: the library must refuse to load there.
#include <windows.h>

#include <gtest/gtest.h>

TEST(Windows98, TheSystemReallyReportsWindows98) {
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  ASSERT_TRUE(GetVersionExA(&version));
  EXPECT_EQ(version.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS));
}

TEST(Windows98, TheLibraryRefusesToLoad) {
  SetLastError(0);
  HMODULE module = LoadLibraryA("VelDialogs.dll");
  DWORD error = GetLastError();
  EXPECT_EQ(module, nullptr);
  EXPECT_EQ(error, static_cast<DWORD>(ERROR_DLL_INIT_FAILED));
  if (module) FreeLibrary(module);
}
