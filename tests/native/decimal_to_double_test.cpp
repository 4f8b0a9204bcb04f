// The library rounds decimal texts itself; glibc's strtod, correctly rounded,
// is the reference it must agree with bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "plugin/decimal_to_double.h"

namespace {

uint64_t Bits(double value) {
  uint64_t bits;
  std::memcpy(&bits, &value, sizeof(bits));
  return bits;
}

void ExpectAsStrtod(const std::string& digits, long exponent) {
  std::string text = digits + "e" + std::to_string(exponent);
  EXPECT_EQ(Bits(DecimalToDouble(digits, exponent)), Bits(std::strtod(text.c_str(), nullptr)))
      << text;
}

}  // namespace

TEST(DecimalToDouble, RoundsTiesAndNearTiesAsStrtod) {
  // 2^53 + 1 is a tie between two doubles; one more digit tips it.
  ExpectAsStrtod("9007199254740993", 0);
  ExpectAsStrtod("90071992547409930000000000000001", -16);
  ExpectAsStrtod("9007199254740995", 0);
  // 0.1 + ulp/2 and neighbours, written out in full.
  ExpectAsStrtod("1000000000000000055511151231257827021181583404541015625", -55);
  ExpectAsStrtod("1000000000000000055511151231257827021181583404541015624", -55);
  ExpectAsStrtod("1000000000000000055511151231257827021181583404541015626", -55);
  ExpectAsStrtod("49999999999999999", -17);
  ExpectAsStrtod("14999999999999999", -16);
  ExpectAsStrtod("25", -1);
}

TEST(DecimalToDouble, EndsOfTheRangeAsStrtod) {
  ExpectAsStrtod("17976931348623157", 292);  // DBL_MAX
  ExpectAsStrtod("17976931348623158", 292);  // rounds down to DBL_MAX
  ExpectAsStrtod("17976931348623159", 292);  // rounds up past it
  ExpectAsStrtod("22250738585072014", -324);  // DBL_MIN
  ExpectAsStrtod("22250738585072011", -324);  // largest subnormal
  ExpectAsStrtod("49406564584124654", -340);  // least subnormal
  ExpectAsStrtod("24703282292062327", -340);  // just under half of it
  ExpectAsStrtod("24703282292062328", -340);  // just over half of it
  ExpectAsStrtod("1", -400);
  ExpectAsStrtod("1", 400);
  EXPECT_EQ(DecimalToDouble("", 5), 0);
  EXPECT_EQ(DecimalToDouble("1", 100000), HUGE_VAL);
  EXPECT_EQ(DecimalToDouble("1", -100000), 0);
}

TEST(DecimalToDouble, RandomDigitsAndExponentsAsStrtod) {
  std::mt19937_64 random(17);
  for (int i = 0; i < 20000; ++i) {
    size_t length = 1 + random() % (i % 10 == 0 ? 800 : 40);
    std::string digits(1, char('1' + random() % 9));
    while (digits.size() < length) digits += char('0' + random() % 10);
    long exponent = long(random() % 700) - 350 - long(length / 2);
    ExpectAsStrtod(digits, exponent);
    if (HasFailure()) break;
  }
}
