// selftest_probe.exe: a test program that fails or hangs on purpose, for
// the check that the runner reports such programs (never packed). Copied
// as probe_fail.exe it fails one test and skips one; as probe_hang.exe it
// hangs in its second test.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {
bool NamedToHang() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path).find(L"hang") != std::wstring::npos;
}
}  // namespace

TEST(Probe, Passes) { EXPECT_EQ(1 + 1, 2); }

TEST(Probe, Fails) {
  if (NamedToHang()) GTEST_SKIP() << "the hanging probe does not fail";
  EXPECT_EQ(std::string("probe"), "deliberate failure");
}

TEST(Probe, Hangs) {
  if (!NamedToHang()) GTEST_SKIP() << "only the hanging probe hangs";
  Sleep(INFINITE);
}
