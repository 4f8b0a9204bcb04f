#include "actions/filter_list.h"

#include <cstring>

namespace {
constexpr char kEntrySeparator[] = "###";
constexpr size_t kEntrySeparatorLength = sizeof(kEntrySeparator) - 1;
}  // namespace

std::string BuildFilterList(const char* filterText) {
  const char* text = filterText ? filterText : "";
  const size_t length = std::strlen(text);

  size_t entries = 1;
  for (size_t i = 0; i < length; ++i)
    if (text[i] == '|') ++entries;

  std::string list;
  list.reserve(length + entries + 1);
  // One pass over the "###" fields, left to right and without overlap, as a
  // split would cut them; stops when enough entries are taken.
  size_t taken = 0;
  size_t fieldStart = 0;
  while (taken < entries && fieldStart <= length) {
    const char* found = std::strstr(text + fieldStart, kEntrySeparator);
    size_t fieldEnd = found ? static_cast<size_t>(found - text) : length;
    for (size_t i = fieldStart; i < fieldEnd; ++i) list.push_back(text[i] == '|' ? '\0' : text[i]);
    list.push_back('\0');
    ++taken;
    if (!found) break;
    fieldStart = fieldEnd + kEntrySeparatorLength;
  }
  // Entries beyond the last field are empty texts.
  list.append(entries - taken, '\0');
  return list;
}
