#include "rig/short_path.h"

#include <windows.h>

std::string ShortPathInCodePage(const std::wstring& path) {
  wchar_t shortPath[MAX_PATH] = {};
  DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  char ansi[MAX_PATH * 2] = {};
  int bytes = WideCharToMultiByte(CP_ACP, 0, shortPath, static_cast<int>(length), ansi,
                                  sizeof(ansi), nullptr, nullptr);
  return std::string(ansi, bytes > 0 ? bytes : 0);
}
