#include "result_file.h"

#include <windows.h>

#include "report.h"

namespace {
constexpr int kNames = 5;
}

std::wstring ResultFile::Name(int index) const {
  return folder_ + (index == 0 ? std::wstring(L"\\results.xml")
                               : L"\\results-" + std::to_wstring(index + 1) + L".xml");
}

std::wstring ResultFile::Prepare() {
  for (; index_ < kNames; ++index_) {
    const std::wstring path = Name(index_);
    if (DeleteFileW(path.c_str())) return path;
    DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND) return path;
    note_ += "    note: the result file " + Utf8(path) + " that an earlier run left could not be deleted (error " +
             std::to_string(error) + "); its results are not this run's\n";
  }
  note_ += "    note: no result file could be cleared: this run is judged by its exit code and output alone\n";
  return std::wstring();
}

std::string ResultFile::TakeNote() {
  std::string note;
  note.swap(note_);
  return note;
}

void ResultFile::DeleteAll() {
  for (int index = 0; index <= index_ && index < kNames; ++index) {
    const std::wstring path = Name(index);
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(path.c_str());
  }
}
