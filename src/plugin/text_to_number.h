// Reading numbers out of parameter texts, the way script authors write them.
#pragma once
#include <cstdint>

// The value of the longest numeric prefix of text, after leading blanks
// (space, tab, CR, LF). Accepts [+-]digits[.digits][(E|e|D|d)[+-]digits],
// and "&H"/"&O"/"&Q"/"&B" radix forms ("&" + digits is octal). A null or
// empty text, or one without such a prefix, gives 0.
double TextToNumber(const char* text);

// Rounds to the nearest integer, a half going to the even neighbour, and
// saturates to the signed 32-bit range.
int32_t RoundToInt32(double value);

// TextToNumber followed by RoundToInt32: positions and sizes.
int32_t TextToInt(const char* text);

// A 32-bit window handle as a host may write it, signed ("-1") or unsigned
// ("4294967295", "&HFFFFFFFF"): the rounded value modulo 2^32, so both
// spellings give the same bits. Not a number (or infinite) gives 0.
uint32_t TextToUInt32Bits(const char* text);
