#include "calendar/date_text.h"

#include <gtest/gtest.h>

namespace {
CalendarDate Date(uint16_t year, uint16_t month, uint16_t day) {
  CalendarDate d;
  d.year = year, d.month = month, d.day = day;
  return d;
}
void ExpectDate(const CalendarDate& d, uint16_t year, uint16_t month, uint16_t day) {
  EXPECT_EQ(d.year, year);
  EXPECT_EQ(d.month, month);
  EXPECT_EQ(d.day, day);
}
}  // namespace

TEST(DateStyleText, EmptyAndTheThreeExactNamesSelectAStyle) {
  const DateStyle start = DateStyle::YearMonthDay;
  EXPECT_EQ(ReadDateStyle(nullptr, start), DateStyle::MonthDayYear);
  EXPECT_EQ(ReadDateStyle("", start), DateStyle::MonthDayYear);
  EXPECT_EQ(ReadDateStyle("MM-DD-YYYY", start), DateStyle::MonthDayYear);
  EXPECT_EQ(ReadDateStyle("DD-MM-YYYY", start), DateStyle::DayMonthYear);
  EXPECT_EQ(ReadDateStyle("YYYY-MM-DD", DateStyle::DayMonthYear), DateStyle::YearMonthDay);
}

TEST(DateStyleText, NearMissesKeepTheStyleInForce) {
  for (const char* text : {"dd-mm-yyyy", " DD-MM-YYYY", "DD-MM-YYYY ", "DD/MM/YYYY", "DD-MM-YY",
                           "DD-MM-YYYYX", " "}) {
    EXPECT_EQ(ReadDateStyle(text, DateStyle::DayMonthYear), DateStyle::DayMonthYear) << text;
    EXPECT_EQ(ReadDateStyle(text, DateStyle::YearMonthDay), DateStyle::YearMonthDay) << text;
  }
}

TEST(DateText, FieldsAreJoinedBySlashesInStyleOrderWithFixedWidths) {
  const CalendarDate fifthOfJanuary = Date(2024, 1, 5);
  EXPECT_EQ(FormatDateText(fifthOfJanuary, DateStyle::MonthDayYear), "01/05/2024");
  EXPECT_EQ(FormatDateText(fifthOfJanuary, DateStyle::DayMonthYear), "05/01/2024");
  EXPECT_EQ(FormatDateText(fifthOfJanuary, DateStyle::YearMonthDay), "2024/01/05");
  EXPECT_EQ(FormatDateText(Date(2025, 10, 9), DateStyle::YearMonthDay), "2025/10/09");
  EXPECT_EQ(FormatDateText(Date(9999, 12, 31), DateStyle::DayMonthYear), "31/12/9999");
  EXPECT_EQ(FormatDateText(Date(1752, 9, 10), DateStyle::MonthDayYear), "09/10/1752");
}

TEST(DateText, ShortYearsArePaddedToFourDigits) {
  EXPECT_EQ(FormatDateText(Date(33, 2, 28), DateStyle::YearMonthDay), "0033/02/28");
  EXPECT_EQ(FormatDateText(Date(0, 0, 0), DateStyle::MonthDayYear), "00/00/0000");
}

TEST(DateText, WrittenTextsReadBackInEveryStyle) {
  for (DateStyle style : {DateStyle::MonthDayYear, DateStyle::DayMonthYear, DateStyle::YearMonthDay}) {
    const CalendarDate date = Date(2024, 12, 25);
    const std::string text = FormatDateText(date, style);
    ExpectDate(ReadDateText(text.c_str(), style), 2024, 12, 25);
  }
}

TEST(DateText, TheSameTextMeansDifferentDatesByStyle) {
  ExpectDate(ReadDateText("03/04/2025", DateStyle::MonthDayYear), 2025, 3, 4);
  ExpectDate(ReadDateText("03/04/2025", DateStyle::DayMonthYear), 2025, 4, 3);
  ExpectDate(ReadDateText("2025/04/03", DateStyle::YearMonthDay), 2025, 4, 3);
}

TEST(DateText, ReadingIsLenientFieldByField) {
  // Hyphens are not separators: the first field reads its leading number.
  ExpectDate(ReadDateText("12-25-2024", DateStyle::MonthDayYear), 0, 12, 0);
  ExpectDate(ReadDateText(" 12/ 25/\t2024", DateStyle::MonthDayYear), 2024, 12, 25);
  ExpectDate(ReadDateText("12th/25th/2024 AD", DateStyle::MonthDayYear), 2024, 12, 25);
  ExpectDate(ReadDateText("12.6/24.5/2024", DateStyle::MonthDayYear), 2024, 13, 24);
  ExpectDate(ReadDateText("&HC/x/2024", DateStyle::MonthDayYear), 2024, 12, 0);
  ExpectDate(ReadDateText("12/25/2024/7/8", DateStyle::MonthDayYear), 2024, 12, 25);
}

TEST(DateText, MissingFieldsReadAsZero) {
  ExpectDate(ReadDateText(nullptr, DateStyle::MonthDayYear), 0, 0, 0);
  ExpectDate(ReadDateText("", DateStyle::MonthDayYear), 0, 0, 0);
  ExpectDate(ReadDateText("12", DateStyle::MonthDayYear), 0, 12, 0);
  ExpectDate(ReadDateText("12/25", DateStyle::MonthDayYear), 0, 12, 25);
  ExpectDate(ReadDateText("12//2024", DateStyle::MonthDayYear), 2024, 12, 0);
  ExpectDate(ReadDateText("//", DateStyle::YearMonthDay), 0, 0, 0);
  ExpectDate(ReadDateText("2024/", DateStyle::YearMonthDay), 2024, 0, 0);
}

TEST(DateText, ValuesBeyondSixteenBitsWrapAsTheControlWouldSeeThem) {
  ExpectDate(ReadDateText("1/1/65537", DateStyle::MonthDayYear), 1, 1, 1);
  ExpectDate(ReadDateText("-1/1/2024", DateStyle::MonthDayYear), 2024, 0xFFFF, 1);
  // Huge numbers saturate before the wrap: no undefined conversion.
  ExpectDate(ReadDateText("1e30/1/2024", DateStyle::MonthDayYear), 2024, 0xFFFF, 1);
}

TEST(GoSubLine, QuotesTheNameUnchanged) {
  EXPECT_EQ(GoSubLine("DatePicked"), "GoSub \"DatePicked\"");
  EXPECT_EQ(GoSubLine("Date Picked  "), "GoSub \"Date Picked  \"");
  EXPECT_EQ(GoSubLine(""), "GoSub \"\"");
}
