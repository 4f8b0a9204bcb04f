#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "actions/font_style.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  unsigned bits = StyleBitsFromUpperText(text);
  if (bits > kStyleAll) std::abort();
  // A style name fed back gives the same bits.
  const char* name = StyleName(bits);
  std::string upper = name;
  for (char& c : upper) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  if (StyleBitsFromUpperText(upper) != bits) std::abort();
  if (size >= 8) {
    int32_t points, dpi;
    std::memcpy(&points, data, 4);
    std::memcpy(&dpi, data + 4, 4);
    int32_t height = LogicalHeightForPoints(points, dpi);
    int64_t exact = -(int64_t(points) * dpi / 72);
    if (exact >= INT32_MIN && exact <= INT32_MAX && height != exact) std::abort();
    int32_t whole = TenthsToWholePoints(points);
    if (std::llabs(int64_t(whole) * 10 - points) > 5) std::abort();
  }
  return 0;
}
