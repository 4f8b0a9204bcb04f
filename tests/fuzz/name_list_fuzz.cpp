#include <cstdint>
#include <cstdlib>
#include <string>

#include "editors/name_list.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> pieces = SplitAtCrLf(text);
  // The pieces joined at CR LF give the text back.
  std::string joined;
  for (size_t i = 0; i < pieces.size(); ++i) joined += (i ? "\r\n" : "") + pieces[i];
  if (joined != text) std::abort();
  std::vector<std::string> items = ItemsBeforeFirstEmpty(pieces);
  if (items.size() > pieces.size()) std::abort();
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].empty() || items[i] != pieces[i]) std::abort();
  return 0;
}
