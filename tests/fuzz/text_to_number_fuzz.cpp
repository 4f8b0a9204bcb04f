#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "plugin/text_to_number.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();  // a host text ends at its first zero byte
  double value = TextToNumber(text.c_str());
  if (std::isnan(value)) std::abort();
  int32_t whole = TextToInt(text.c_str());
  // Rounding never moves a representable value by more than a half.
  if (std::fabs(value) < 2e9 && std::fabs(value - whole) > 0.5) std::abort();
  // A byte that cannot extend a number never changes the value read.
  if (TextToNumber((text + "\x01").c_str()) != value) std::abort();
  return 0;
}
