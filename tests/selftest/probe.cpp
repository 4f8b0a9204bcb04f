// selftest_probe.exe: a test program that fails, hangs or crashes on
// purpose, for the check that the runner reports such programs (never
// packed). Copied as probe_fail.exe it fails one test and skips the others;
// as probe_hang.exe it hangs in one test; as probe_crash.exe a thread of one
// test writes through a null pointer, which GoogleTest's own handler does not
// see, so the process dies as a crashing program does.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {
bool NamedFor(const wchar_t* role) {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::wstring(path).find(role) != std::wstring::npos;
}

DWORD WINAPI WriteThroughNull(void*) {
  *static_cast<volatile int*>(nullptr) = 1;
  return 0;
}
}  // namespace

TEST(Probe, Passes) { EXPECT_EQ(1 + 1, 2); }

TEST(Probe, Fails) {
  if (!NamedFor(L"fail")) GTEST_SKIP() << "only the failing probe fails";
  EXPECT_EQ(std::string("probe"), "deliberate failure");
}

TEST(Probe, Hangs) {
  if (!NamedFor(L"hang")) GTEST_SKIP() << "only the hanging probe hangs";
  Sleep(INFINITE);
}

TEST(Probe, Crashes) {
  if (!NamedFor(L"crash")) GTEST_SKIP() << "only the crashing probe crashes";
  HANDLE thread = CreateThread(nullptr, 0, WriteThroughNull, nullptr, 0, nullptr);
  WaitForSingleObject(thread, INFINITE);
  ADD_FAILURE() << "the process outlived its crashing thread";
}
