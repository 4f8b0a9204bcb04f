// The two texts in which actions report a colour (COLORREF, 0x00BBGGRR).
#pragma once
#include <cstdint>
#include <string>

inline uint8_t RedOf(uint32_t colorref) { return colorref & 0xFF; }
inline uint8_t GreenOf(uint32_t colorref) { return (colorref >> 8) & 0xFF; }
inline uint8_t BlueOf(uint32_t colorref) { return (colorref >> 16) & 0xFF; }

// "#RRGGBB", upper-case hexadecimal: always 7 characters.
std::string ColorToHexText(uint32_t colorref);

// "r,g,b" in decimal without blanks or leading zeros: 5 to 11 characters.
std::string ColorToRgbText(uint32_t colorref);
