#include "actions/font_style.h"

#include <cstdint>
#include <limits>

namespace {

// Indexed by style bits; each name lists the set bits' words in bit order.
constexpr const char* kStyleNames[kStyleAll + 1] = {
    "Normal",
    "Bold",
    "Italic",
    "Bold + Italic",
    "Underline",
    "Bold + Underline",
    "Italic + Underline",
    "Bold + Italic + Underline",
    "StrikeOut",
    "Bold + StrikeOut",
    "Italic + StrikeOut",
    "Bold + Italic + StrikeOut",
    "Underline + StrikeOut",
    "Bold + Underline + StrikeOut",
    "Italic + Underline + StrikeOut",
    "Bold + Italic + Underline + StrikeOut",
};

constexpr int64_t kPointsPerInch = 72;

}  // namespace

unsigned StyleBitsFromUpperText(std::string_view upperText) {
  unsigned bits = 0;
  if (upperText.find("BOLD") != std::string_view::npos) bits |= kStyleBold;
  if (upperText.find("ITALIC") != std::string_view::npos) bits |= kStyleItalic;
  if (upperText.find("UNDERLINE") != std::string_view::npos) bits |= kStyleUnderline;
  if (upperText.find("STRIKEOUT") != std::string_view::npos) bits |= kStyleStrikeOut;
  return bits;
}

unsigned StyleBitsOfFont(int32_t weight, uint8_t italic, uint8_t underline, uint8_t strikeOut) {
  unsigned bits = 0;
  if (weight >= kFwBold) bits |= kStyleBold;
  if (italic) bits |= kStyleItalic;
  if (underline) bits |= kStyleUnderline;
  if (strikeOut) bits |= kStyleStrikeOut;
  return bits;
}

const char* StyleName(unsigned styleBits) { return kStyleNames[styleBits & kStyleAll]; }

int32_t LogicalHeightForPoints(int32_t points, int32_t dotsPerInch) {
  // Both factors fit in 32 bits, so the product is exact in 64; C++ division
  // truncates toward zero.
  int64_t height = -(static_cast<int64_t>(points) * dotsPerInch / kPointsPerInch);
  if (height > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (height < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(height);
}

int32_t TenthsToWholePoints(int32_t tenths) {
  int32_t whole = tenths / 10;  // truncated toward zero
  int32_t rest = tenths % 10;   // same sign as tenths
  int32_t away = rest < 0 ? -1 : 1;
  int32_t magnitude = rest < 0 ? -rest : rest;
  if (magnitude > 5 || (magnitude == 5 && whole % 2 != 0)) whole += away;
  return whole;
}
