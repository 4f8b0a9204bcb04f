#include "ansi_text.h"

#include <windows.h>

#include <climits>

// Both measure first, then convert into a buffer of that size; a text the
// code page cannot take, or too long for an int, reads as empty.
std::wstring AnsiToWide(const std::string& text) {
  if (text.empty() || text.size() > INT_MAX) return std::wstring();
  int bytes = static_cast<int>(text.size());
  int units = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), bytes, nullptr, 0);
  std::wstring wide(units > 0 ? units : 0, L'\0');
  if (units > 0) MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), bytes, &wide[0], units);
  return wide;
}

std::string WideToAnsi(const std::wstring& text) {
  if (text.empty() || text.size() > INT_MAX) return std::string();
  int units = static_cast<int>(text.size());
  int bytes = WideCharToMultiByte(CP_ACP, 0, text.data(), units, nullptr, 0, nullptr, nullptr);
  std::string ansi(bytes > 0 ? bytes : 0, '\0');
  if (bytes > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), units, &ansi[0], bytes, nullptr, nullptr);
  return ansi;
}
