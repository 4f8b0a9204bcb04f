#include "plugin/text_to_number.h"

#include <cmath>
#include <string>

#include "plugin/decimal_to_double.h"

namespace {

// Mantissa digits kept for the slow path; enough that dropping the rest can
// only matter below double precision (a sticky digit keeps halves honest).
constexpr size_t kMaxMantissaDigits = 800;
// Exponents past this overflow or underflow a double whatever the mantissa.
constexpr long kExponentCap = 100000;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c, int radix) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < radix ? v : -1;
}

double ReadRadixDigits(const char* p, int radix) {
  double value = 0;
  for (int d; (d = DigitValue(*p, radix)) >= 0; ++p) value = value * radix + d;
  return value;
}

double ReadRadixForm(const char* p) {  // p points just past '&'
  switch (*p) {
    case 'H': case 'h': return ReadRadixDigits(p + 1, 16);
    case 'O': case 'o': case 'Q': case 'q': return ReadRadixDigits(p + 1, 8);
    case 'B': case 'b': return ReadRadixDigits(p + 1, 2);
    default: return ReadRadixDigits(p, 8);
  }
}

double ReadDecimal(const char* p) {
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');

  std::string digits;        // significant digits, leading zeros dropped
  bool sticky = false;       // a non-zero digit was dropped past the cap
  long exponent = 0;         // value = digits * 10^exponent
  bool any = false;
  auto take = [&](char c, bool fraction) {
    any = true;
    if (digits.empty() && c == '0') { if (fraction) --exponent; return; }
    if (digits.size() < kMaxMantissaDigits) {
      digits += c;
      if (fraction) --exponent;
    } else {
      if (c != '0') sticky = true;
      if (!fraction) ++exponent;
    }
  };
  for (; IsDigit(*p); ++p) take(*p, false);
  if (*p == '.') {
    ++p;
    for (; IsDigit(*p); ++p) take(*p, true);
  }
  if (!any) return 0;

  if (*p == 'E' || *p == 'e' || *p == 'D' || *p == 'd') {
    const char* q = p + 1;
    bool expNegative = false;
    if (*q == '+' || *q == '-') expNegative = (*q++ == '-');
    if (IsDigit(*q)) {
      long e = 0;
      for (; IsDigit(*q); ++q) if (e < kExponentCap) e = e * 10 + (*q - '0');
      exponent += expNegative ? -e : e;
    }
  }
  if (digits.empty()) return negative ? -0.0 : 0.0;

  double value;
  if (digits.size() <= 15 && exponent >= -22 && exponent <= 22) {
    // Exact: both the mantissa and the power of ten are representable.
    double mantissa = 0;
    for (char c : digits) mantissa = mantissa * 10 + (c - '0');
    static const double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    value = exponent >= 0 ? mantissa * kPowers[exponent] : mantissa / kPowers[-exponent];
  } else {
    if (sticky) { digits += '1'; --exponent; }
    if (exponent > kExponentCap) exponent = kExponentCap;
    if (exponent < -kExponentCap) exponent = -kExponentCap;
    value = DecimalToDouble(digits, exponent);
  }
  return negative ? -value : value;
}

// The nearest whole number, a half going to the even neighbour. For values
// below 2^52 in magnitude, where the fraction is exact.
double RoundHalfToEven(double value) {
  double whole = std::floor(value);
  double fraction = value - whole;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0)) whole += 1;
  return whole;
}

}  // namespace

double TextToNumber(const char* text) {
  if (!text) return 0;
  const char* p = text;
  while (IsBlank(*p)) ++p;
  if (*p == '&') return ReadRadixForm(p + 1);
  return ReadDecimal(p);
}

int32_t RoundToInt32(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  double whole = RoundHalfToEven(value);
  if (whole > 2147483647.0) return INT32_MAX;
  return static_cast<int32_t>(whole);
}

int32_t TextToInt(const char* text) { return RoundToInt32(TextToNumber(text)); }

uint32_t TextToUInt32Bits(const char* text) {
  constexpr double kTwoTo32 = 4294967296.0;
  double value = TextToNumber(text);
  if (!std::isfinite(value)) return 0;
  // fmod is exact; the result lies in (-2^32, 2^32), so one step brings it
  // into [0, 2^32), where rounding below cannot leave the range but at 2^32.
  double wrapped = std::fmod(value, kTwoTo32);
  if (wrapped < 0) wrapped += kTwoTo32;
  double whole = RoundHalfToEven(wrapped);
  if (whole >= kTwoTo32) whole -= kTwoTo32;
  return static_cast<uint32_t>(whole);
}
