#include <cstdint>
#include <cstdlib>
#include <string>

#include "calendar/date_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  text = text.c_str();  // a host text ends at its first zero byte
  for (DateStyle style : {DateStyle::MonthDayYear, DateStyle::DayMonthYear, DateStyle::YearMonthDay}) {
    CalendarDate date = ReadDateText(text.c_str(), style);
    // Any date the calendar can hold survives writing and reading back.
    if (date.year >= 1601 && date.year <= 9999 && date.month >= 1 && date.month <= 12 &&
        date.day >= 1 && date.day <= 31) {
      std::string written = FormatDateText(date, style);
      if (written.size() != 10) std::abort();
      CalendarDate again = ReadDateText(written.c_str(), style);
      if (again.year != date.year || again.month != date.month || again.day != date.day) std::abort();
    }
  }
  ReadDateStyle(text.c_str(), DateStyle::MonthDayYear);
  return 0;
}
