#include "plugin/catalogue.h"

#include <gtest/gtest.h>

TEST(Catalogue, HintsHaveTheRegisteredLengths) {
  const size_t kLengths[] = {99, 73, 98, 99, 42, 88, 97};
  for (int id = 1; id <= 7; ++id) {
    const CatalogueEntry* entry = FindCatalogueEntry(id);
    ASSERT_NE(entry, nullptr) << id;
    EXPECT_EQ(BuildHint(*entry).size(), kLengths[id - 1]) << id;
  }
}

TEST(Catalogue, HintIsDescriptionCrLfAndQuotedUsage) {
  EXPECT_EQ(BuildHint(*FindCatalogueEntry(2)),
            "Open the Color Selector Dialog \r\nxr_Dialogs_ColorSelector \"Pos_X\" \"Pos_Y\"");
  EXPECT_EQ(BuildHint(*FindCatalogueEntry(5)), "Stop Calendar \r\nXR_Dialogs_CalendarStop \"\"");
  EXPECT_EQ(BuildHint(*FindCatalogueEntry(7)),
            "Launchs the Save File Dialog \r\nXR_Dialogs_SaveFile \"Title\" \"Folder\" "
            "\"FileName\" \"FileMask (*.JPG)\"");
}

TEST(Catalogue, TypeCodesAreOneBytePerParameter) {
  EXPECT_EQ(BuildTypeCodes(*FindCatalogueEntry(1)), std::string(5, '\x01'));
  EXPECT_EQ(BuildTypeCodes(*FindCatalogueEntry(2)), std::string(2, '\x01'));
  EXPECT_EQ(BuildTypeCodes(*FindCatalogueEntry(5)), "");
}

TEST(Catalogue, OnlyIdsOneToSevenNameActions) {
  for (int id : {0, -1, 8, 1000, INT32_MIN, INT32_MAX}) EXPECT_EQ(FindCatalogueEntry(id), nullptr) << id;
  for (int id = 1; id <= 7; ++id) EXPECT_EQ(FindCatalogueEntry(id)->id, id);
}
