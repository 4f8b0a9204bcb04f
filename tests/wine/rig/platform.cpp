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
