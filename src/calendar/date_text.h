// The texts that a calendar pick produces and the previous date it reads:
// day, month and year joined by "/" in the order of the date style.
#pragma once
#include <cstdint>
#include <string>

enum class DateStyle : uint8_t {
  MonthDayYear = 1,  // "MM-DD-YYYY", also an empty style text
  DayMonthYear = 2,  // "DD-MM-YYYY"
  YearMonthDay = 3,  // "YYYY-MM-DD"
};

// The style that a start's style text selects: empty (or null) and the three
// exact names select a style; any other text keeps current. The hyphens only
// name the order; the texts themselves use "/".
DateStyle ReadDateStyle(const char* styleText, DateStyle current);

// Field values as the calendar control takes them; a value that does not fit
// wraps, as storing it in a 16-bit member does, and the control refuses it.
struct CalendarDate {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t day = 0;
};

// Two-digit day and month, four-digit year, joined by "/" in style order,
// e.g. 5 January 2024 in MonthDayYear is "01/05/2024".
std::string FormatDateText(const CalendarDate& date, DateStyle style);

// Lenient reading of a previous date: the text is split at "/" (missing
// fields are empty, fields after the third ignored), each field read as a
// rounded number (no number gives 0) and assigned by the style's order.
CalendarDate ReadDateText(const char* text, DateStyle style);

// The host script line that runs a subroutine: GoSub "name".
std::string GoSubLine(const std::string& subroutine);
