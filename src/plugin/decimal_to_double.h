// Decimal digits and a power of ten, rounded once to the nearest double.
#pragma once
#include <string>

// digits: decimal digits without leading zeros (an empty text is 0);
// the value is digits * 10^exponent, rounded to nearest, a tie going to the
// even neighbour, as the C library's strtod does. Too large gives HUGE_VAL,
// too small 0. Done here, in integers, because strtod alone would be a
// sixth of the DLL.
double DecimalToDouble(const std::string& digits, long exponent);
