#include "rig/short_path.h"

#include <windows.h>

#include <cwchar>

std::string ShortPathInCodePage(const std::wstring& path) {
  wchar_t shortPath[MAX_PATH] = {};
  DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return std::string();
  char ansi[MAX_PATH * 2] = {};
  int bytes = WideCharToMultiByte(CP_ACP, 0, shortPath, static_cast<int>(length), ansi,
                                  sizeof(ansi), nullptr, nullptr);
  return std::string(ansi, bytes > 0 ? bytes : 0);
}

bool HasShortName(const std::wstring& path) {
  wchar_t shortPath[MAX_PATH] = {};
  DWORD length = GetShortPathNameW(path.c_str(), shortPath, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  // The item's own name: its folders may have short names made before the
  // volume stopped making them.
  const wchar_t* shortLeaf = wcsrchr(shortPath, L'\\');
  const size_t slash = path.rfind(L'\\');
  const std::wstring longLeaf = slash == std::wstring::npos ? path : path.substr(slash + 1);
  return _wcsicmp(shortLeaf ? shortLeaf + 1 : shortPath, longLeaf.c_str()) != 0;
}
