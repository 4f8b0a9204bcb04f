// The font action's arithmetic and texts: style words to bits and back to a
// style name, points to a logical height, tenths of a point to points.
#pragma once
#include <cstdint>
#include <string_view>

// Style bits, combinable.
constexpr unsigned kStyleBold = 1;
constexpr unsigned kStyleItalic = 2;
constexpr unsigned kStyleUnderline = 4;
constexpr unsigned kStyleStrikeOut = 8;
constexpr unsigned kStyleAll = 15;

// Weights of LOGFONT: what we ask for, and from where a face counts as bold.
constexpr int32_t kFwNormal = 400;
constexpr int32_t kFwBold = 700;

// Style bits of an already upper-cased style text: each word is an
// independent substring test, so "SEMIBOLD" is bold and order, separators
// and other words do not matter.
unsigned StyleBitsFromUpperText(std::string_view upperText);

// Style bits of a chosen font: bold from weight 700 up, the others when
// their flag byte is non-zero.
unsigned StyleBitsOfFont(int32_t weight, uint8_t italic, uint8_t underline, uint8_t strikeOut);

// "Normal", or the words "Bold", "Italic", "Underline", "StrikeOut" of the
// set bits joined by " + ". Bits above kStyleAll are ignored.
const char* StyleName(unsigned styleBits);

// lfHeight for a size in points: -(points * dpi / 72), the product exact and
// the quotient truncated toward zero. Results beyond the 32-bit range are
// saturated, so an absurd size asks for the largest font, never a wrapped
// (sign-flipped) height.
int32_t LogicalHeightForPoints(int32_t points, int32_t dotsPerInch);

// Whole points from tenths of a point, a half going to the even neighbour
// (105 -> 10, 115 -> 12).
int32_t TenthsToWholePoints(int32_t tenths);
