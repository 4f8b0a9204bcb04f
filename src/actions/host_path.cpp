#include "actions/host_path.h"

#include <windows.h>

#include "plugin/wide_text.h"

namespace {

// The conversion loses nothing when reading it back gives the same path
// (characters the code page lacks come back as its default character).
bool ConvertsLosslessly(const std::wstring& path, std::string* ansi) {
  *ansi = WideToAnsi(path);
  return AnsiToWide(*ansi) == path;
}

// The item's short (8.3) path, or "" when the item does not exist or the
// volume keeps no short names (the system then hands the long path back).
std::wstring ShortPathOf(const std::wstring& path) {
  DWORD size = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (size == 0) return std::wstring();
  std::wstring shortPath(size, L'\0');
  DWORD length = GetShortPathNameW(path.c_str(), &shortPath[0], size);
  if (length == 0 || length >= size) return std::wstring();
  shortPath.resize(length);
  if (shortPath == path) return std::wstring();
  return shortPath;
}

}  // namespace

std::string PathForHost(const std::wstring& path) {
  std::string ansi;
  if (path.empty() || ConvertsLosslessly(path, &ansi)) return ansi;

  std::string shortAnsi;
  std::wstring shortPath = ShortPathOf(path);
  if (!shortPath.empty()) {
    if (ConvertsLosslessly(shortPath, &shortAnsi)) return shortAnsi;
    return ansi;  // the item exists, but even its short path cannot be spelt
  }

  // No such item yet: its folder as it is or by its short path, whichever
  // converts without loss, then the name as it is.
  size_t slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos || slash + 1 == path.size()) return ansi;
  std::wstring folder = path.substr(0, slash + 1);
  std::string folderAnsi;
  if (!ConvertsLosslessly(folder, &folderAnsi)) {
    folder = ShortPathOf(folder);
    if (folder.empty() || !ConvertsLosslessly(folder, &folderAnsi)) return ansi;
  }
  if (folderAnsi.back() != '\\' && folderAnsi.back() != '/') folderAnsi += '\\';
  return folderAnsi + WideToAnsi(path.substr(slash + 1));
}
