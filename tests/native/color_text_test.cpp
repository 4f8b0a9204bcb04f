#include "actions/color_text.h"

#include <gtest/gtest.h>

namespace {
constexpr uint32_t Rgb(uint8_t r, uint8_t g, uint8_t b) { return r | (g << 8) | (b << 16); }
}  // namespace

TEST(ColorText, HexIsRedGreenBlueInUpperCase) {
  EXPECT_EQ(ColorToHexText(Rgb(255, 0, 0)), "#FF0000");
  EXPECT_EQ(ColorToHexText(Rgb(1, 2, 3)), "#010203");
  EXPECT_EQ(ColorToHexText(Rgb(0, 128, 255)), "#0080FF");
  EXPECT_EQ(ColorToHexText(Rgb(0, 0, 0)), "#000000");
  EXPECT_EQ(ColorToHexText(Rgb(255, 255, 255)), "#FFFFFF");
  EXPECT_EQ(ColorToHexText(Rgb(0xAB, 0xCD, 0xEF)), "#ABCDEF");
}

TEST(ColorText, RgbIsDecimalWithoutBlanks) {
  EXPECT_EQ(ColorToRgbText(Rgb(255, 0, 0)), "255,0,0");
  EXPECT_EQ(ColorToRgbText(Rgb(1, 2, 3)), "1,2,3");
  EXPECT_EQ(ColorToRgbText(Rgb(0, 128, 255)), "0,128,255");
  EXPECT_EQ(ColorToRgbText(Rgb(0, 0, 0)), "0,0,0");
  EXPECT_EQ(ColorToRgbText(Rgb(255, 255, 255)), "255,255,255");
}

TEST(ColorText, EveryColourGivesTextsOfTheDocumentedLengths) {
  for (uint32_t c = 0; c <= 0xFFFFFF; c += 0x010307) {
    EXPECT_EQ(ColorToHexText(c).size(), 7u);
    size_t n = ColorToRgbText(c).size();
    EXPECT_GE(n, 5u);
    EXPECT_LE(n, 11u);
  }
}
