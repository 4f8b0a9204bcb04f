#include "calendar/date_text.h"

#include <cstring>

#include "plugin/text_to_number.h"

namespace {

struct StyleName {
  const char* text;
  DateStyle style;
};

// Compared exactly: the editors offer these texts, and anything else is a typo
// that must not silently switch the order of a script's dates.
constexpr StyleName kStyleNames[] = {
    {"MM-DD-YYYY", DateStyle::MonthDayYear},
    {"DD-MM-YYYY", DateStyle::DayMonthYear},
    {"YYYY-MM-DD", DateStyle::YearMonthDay},
};

constexpr char kSeparator = '/';
constexpr int kFieldCount = 3;

// Decimal digits with leading zeros up to width; wider values keep every digit.
std::string ZeroPadded(unsigned value, size_t width) {
  std::string digits = std::to_string(value);
  if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
  return digits;
}

std::string TwoDigits(unsigned value) { return ZeroPadded(value, 2); }
std::string FourDigits(unsigned value) { return ZeroPadded(value, 4); }

}  // namespace

DateStyle ReadDateStyle(const char* styleText, DateStyle current) {
  if (!styleText || !*styleText) return DateStyle::MonthDayYear;
  for (const StyleName& name : kStyleNames)
    if (std::strcmp(styleText, name.text) == 0) return name.style;
  return current;
}

std::string FormatDateText(const CalendarDate& date, DateStyle style) {
  const std::string day = TwoDigits(date.day);
  const std::string month = TwoDigits(date.month);
  const std::string year = FourDigits(date.year);
  switch (style) {
    case DateStyle::DayMonthYear: return day + kSeparator + month + kSeparator + year;
    case DateStyle::YearMonthDay: return year + kSeparator + month + kSeparator + day;
    case DateStyle::MonthDayYear: break;
  }
  return month + kSeparator + day + kSeparator + year;
}

CalendarDate ReadDateText(const char* text, DateStyle style) {
  uint16_t field[kFieldCount] = {};
  const char* cursor = text ? text : "";
  for (int i = 0; i < kFieldCount; ++i) {
    const char* end = std::strchr(cursor, kSeparator);
    std::string piece = end ? std::string(cursor, end) : std::string(cursor);
    field[i] = static_cast<uint16_t>(TextToInt(piece.c_str()));
    if (!end) break;  // the remaining fields are missing, hence 0
    cursor = end + 1;
  }
  CalendarDate date;
  switch (style) {
    case DateStyle::DayMonthYear:
      date.day = field[0], date.month = field[1], date.year = field[2];
      break;
    case DateStyle::YearMonthDay:
      date.year = field[0], date.month = field[1], date.day = field[2];
      break;
    case DateStyle::MonthDayYear:
      date.month = field[0], date.day = field[1], date.year = field[2];
      break;
  }
  return date;
}

std::string GoSubLine(const std::string& subroutine) {
  return "GoSub \"" + subroutine + "\"";
}
