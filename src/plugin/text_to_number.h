// Reading numbers out of parameter texts, the way script authors write them.
#pragma once
#include <cstdint>

// The value of the longest numeric prefix of text, after leading blanks
// (space, tab, CR, LF). Accepts [+-]digits[.digits][(E|e|D|d)[+-]digits],
// with digits on either side of the point (".5" and "5." as the C runtime
// reads them), and "&H"/"&O"/"&Q"/"&B" radix forms ("&" + digits is octal).
// A null or empty text, or one without such a prefix, gives 0. The result
// is the correctly rounded double, whatever the length of the text.
double TextToNumber(const char* text);

// Rounds to the nearest integer, a half going to the even neighbour, and
// saturates to the signed 32-bit range.
int32_t RoundToInt32(double value);

// TextToNumber followed by RoundToInt32: positions and sizes.
int32_t TextToInt(const char* text);

// A 32-bit window handle as a host may write it, signed ("-1") or unsigned
// ("4294967295", "&HFFFFFFFF"), or a sign-extended 64-bit one written
// unsigned ("18446744073709486146", "&HFFFFFFFFFFFF0042"): the value
// rounded, then taken modulo 2^32, so every spelling gives the same bits. A
// whole number keeps its low 32 bits exactly, however long. Not a number
// (or infinite) gives 0.
uint32_t TextToUInt32Bits(const char* text);
