#include "plugin/wide_text.h"

#include <windows.h>

#include <climits>

std::wstring AnsiToWide(const std::string& text) {
  if (text.empty() || text.size() > INT_MAX) return std::wstring();
  int size = static_cast<int>(text.size());
  int length = MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), size, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring wide(length, L'\0');
  MultiByteToWideChar(CP_ACP, MB_PRECOMPOSED, text.data(), size, &wide[0], length);
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
  int bytes = WideCharToMultiByte(CP_ACP, 0, text, size, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string ansi(bytes, '\0');
  WideCharToMultiByte(CP_ACP, 0, text, size, &ansi[0], bytes, nullptr, nullptr);
  return ansi;
}

std::string WideToAnsi(const std::wstring& text) { return WideToAnsi(text.data(), text.size()); }
