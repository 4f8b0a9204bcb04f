#include "plugin/text_to_number.h"

#include <cmath>
#include <cstdint>
#include <string>

#include "plugin/decimal_to_double.h"

namespace {

// Mantissa digits kept for the slow path; enough that dropping the rest can
// only matter below double precision (a sticky digit keeps halves honest).
constexpr size_t kMaxMantissaDigits = 800;
// Exponents past this overflow or underflow a double whatever the mantissa.
constexpr int64_t kExponentCap = 100000;
// Binary places past this overflow a double whatever the leading bits.
constexpr int kBinaryShiftCap = 4096;
// Below 2^52 a double still has a fraction to round; above, it is whole.
constexpr double kTwoTo52 = 4503599627370496.0;
constexpr double kTwoTo32 = 4294967296.0;

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int DigitValue(char c, int radix) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < radix ? v : -1;
}

// mantissa * 2^shift rounded once to the nearest double, a tie going to the
// even neighbour; sticky says that non-zero bits were dropped below it.
double RoundBinary(uint64_t mantissa, int shift, bool sticky) {
  int length = 0;
  for (uint64_t m = mantissa; m; m >>= 1) ++length;
  if (length <= 53) return std::ldexp(double(mantissa), shift);  // exact
  int drop = length - 53;
  uint64_t kept = mantissa >> drop;
  uint64_t rest = mantissa & ((uint64_t(1) << drop) - 1);
  uint64_t half = uint64_t(1) << (drop - 1);
  if (rest > half || (rest == half && (sticky || (kept & 1)))) ++kept;
  return std::ldexp(double(kept), shift + drop);
}

// Hexadecimal, octal and binary digits are bits: the first 61 or more are
// kept exactly and the rest only tell whether any was set, so a long text
// rounds once, as a decimal text does.
double ReadRadixDigits(const char* p, int radix) {
  const int bitsPerDigit = radix == 16 ? 4 : radix == 8 ? 3 : 1;
  uint64_t mantissa = 0;
  int shift = 0;
  bool sticky = false;
  for (int d; (d = DigitValue(*p, radix)) >= 0; ++p) {
    if ((mantissa >> (64 - bitsPerDigit)) == 0) {
      mantissa = (mantissa << bitsPerDigit) | uint64_t(d);
    } else {
      if (shift < kBinaryShiftCap) shift += bitsPerDigit;
      if (d) sticky = true;
    }
  }
  return RoundBinary(mantissa, shift, sticky);
}

// p points just past '&'; gives the first digit and sets the radix.
const char* SkipRadixLetter(const char* p, int* radix) {
  switch (*p) {
    case 'H': case 'h': *radix = 16; return p + 1;
    case 'O': case 'o': case 'Q': case 'q': *radix = 8; return p + 1;
    case 'B': case 'b': *radix = 2; return p + 1;
    default: *radix = 8; return p;
  }
}

double ReadRadixForm(const char* p) {
  int radix;
  const char* digits = SkipRadixLetter(p, &radix);
  return ReadRadixDigits(digits, radix);
}

double ReadDecimal(const char* p) {
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');

  std::string digits;        // significant digits, leading zeros dropped
  bool sticky = false;       // a non-zero digit was dropped past the cap
  int64_t exponent = 0;      // value = digits * 10^exponent
  int64_t digitsRead = 0;    // every digit, zeros too: |exponent| <= digitsRead
  auto take = [&](char c, bool fraction) {
    ++digitsRead;
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
  if (digitsRead == 0) return 0;

  if (*p == 'E' || *p == 'e' || *p == 'D' || *p == 'd') {
    const char* q = p + 1;
    bool expNegative = false;
    if (*q == '+' || *q == '-') expNegative = (*q++ == '-');
    if (IsDigit(*q)) {
      // Past this bound the sum overflows or underflows whatever the digits
      // shifted it by; below it, a megabyte of zeros can still cancel it.
      const int64_t bound = kExponentCap + digitsRead;
      int64_t e = 0;
      for (; IsDigit(*q); ++q) if (e <= bound) e = e * 10 + (*q - '0');
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
    value = DecimalToDouble(digits, long(exponent));
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

// A text whose number is whole (digits, a fraction of zeros at most, no
// exponent; or a radix form) in its low 32 bits, computed modulo 2^32 so
// that no digit is lost: a 64-bit handle written out in full keeps them.
bool ReadWholeNumberBits(const char* text, uint32_t* bits) {
  if (!text) return false;
  const char* p = text;
  while (IsBlank(*p)) ++p;
  uint32_t value = 0;
  if (*p == '&') {
    int radix;
    p = SkipRadixLetter(p + 1, &radix);
    for (int d; (d = DigitValue(*p, radix)) >= 0; ++p) value = value * uint32_t(radix) + uint32_t(d);
    *bits = value;
    return true;
  }
  bool negative = false;
  if (*p == '+' || *p == '-') negative = (*p++ == '-');
  bool any = false;
  for (; IsDigit(*p); ++p, any = true) value = value * 10u + uint32_t(*p - '0');
  if (*p == '.') {
    for (++p; IsDigit(*p); ++p, any = true)
      if (*p != '0') return false;
  }
  if (!any) return false;
  if (*p == 'E' || *p == 'e' || *p == 'D' || *p == 'd') {
    const char* q = p + 1;
    if (*q == '+' || *q == '-') ++q;
    if (IsDigit(*q)) return false;
  }
  *bits = negative ? 0u - value : value;
  return true;
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
  uint32_t bits;
  if (ReadWholeNumberBits(text, &bits)) return bits;
  double value = TextToNumber(text);
  if (!std::isfinite(value)) return 0;
  // Round while the fraction is still exact: near 2^32 a double's step is
  // 2^-21, so adding 2^32 first would snap a near-half onto the half.
  double whole = std::fabs(value) < kTwoTo52 ? RoundHalfToEven(value) : value;
  // fmod is exact; one step brings its result into [0, 2^32).
  double wrapped = std::fmod(whole, kTwoTo32);
  if (wrapped < 0) wrapped += kTwoTo32;
  return static_cast<uint32_t>(wrapped);
}
