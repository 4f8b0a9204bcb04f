#include "dialogs/dpi_scale.h"

#include <cstdint>

namespace {

// MulDiv: 64-bit product, quotient rounded half away from zero.
int MulDivRounded(int value, int numerator, int denominator) {
  int64_t product = static_cast<int64_t>(value) * numerator;
  int64_t half = denominator / 2;
  int64_t quotient = product >= 0 ? (product + half) / denominator : (product - half) / denominator;
  return static_cast<int>(quotient);
}

int ValidDpi(int dpi) { return dpi > 0 ? dpi : kBaseDpi; }

}  // namespace

int ScaleForDpi(int value, int dpi) {
  dpi = ValidDpi(dpi);
  if (dpi == kBaseDpi) return value;
  return MulDivRounded(value, dpi, kBaseDpi);
}

int FontHeightForDpi(int points, int dpi) { return -MulDivRounded(points, ValidDpi(dpi), kPointsPerInch); }
