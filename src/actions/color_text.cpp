#include "actions/color_text.h"

std::string ColorToHexText(uint32_t colorref) {
  static const char kHexDigits[] = "0123456789ABCDEF";
  std::string text = "#";
  for (uint8_t component : {RedOf(colorref), GreenOf(colorref), BlueOf(colorref)}) {
    text += kHexDigits[component >> 4];
    text += kHexDigits[component & 0xF];
  }
  return text;
}

std::string ColorToRgbText(uint32_t colorref) {
  return std::to_string(RedOf(colorref)) + "," + std::to_string(GreenOf(colorref)) + "," +
         std::to_string(BlueOf(colorref));
}
