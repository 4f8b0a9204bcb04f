#include "plugin/decimal_to_double.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// An unsigned integer of any size, 32 bits per limb, least significant first.
using Big = std::vector<uint32_t>;

void MultiplyAdd(Big& n, uint32_t factor, uint32_t addend) {
  uint64_t carry = addend;
  for (uint32_t& limb : n) {
    carry += uint64_t(limb) * factor;
    limb = uint32_t(carry);
    carry >>= 32;
  }
  if (carry) n.push_back(uint32_t(carry));
}

void MultiplyByPowerOfTen(Big& n, long power) {
  for (; power >= 9; power -= 9) MultiplyAdd(n, 1000000000u, 0);
  uint32_t rest = 1;
  while (power-- > 0) rest *= 10;
  MultiplyAdd(n, rest, 0);
}

long BitLength(const Big& n) {
  for (size_t i = n.size(); i-- > 0;)
    if (n[i]) {
      long bits = long(i) * 32;
      for (uint32_t top = n[i]; top; top >>= 1) ++bits;
      return bits;
    }
  return 0;
}

void ShiftLeft(Big& n, long bits) {
  n.insert(n.begin(), size_t(bits / 32), 0u);
  unsigned shift = unsigned(bits % 32);
  if (!shift) return;
  uint32_t carry = 0;
  for (uint32_t& limb : n) {
    uint32_t next = limb >> (32 - shift);
    limb = (limb << shift) | carry;
    carry = next;
  }
  if (carry) n.push_back(carry);
}

int Compare(const Big& a, const Big& b) {
  size_t size = a.size() > b.size() ? a.size() : b.size();
  for (size_t i = size; i-- > 0;) {
    uint32_t x = i < a.size() ? a[i] : 0, y = i < b.size() ? b[i] : 0;
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

void Subtract(Big& a, const Big& b) {  // a >= b
  int64_t borrow = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    int64_t d = int64_t(a[i]) - (i < b.size() ? b[i] : 0) - borrow;
    borrow = d < 0;
    a[i] = uint32_t(d + (borrow << 32));
  }
}

bool IsZero(const Big& n) {
  for (uint32_t limb : n)
    if (limb) return false;
  return true;
}

}  // namespace

double DecimalToDouble(const std::string& digits, long exponent) {
  if (digits.empty()) return 0;
  // The value lies in [10^(magnitude-1), 10^magnitude).
  long magnitude = long(digits.size()) + exponent;
  if (magnitude > 310) return HUGE_VAL;  // above DBL_MAX
  if (magnitude < -324) return 0;        // below half the least subnormal

  Big numerator{0}, denominator{1};
  for (char c : digits) MultiplyAdd(numerator, 10, uint32_t(c - '0'));
  if (exponent >= 0) MultiplyByPowerOfTen(numerator, exponent);
  else MultiplyByPowerOfTen(denominator, -exponent);

  // Scale so that the quotient has 63 or 64 bits: value = quotient * 2^-scale.
  long scale = 63 - (BitLength(numerator) - BitLength(denominator));
  if (scale > 0) ShiftLeft(numerator, scale);
  else ShiftLeft(denominator, -scale);

  // Long division, one quotient bit at a time; what remains makes the
  // rounding exact (a "sticky" bit below all the others).
  uint64_t quotient = 0;
  Big shifted;
  for (int bit = 63; bit >= 0; --bit) {
    shifted = denominator;
    ShiftLeft(shifted, bit);
    if (Compare(numerator, shifted) >= 0) {
      Subtract(numerator, shifted);
      quotient |= uint64_t(1) << bit;
    }
  }
  bool sticky = !IsZero(numerator);

  int length = quotient >> 63 ? 64 : 63;
  long binaryExponent = length - 1 - scale;  // of the leading bit
  // Bits a double keeps at this exponent: 53, fewer for subnormals.
  long keep = binaryExponent >= -1022 ? 53 : binaryExponent + 1075;
  if (keep < 0) return 0;  // below 2^-1075: rounds to 0
  int drop = length - int(keep);  // 10 to 64
  uint64_t mantissa = drop < 64 ? quotient >> drop : 0;
  uint64_t rest = drop < 64 ? quotient & ((uint64_t(1) << drop) - 1) : quotient;
  uint64_t half = uint64_t(1) << (drop - 1);
  if (rest > half || (rest == half && (sticky || (mantissa & 1)))) ++mantissa;
  // Exact: mantissa has at most 53 bits and fits at this exponent; past
  // DBL_MAX ldexp gives HUGE_VAL.
  return std::ldexp(double(mantissa), int(drop - scale));
}
