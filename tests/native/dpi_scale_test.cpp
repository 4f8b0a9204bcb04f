// Scaling the 96 DPI geometry: the values MulDiv gives, halves included.
#include <gtest/gtest.h>

#include "dialogs/dpi_scale.h"

TEST(DpiScale, KeepsEveryValueAt96AndRoundsHalvesAwayFromZeroElsewhere) {
  for (int value : {-7, 0, 1, 19, 20, 340, 32767}) EXPECT_EQ(ScaleForDpi(value, 96), value);
  EXPECT_EQ(ScaleForDpi(10, 120), 13);    // 12.5
  EXPECT_EQ(ScaleForDpi(-10, 120), -13);  // -12.5
  EXPECT_EQ(ScaleForDpi(1, 144), 2);      // 1.5
  EXPECT_EQ(ScaleForDpi(58, 120), 73);    // 72.5
  EXPECT_EQ(ScaleForDpi(106, 144), 159);
  EXPECT_EQ(ScaleForDpi(340, 192), 680);
  EXPECT_EQ(ScaleForDpi(5, 100), 5);      // 5.21 rounds down
  // No product overflow at large DPIs.
  EXPECT_EQ(ScaleForDpi(32767, 960), 327670);
  // A DPI that no screen reports falls back to the unscaled value.
  EXPECT_EQ(ScaleForDpi(340, 0), 340);
  EXPECT_EQ(ScaleForDpi(340, -192), 340);
}

TEST(DpiScale, EightPointsAsTheDialogManagerSizesThem) {
  EXPECT_EQ(FontHeightForDpi(8, 96), -11);   // 10.67
  EXPECT_EQ(FontHeightForDpi(8, 120), -13);  // 13.33
  EXPECT_EQ(FontHeightForDpi(8, 144), -16);
  EXPECT_EQ(FontHeightForDpi(8, 192), -21);  // 21.33
  EXPECT_EQ(FontHeightForDpi(9, 96), -12);   // 12.0
  EXPECT_EQ(FontHeightForDpi(8, 0), -11);
}
