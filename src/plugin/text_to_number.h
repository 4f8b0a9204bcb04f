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

// TextToNumber followed by RoundToInt32: positions, sizes, handles.
int32_t TextToInt(const char* text);
