#include "report.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return std::string();
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()),
                                  nullptr, 0, nullptr, nullptr);
  std::string out(bytes, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], bytes,
                      nullptr, nullptr);
  return out;
}

namespace {

std::wstring Decode(UINT codePage, DWORD flags, const std::string& text) {
  if (text.empty()) return std::wstring();
  int chars = MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()),
                                  nullptr, 0);
  if (chars == 0) return std::wstring();
  std::wstring out(chars, L'\0');
  MultiByteToWideChar(codePage, flags, text.data(), static_cast<int>(text.size()), &out[0], chars);
  return out;
}

bool IsUtf8(const std::string& text) {
  return text.empty() ||
         MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                             nullptr, 0) > 0;
}

void Put(DWORD which, FILE* stream, const std::string& text) {
  HANDLE handle = GetStdHandle(which);
  DWORD mode = 0, written = 0;
  if (GetConsoleMode(handle, &mode)) {
    std::wstring wide = Wide(text);
    WriteConsoleW(handle, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    fwrite(text.data(), 1, text.size(), stream);
    fflush(stream);
  }
}

// Without a byte-order mark Notepad before Windows 10 takes UTF-8 for the
// ANSI code page, and without CR it shows one long line.
std::string AsReportBytes(const std::string& text) {
  std::string out = "\xEF\xBB\xBF";
  out.reserve(text.size() + text.size() / 32 + 3);
  for (char c : text) {
    if (c == '\r') continue;
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

DWORD WriteWhole(const std::wstring& path, const std::string& bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError();
  DWORD written = 0;
  DWORD error = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                        written == bytes.size()
                    ? ERROR_SUCCESS
                    : GetLastError();
  CloseHandle(file);
  return error;
}

bool IsSharingError(DWORD error) { return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION; }

}  // namespace

std::wstring Wide(const std::string& utf8) { return Decode(CP_UTF8, 0, utf8); }

std::string ProgramText(const std::string& bytes) {
  std::string out;
  size_t start = 0;
  while (start < bytes.size()) {
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    out += IsUtf8(line) ? line : Utf8(Decode(CP_ACP, 0, line));
    if (end < bytes.size()) out += '\n';
    start = end + 1;
  }
  return out;
}

std::string OneLine(const std::string& message) {
  size_t newline = message.find('\n');
  std::string where = newline == std::string::npos ? std::string() : message.substr(0, newline);
  std::string text = newline == std::string::npos ? message : message.substr(newline + 1);
  std::replace(text.begin(), text.end(), '\n', ' ');
  std::replace(text.begin(), text.end(), '\r', ' ');
  return where.empty() ? text : text + " (" + where + ")";
}

std::string Indented(const std::string& text, const char* indent) {
  std::string out = indent;
  for (char c : text) {
    if (c == '\r') continue;
    out += c;
    if (c == '\n') out += indent;
  }
  return out;
}

std::string Tail(const std::string& output, int lines) {
  size_t at = output.size();
  while (at > 0 && (output[at - 1] == '\n' || output[at - 1] == '\r')) --at;
  size_t end = at;
  for (int seen = 0; at > 0; --at)
    if (output[at - 1] == '\n' && ++seen == lines) break;
  return output.substr(at, end - at);
}

void Print(const std::string& text) { Put(STD_OUTPUT_HANDLE, stdout, text); }
void PrintError(const std::string& text) { Put(STD_ERROR_HANDLE, stderr, text); }

bool ReportFile::Write(const std::string& text) {
  constexpr int kTries = 5;
  constexpr DWORD kRetryMs = 200;
  const std::string bytes = AsReportBytes(text);
  for (size_t at = firstHeld_ ? 0 : at_;; ++at) {
    DWORD error = WriteWhole(places_[at], bytes);
    for (int tried = 1; at == 0 && IsSharingError(error) && tried < kTries; ++tried) {
      Sleep(kRetryMs);
      error = WriteWhole(places_[at], bytes);
    }
    if (error == ERROR_SUCCESS) {
      // Back at the first place: the fallback's copy would only mislead.
      if (at < at_) DeleteFileW(places_[at_].c_str());
      if (at == 0) firstHeld_ = false;
      at_ = at;
      return true;
    }
    if (at == 0) firstHeld_ = IsSharingError(error);
    if (at >= at_)
      notes_ += "VelSelfTest: could not write the report to " + Utf8(places_[at]) + " (error " +
                std::to_string(error) + ")\n";
    if (at + 1 == places_.size()) return false;
    if (at >= at_) at_ = at + 1;
  }
}

std::string ReportFile::TakeNotes() {
  std::string notes;
  notes.swap(notes_);
  return notes;
}
