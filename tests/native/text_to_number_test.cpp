#include "plugin/text_to_number.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

TEST(TextToNumber, ReadsTheLongestNumericPrefixAfterBlanks) {
  EXPECT_EQ(TextToNumber("40"), 40);
  EXPECT_EQ(TextToNumber("  40"), 40);
  EXPECT_EQ(TextToNumber("\t\r\n 40"), 40);
  EXPECT_EQ(TextToNumber("40px"), 40);
  EXPECT_EQ(TextToNumber("12.4"), 12.4);
  EXPECT_EQ(TextToNumber("-100"), -100);
  EXPECT_EQ(TextToNumber("+7"), 7);
  EXPECT_EQ(TextToNumber("5."), 5);
  EXPECT_EQ(TextToNumber(".5"), 0.5);
  EXPECT_EQ(TextToNumber("1.2.3"), 1.2);
  EXPECT_EQ(TextToNumber("12 34"), 12);
}

TEST(TextToNumber, TextsWithoutANumberGiveZero) {
  EXPECT_EQ(TextToNumber(nullptr), 0);
  EXPECT_EQ(TextToNumber(""), 0);
  EXPECT_EQ(TextToNumber("abc"), 0);
  EXPECT_EQ(TextToNumber("-"), 0);
  EXPECT_EQ(TextToNumber("."), 0);
  EXPECT_EQ(TextToNumber(" x12"), 0);
  EXPECT_EQ(TextToNumber("\v12"), 0);  // only space, tab, CR and LF are skipped
  EXPECT_EQ(TextToNumber("&"), 0);
  EXPECT_EQ(TextToNumber("&H"), 0);
  EXPECT_EQ(TextToNumber("&Z1"), 0);
}

TEST(TextToNumber, ExponentsInAllFourLetters) {
  EXPECT_EQ(TextToNumber("1E3"), 1000);
  EXPECT_EQ(TextToNumber("1e3"), 1000);
  EXPECT_EQ(TextToNumber("1D3"), 1000);
  EXPECT_EQ(TextToNumber("1d-3"), 0.001);
  EXPECT_EQ(TextToNumber("2.5e+2"), 250);
  EXPECT_EQ(TextToNumber("12e"), 12);   // no digits: the letter is not part of the number
  EXPECT_EQ(TextToNumber("12e+"), 12);
  EXPECT_EQ(TextToNumber("12f3"), 12);
}

TEST(TextToNumber, RadixForms) {
  EXPECT_EQ(TextToNumber("&H1F"), 31);
  EXPECT_EQ(TextToNumber("&hff"), 255);
  EXPECT_EQ(TextToNumber("&O17"), 15);
  EXPECT_EQ(TextToNumber("&o17"), 15);
  EXPECT_EQ(TextToNumber("&Q17"), 15);
  EXPECT_EQ(TextToNumber("&q17"), 15);
  EXPECT_EQ(TextToNumber("&B101"), 5);
  EXPECT_EQ(TextToNumber("&b1012"), 5);
  EXPECT_EQ(TextToNumber("&17"), 15);
  EXPECT_EQ(TextToNumber("&178"), 15);
  EXPECT_EQ(TextToNumber("  &H10"), 16);
  EXPECT_EQ(TextToNumber("&HFFFFFFFF"), 4294967295.0);
}

TEST(TextToNumber, HugeAndLongNumbersStayFinite) {
  EXPECT_EQ(TextToNumber("1e400"), HUGE_VAL);
  EXPECT_EQ(TextToNumber("-1e400"), -HUGE_VAL);
  EXPECT_EQ(TextToNumber("1e-400"), 0);
  EXPECT_DOUBLE_EQ(TextToNumber("1234567890123456789012345678901234567890"), 1.2345678901234568e39);
  std::string longDigits(70000, '9');
  EXPECT_GT(TextToNumber(longDigits.c_str()), 1e300);
  std::string longFraction = "0." + std::string(70000, '0') + "1";
  EXPECT_EQ(TextToNumber(longFraction.c_str()), 0);
  EXPECT_EQ(TextToNumber("1e99999999999999999999"), HUGE_VAL);
  // Digits that shift the exponent as far as the written one shifts it back.
  std::string megabyte = "1" + std::string(1000000, '0');
  EXPECT_EQ(TextToNumber((megabyte + "e-1000000").c_str()), 1);
  EXPECT_EQ(TextToNumber(("0." + std::string(999999, '0') + "1e1000000").c_str()), 1);
}

// Past 53 bits the radix digits are rounded once, as glibc's strtod rounds
// the same bits written in C's hexadecimal form.
TEST(TextToNumber, LongRadixFormsRoundOnce) {
  EXPECT_EQ(TextToNumber("&H20000000000001"), 9007199254740992.0);  // a tie: to even
  EXPECT_EQ(TextToNumber("&H20000000000003"), 9007199254740996.0);
  EXPECT_EQ(TextToNumber("&O400000000000000001"), 9007199254740992.0);
  std::mt19937_64 random(5);
  const char* hex = "0123456789ABCDEF";
  for (int i = 0; i < 5000 && !HasFailure(); ++i) {
    std::string digits(1, hex[1 + random() % 15]);
    for (size_t length = 1 + random() % 40; digits.size() < length;) digits += hex[random() % 16];
    if (random() % 4 == 0) digits.replace(digits.size() / 2, std::string::npos, digits.size() - digits.size() / 2, '0');
    EXPECT_EQ(TextToNumber(("&H" + digits).c_str()), std::strtod(("0x" + digits).c_str(), nullptr))
        << digits;
  }
}

TEST(RoundToInt32, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(RoundToInt32(12.4), 12);
  EXPECT_EQ(RoundToInt32(12.6), 13);
  EXPECT_EQ(RoundToInt32(12.5), 12);
  EXPECT_EQ(RoundToInt32(13.5), 14);
  EXPECT_EQ(RoundToInt32(0.5), 0);
  EXPECT_EQ(RoundToInt32(1.5), 2);
  EXPECT_EQ(RoundToInt32(-0.5), 0);
  EXPECT_EQ(RoundToInt32(-1.5), -2);
  EXPECT_EQ(RoundToInt32(-2.5), -2);
  EXPECT_EQ(RoundToInt32(-2.6), -3);
}

TEST(RoundToInt32, SaturatesToTheSigned32BitRange) {
  EXPECT_EQ(TextToInt("2147483647"), INT32_MAX);
  EXPECT_EQ(TextToInt("2147483648"), INT32_MAX);
  EXPECT_EQ(TextToInt("2147483647.5"), INT32_MAX);
  EXPECT_EQ(TextToInt("-2147483648"), INT32_MIN);
  EXPECT_EQ(TextToInt("-2147483648.5"), INT32_MIN);
  EXPECT_EQ(TextToInt("-2147483649"), INT32_MIN);
  EXPECT_EQ(TextToInt("1e400"), INT32_MAX);
  EXPECT_EQ(TextToInt("-1e400"), INT32_MIN);
  EXPECT_EQ(TextToInt("99999999999999999999999999999999999999999"), INT32_MAX);
  EXPECT_EQ(TextToInt("&HFFFFFFFF"), INT32_MAX);
  EXPECT_EQ(TextToInt("-2147483647.5"), -2147483648);
}

// Every spelling of a window handle names the same 32 bits: signed or
// unsigned, rounded before it wraps (a negative near-half keeps its
// fraction), and a 64-bit host's sign-extended handle written unsigned keeps
// its low bits; positions and sizes keep saturating.
TEST(TextToUInt32Bits, EverySpellingGivesTheSameBits) {
  const std::string twoTo32TimesFiveTo32 = "1" + std::string(32, '0');
  const struct {
    const char* text;
    uint32_t bits;
  } kCases[] = {
      {"4294967295", 0xFFFFFFFFu},
      {"-1", 0xFFFFFFFFu},
      {"&HFFFF0042", 0xFFFF0042u},
      {"-65470", 0xFFFF0042u},
      {"2147483648", 0x80000000u},
      {"-2147483648", 0x80000000u},
      {"4294967296", 0u},
      {"4294967297", 1u},
      {"131072.5", 131072u},  // half to even, as everywhere
      {"4294967295.5", 0u},   // rounds up past the top: wraps
      {"1e999", 0u},
      {"", 0u},
      {"-0.5000001", 0xFFFFFFFFu},
      {"-1.4999999", 0xFFFFFFFFu},
      {"18446744073709486146", 0xFFFF0042u},
      {"&HFFFFFFFFFFFF0042", 0xFFFF0042u},
      {"&O1777777777777777600102", 0xFFFF0042u},
      {"18446744073709486146.000px", 0xFFFF0042u},
      {"-18446744073709486146", 0x0000FFBEu},
      {twoTo32TimesFiveTo32.c_str(), 0u},
  };
  for (const auto& c : kCases) EXPECT_EQ(TextToUInt32Bits(c.text), c.bits) << '"' << c.text << '"';
  EXPECT_EQ(TextToInt("4294967295"), INT32_MAX);
}
