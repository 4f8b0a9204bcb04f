#include "plugin/wide_text.h"

#include <windows.h>

#include <climits>

namespace {

// A system whose ANSI code page is UTF-8 (a Windows 10 option) refuses any
// conversion flag with it; it has no characters to lose either.
bool AnsiIsUtf8() { return GetACP() == CP_UTF8; }

DWORD ToWideFlags() { return AnsiIsUtf8() ? 0 : MB_PRECOMPOSED; }

// Without WC_NO_BEST_FIT_CHARS the system writes a look-alike ("a" for
// U+0101) for what the code page lacks, which can name another file.
DWORD ToAnsiFlags() { return AnsiIsUtf8() ? 0 : WC_NO_BEST_FIT_CHARS; }

}  // namespace

std::wstring AnsiToWide(const std::string& text) {
  if (text.empty() || text.size() > INT_MAX) return std::wstring();
  int size = static_cast<int>(text.size());
  DWORD flags = ToWideFlags();
  int length = MultiByteToWideChar(CP_ACP, flags, text.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CP_ACP, flags, text.data(), size, &wide[0], length);
  return wide;
}

std::wstring HostTextToWide(const char* text) { return AnsiToWide(text ? text : ""); }

std::wstring CutWide(std::wstring text, size_t max) {
  if (text.size() <= max) return text;
  text.resize(max);
  if (!text.empty() && IS_HIGH_SURROGATE(text.back())) text.pop_back();
  return text;
}

std::string WideToAnsi(const wchar_t* text, size_t length) {
  if (!text || length == 0 || length > INT_MAX) return std::string();
  int size = static_cast<int>(length);
  DWORD flags = ToAnsiFlags();
  int bytes = WideCharToMultiByte(CP_ACP, flags, text, size, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string ansi(bytes, '\0');
  WideCharToMultiByte(CP_ACP, flags, text, size, &ansi[0], bytes, nullptr, nullptr);
  return ansi;
}

std::string WideToAnsi(const std::wstring& text) { return WideToAnsi(text.data(), text.size()); }
