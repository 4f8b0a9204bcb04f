#include "actions/font_style.h"

#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cstdint>
#include <string>

TEST(FontStyle, StyleWordsAreIndependentSubstringTests) {
  EXPECT_EQ(StyleBitsFromUpperText("BOLD,UNDERLINE"), kStyleBold | kStyleUnderline);
  EXPECT_EQ(StyleBitsFromUpperText("UNDERLINE BOLD"), kStyleBold | kStyleUnderline);
  EXPECT_EQ(StyleBitsFromUpperText("BOLD + UNDERLINE"), kStyleBold | kStyleUnderline);
  EXPECT_EQ(StyleBitsFromUpperText("SEMIBOLD"), kStyleBold);
  EXPECT_EQ(StyleBitsFromUpperText("STRIKEOUTITALICBOLDUNDERLINE"), kStyleAll);
  EXPECT_EQ(StyleBitsFromUpperText("NORMAL"), 0u);
  EXPECT_EQ(StyleBitsFromUpperText("REGULAR"), 0u);
  EXPECT_EQ(StyleBitsFromUpperText(""), 0u);
  // Words split or misspelt do not count.
  EXPECT_EQ(StyleBitsFromUpperText("BOL D ITALI STRIKE OUT UNDER LINE"), 0u);
}

TEST(FontStyle, EveryStyleNameReadsBackAsItsOwnBits) {
  for (unsigned bits = 0; bits <= kStyleAll; ++bits) {
    std::string upper = StyleName(bits);
    for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(StyleBitsFromUpperText(upper), bits) << StyleName(bits);
  }
  EXPECT_STREQ(StyleName(0), "Normal");
  EXPECT_STREQ(StyleName(kStyleBold | kStyleUnderline), "Bold + Underline");
  EXPECT_STREQ(StyleName(kStyleItalic | kStyleStrikeOut), "Italic + StrikeOut");
  EXPECT_STREQ(StyleName(kStyleAll), "Bold + Italic + Underline + StrikeOut");
  EXPECT_STREQ(StyleName(0x10 | kStyleBold), "Bold");  // stray high bits are ignored
}

TEST(FontStyle, BoldStartsAtWeight700AndFlagsCountWhenNonZero) {
  EXPECT_EQ(StyleBitsOfFont(600, 0, 0, 0), 0u);
  EXPECT_EQ(StyleBitsOfFont(699, 0, 0, 0), 0u);
  EXPECT_EQ(StyleBitsOfFont(700, 0, 0, 0), kStyleBold);
  EXPECT_EQ(StyleBitsOfFont(900, 0, 0, 0), kStyleBold);
  EXPECT_EQ(StyleBitsOfFont(400, 255, 0, 0), kStyleItalic);
  EXPECT_EQ(StyleBitsOfFont(400, 0, 2, 0), kStyleUnderline);
  EXPECT_EQ(StyleBitsOfFont(400, 0, 0, 1), kStyleStrikeOut);
  EXPECT_EQ(StyleBitsOfFont(800, 1, 1, 1), kStyleAll);
}

TEST(FontStyle, HeightIsTheTruncatedExactQuotientNegated) {
  EXPECT_EQ(LogicalHeightForPoints(12, 96), -16);
  EXPECT_EQ(LogicalHeightForPoints(10, 96), -13);  // 13.33 truncated
  EXPECT_EQ(LogicalHeightForPoints(11, 96), -14);  // 14.67 truncated, not rounded
  EXPECT_EQ(LogicalHeightForPoints(0, 96), 0);
  EXPECT_EQ(LogicalHeightForPoints(-10, 96), 13);  // truncated toward zero
  EXPECT_EQ(LogicalHeightForPoints(12, 120), -20);
  EXPECT_EQ(LogicalHeightForPoints(12, 0), 0);
  // Products beyond 32 bits are still exact.
  EXPECT_EQ(LogicalHeightForPoints(100000000, 96), -133333333);
  EXPECT_EQ(LogicalHeightForPoints(1610612736, 96), INT32_MIN);  // exactly -2^31
}

TEST(FontStyle, HeightsBeyondThe32BitRangeSaturateWithoutChangingSign) {
  EXPECT_EQ(LogicalHeightForPoints(INT32_MAX, 96), INT32_MIN);
  EXPECT_EQ(LogicalHeightForPoints(1610612737, 96), INT32_MIN);
  EXPECT_EQ(LogicalHeightForPoints(INT32_MIN, 96), INT32_MAX);
  EXPECT_EQ(LogicalHeightForPoints(-1610612737, 96), INT32_MAX);
  EXPECT_EQ(LogicalHeightForPoints(INT32_MIN, INT32_MAX), INT32_MAX);
  EXPECT_EQ(LogicalHeightForPoints(INT32_MIN, INT32_MIN), INT32_MIN);
}

TEST(FontStyle, TenthsRoundHalfToEven) {
  EXPECT_EQ(TenthsToWholePoints(105), 10);
  EXPECT_EQ(TenthsToWholePoints(115), 12);
  EXPECT_EQ(TenthsToWholePoints(120), 12);
  EXPECT_EQ(TenthsToWholePoints(104), 10);
  EXPECT_EQ(TenthsToWholePoints(106), 11);
  EXPECT_EQ(TenthsToWholePoints(5), 0);
  EXPECT_EQ(TenthsToWholePoints(15), 2);
  EXPECT_EQ(TenthsToWholePoints(0), 0);
  EXPECT_EQ(TenthsToWholePoints(-105), -10);
  EXPECT_EQ(TenthsToWholePoints(-115), -12);
  EXPECT_EQ(TenthsToWholePoints(-106), -11);
  EXPECT_EQ(TenthsToWholePoints(INT32_MAX), 214748365);
  EXPECT_EQ(TenthsToWholePoints(INT32_MIN), -214748365);
}
