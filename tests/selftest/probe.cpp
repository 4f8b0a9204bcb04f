// selftest_probe.exe: a test program that fails, hangs or crashes on
// purpose, for the check that the runner reports such programs (never
// packed). Copied as probe_fail.exe it fails one test and skips the others;
// as probe_hang.exe it hangs in one test; as probe_crash.exe a thread of one
// test writes through a null pointer, which GoogleTest's own handler does not
// see, so the process dies as a crashing program does; as probe_callback.exe
// it writes through a null pointer in a window procedure at WM_CREATE, which
// the kernel calls back (a crash that 64-bit Windows may swallow unless the
// program turns that off); as probe_stale.exe it fails one test and leaves its
// result file read-only, and its next run, finding it, dies before writing
// results of its own.
#include <windows.h>

#include <gtest/gtest.h>

#include <shellapi.h>

#include <cstdlib>
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
LRESULT CALLBACK FaultsAtCreate(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) *static_cast<volatile int*>(nullptr) = 1;
  return DefWindowProcW(window, message, wParam, lParam);
}

// The file --gtest_output names, or empty.
std::wstring ResultPath() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::wstring path;
  const std::wstring flag = L"--gtest_output=xml:";
  for (int i = 1; argv && i < argc; ++i)
    if (std::wstring(argv[i]).compare(0, flag.size(), flag) == 0) path = argv[i] + flag.size();
  LocalFree(argv);
  return path;
}

std::wstring g_resultPath;
void MakeResultsReadOnly() { SetFileAttributesW(g_resultPath.c_str(), FILE_ATTRIBUTE_READONLY); }

// A read-only result file beside the one this run writes, its own included.
bool ReadOnlyResultsLeft(const std::wstring& path) {
  const std::wstring folder = path.substr(0, path.find_last_of(L"\\/") + 1);
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"*.xml").c_str(), &found);
  bool left = false;
  if (search == INVALID_HANDLE_VALUE) return false;
  do left = left || (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
  while (FindNextFileW(search, &found));
  FindClose(search);
  return left;
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

TEST(Probe, CrashesInWmCreate) {
  if (!NamedFor(L"callback")) GTEST_SKIP() << "only the callback probe crashes in WM_CREATE";
  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = FaultsAtCreate;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.lpszClassName = L"ProbeFaultsAtCreate";
  ASSERT_NE(RegisterClassW(&windowClass), 0);
  HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100,
                                nullptr, nullptr, windowClass.hInstance, nullptr);
  if (window) DestroyWindow(window);
  ADD_FAILURE() << "the fault in WM_CREATE was swallowed";
}

TEST(Probe, LeavesItsResultsBehind) {
  if (!NamedFor(L"stale")) GTEST_SKIP() << "only the stale probe leaves its results";
  g_resultPath = ResultPath();
  ASSERT_FALSE(g_resultPath.empty()) << "run without --gtest_output";
  // The run after the one that left them: ends before it writes its own.
  if (ReadOnlyResultsLeft(g_resultPath)) ExitProcess(4);
  atexit(MakeResultsReadOnly);
  ADD_FAILURE() << "stale failure";
}
