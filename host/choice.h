// Reading the texts that name the autopilot's choice and the plug-in's hints.
#pragma once
#include <string>
#include <vector>

struct RgbChoice {
  int red = 0, green = 0, blue = 0;
};

// "#RRGGBB" (hexadecimal) or "R,G,B" (decimal, 0 to 255 each); false otherwise.
bool ParseColorChoice(const std::string& text, RgbChoice* color);

struct FontChoice {
  std::string face;
  int points = 0;  // 0: keep the dialog's size
};

// "Face" or "Face,Points".
FontChoice ParseFontChoice(const std::string& text);

struct DateChoice {
  int year = 0, month = 0;  // 0: the month that the calendar shows
  int day = 0;              // 0: not a date
};

// "DD" (a day of the shown month) or "YYYY-MM-DD".
DateChoice ParseDateChoice(const std::string& text);

// Pieces of text cut at every separator character.
std::vector<std::string> SplitAt(const std::string& text, char separator);

// The plug-in's hint: description line, CR LF, usage line with the quoted
// parameter names. Both fall back to the whole hint / no names.
std::string HintDescription(const std::string& hint);
std::vector<std::string> HintParameterNames(const std::string& hint);
