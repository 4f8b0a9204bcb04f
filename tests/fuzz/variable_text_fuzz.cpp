// The texts that actions hand to the host: colour texts, style names and
// the subroutine line.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "actions/color_text.h"
#include "actions/font_style.h"
#include "calendar/date_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  uint32_t colorref = 0;
  std::memcpy(&colorref, data, size < 4 ? size : 4);
  colorref &= 0x00FFFFFF;
  std::string hex = ColorToHexText(colorref), rgb = ColorToRgbText(colorref);
  if (hex.size() != 7 || hex[0] != '#' || rgb.size() < 5 || rgb.size() > 11) std::abort();
  if (std::strtoul(hex.c_str() + 1, nullptr, 16) !=
      ((RedOf(colorref) << 16) | (GreenOf(colorref) << 8) | BlueOf(colorref)))
    std::abort();
  if (StyleName(size ? data[0] : 0) == nullptr) std::abort();
  std::string name(reinterpret_cast<const char*>(data), size);
  std::string line = GoSubLine(name);
  if (line != "GoSub \"" + name + "\"") std::abort();
  return 0;
}
