#include <cstdint>
#include <cstdlib>
#include <string>

#include "actions/filter_list.h"

namespace {
// The field-by-field reading, literally: for each entry, split the whole
// text at "###" again. Quadratic, so only for short inputs.
std::string SlowFilterList(const std::string& text) {
  size_t bars = 0;
  for (char c : text) bars += c == '|';
  std::string list;
  for (size_t entry = 1; entry <= bars + 1; ++entry) {
    size_t start = 0, field = 1;
    std::string piece;
    while (true) {
      size_t end = text.find("###", start);
      if (field == entry) {
        piece = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        break;
      }
      if (end == std::string::npos) break;  // a field beyond the last is empty
      start = end + 3;
      ++field;
    }
    for (char& c : piece) if (c == '|') c = '\0';
    list += piece;
    list += '\0';
  }
  return list;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();  // a host text ends at its first zero byte
  std::string list = BuildFilterList(text.c_str());
  if (text.size() <= 256 && list != SlowFilterList(text)) std::abort();
  return 0;
}
