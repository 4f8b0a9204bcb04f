#include "rig/platform.h"

#include <cstdlib>

#include "rig/short_path.h"

bool RunsUnderWine() {
  static const bool wine =
      GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
  return wine;
}

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

int RequestedDpi() {
  const char* wanted = std::getenv("VEL_DPI");
  return wanted ? std::atoi(wanted) : 0;
}

namespace {

using SetThreadDpiAwarenessContextProc = HANDLE(WINAPI*)(HANDLE);
using GetDpiForWindowProc = UINT(WINAPI*)(HWND);
// DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2
const HANDLE kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));

// Looked up, so that the programs still start on Windows 7.
FARPROC User32Procedure(const char* name) {
  return GetProcAddress(GetModuleHandleW(L"user32.dll"), name);
}

}  // namespace

PerMonitorV2Thread::PerMonitorV2Thread() {
  auto set = reinterpret_cast<SetThreadDpiAwarenessContextProc>(
      User32Procedure("SetThreadDpiAwarenessContext"));
  if (!set) {
    why_ = "no SetThreadDpiAwarenessContext: threads of their own DPI awareness came with Windows 10 1607";
    return;
  }
  previous_ = set(kPerMonitorAwareV2);
  if (!previous_) why_ = "the system refused per-monitor v2 awareness (Windows 10 1703 and later give it)";
}

PerMonitorV2Thread::~PerMonitorV2Thread() {
  if (!previous_) return;
  reinterpret_cast<SetThreadDpiAwarenessContextProc>(
      User32Procedure("SetThreadDpiAwarenessContext"))(previous_);
}

int DpiOfWindow(HWND window) {
  auto get = reinterpret_cast<GetDpiForWindowProc>(User32Procedure("GetDpiForWindow"));
  UINT dpi = get ? get(window) : 0;
  return dpi ? static_cast<int>(dpi) : ScreenDpi();
}

std::wstring TempFolderW() {
  wchar_t path[MAX_PATH + 1] = {}, longPath[MAX_PATH + 1] = {};
  DWORD length = GetTempPathW(MAX_PATH + 1, path);
  // Windows hands out the short form when the user name is long.
  if (length > 0 && GetLongPathNameW(path, longPath, MAX_PATH + 1) > 0) wcscpy(path, longPath);
  std::wstring folder = path;
  while (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  return folder;
}

std::string TempFolderA() {
  const std::wstring folder = TempFolderW();
  BOOL lossy = FALSE;
  char ansi[MAX_PATH * 2] = {};
  int bytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, folder.c_str(), -1, ansi,
                                  sizeof(ansi), nullptr, &lossy);
  if (bytes > 0 && !lossy) return ansi;
  return ShortPathInCodePage(folder);
}

std::wstring WindowsFolderW() {
  wchar_t path[MAX_PATH] = {};
  GetWindowsDirectoryW(path, MAX_PATH);
  return path;
}

std::string WindowsFolderA() {
  char path[MAX_PATH] = {};
  GetWindowsDirectoryA(path, MAX_PATH);
  return path;
}

std::string SystemFolderA() {
  char path[MAX_PATH] = {};
  GetSystemDirectoryA(path, MAX_PATH);
  return path;
}

std::string SystemDriveRootA() { return WindowsFolderA().substr(0, 3); }

void RemoveTree(const std::wstring& folder) {
  WIN32_FIND_DATAW found;
  HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      const std::wstring path = folder + L"\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(path);
      else DeleteFileW(path.c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  RemoveDirectoryW(folder.c_str());
}
