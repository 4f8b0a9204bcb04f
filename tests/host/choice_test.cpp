// Texts that name the autopilot's choices, and the plug-in's hints as the
// host lists them.
#include <gtest/gtest.h>

#include "choice.h"

TEST(AutopilotChoices, ColoursInHexOrDecimal) {
  RgbChoice c;
  ASSERT_TRUE(ParseColorChoice("#FF8001", &c));
  EXPECT_EQ(c.red, 255);
  EXPECT_EQ(c.green, 128);
  EXPECT_EQ(c.blue, 1);
  ASSERT_TRUE(ParseColorChoice("0, 64,255", &c));
  EXPECT_EQ(c.red, 0);
  EXPECT_EQ(c.green, 64);
  EXPECT_EQ(c.blue, 255);
  for (const char* bad : {"", "#FF80", "#GG0000", "1,2", "1,2,256", "1,,3", "red", "1,2,3,4"})
    EXPECT_FALSE(ParseColorChoice(bad, &c)) << bad;
}

TEST(AutopilotChoices, FontFaceWithOptionalSize) {
  FontChoice f = ParseFontChoice("Liberation Sans, 12");
  EXPECT_EQ(f.face, "Liberation Sans");
  EXPECT_EQ(f.points, 12);
  f = ParseFontChoice("Tahoma");
  EXPECT_EQ(f.face, "Tahoma");
  EXPECT_EQ(f.points, 0);
  f = ParseFontChoice("Odd, Name");  // a comma not followed by a size belongs to the face
  EXPECT_EQ(f.face, "Odd, Name");
}

TEST(AutopilotChoices, DaysAndFullDates) {
  DateChoice d = ParseDateChoice("15");
  EXPECT_EQ(d.day, 15);
  EXPECT_EQ(d.year, 0);
  d = ParseDateChoice("2024-03-05");
  EXPECT_EQ(d.year, 2024);
  EXPECT_EQ(d.month, 3);
  EXPECT_EQ(d.day, 5);
  for (const char* bad : {"", "0", "32", "2024-13-01", "2024-3-5", "03/05/2024", "soon"})
    EXPECT_EQ(ParseDateChoice(bad).day, 0) << bad;
}

TEST(PlugInHints, DescriptionAndQuotedParameterNames) {
  std::string hint = "Open the Color Selector Dialog \r\nxr_Dialogs_ColorSelector \"Pos_X\" \"Pos_Y\"";
  EXPECT_EQ(HintDescription(hint), "Open the Color Selector Dialog");
  EXPECT_EQ(HintParameterNames(hint), (std::vector<std::string>{"Pos_X", "Pos_Y"}));
  EXPECT_TRUE(HintParameterNames("Stop Calendar \r\nXR_Dialogs_CalendarStop \"\"").empty());
  EXPECT_TRUE(HintParameterNames("no usage line \"x\"").empty());
  EXPECT_EQ(SplitAt("a||b", '|'), (std::vector<std::string>{"a", "", "b"}));
}
