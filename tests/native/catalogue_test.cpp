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

TEST(Catalogue, EveryNameAndHintIsRegisteredAsWritten) {
  struct Expected { const char* name; const char* hint; } expected[] = {
      {"xr_Dialogs_FontSelector",
       "Open the Font Selector Dialog \r\nxr_Dialogs_FontSelector \"FontName\" \"Points\" "
       "\"Style\" \"Pos_X\" \"Pos_Y\""},
      {"xr_Dialogs_ColorSelector",
       "Open the Color Selector Dialog \r\nxr_Dialogs_ColorSelector \"Pos_X\" \"Pos_Y\""},
      {"xr_Dialogs_FolderSelector",
       "Open the Folder Selector Dialog \r\nxr_Dialogs_FolderSelector \"Title\" "
       "\"Start_Folder\" \"Pos_X\" \"Pos_Y\""},
      {"xr_Dialogs_CalendarStart",
       "Start Calendar \r\nXR_Dialogs_CalendarStart \"[Handle_rect]\" \"[PreviousDate]\" "
       "\"Date Style\" \"VelScript\""},
      {"xr_Dialogs_CalendarStop", "Stop Calendar \r\nXR_Dialogs_CalendarStop \"\""},
      {"xr_Dialogs_OpenFile",
       "Launchs the Open File Dialog \r\nXR_Dialogs_OpenFile \"Title\" \"Folder\" "
       "\"Filters\" \"FileName\""},
      {"xr_Dialogs_SaveFile",
       "Launchs the Save File Dialog \r\nXR_Dialogs_SaveFile \"Title\" \"Folder\" "
       "\"FileName\" \"FileMask (*.JPG)\""},
  };
  for (int id = 1; id <= 7; ++id) {
    const CatalogueEntry* entry = FindCatalogueEntry(id);
    ASSERT_NE(entry, nullptr) << id;
    EXPECT_STREQ(entry->name, expected[id - 1].name) << id;
    EXPECT_EQ(BuildHint(*entry), expected[id - 1].hint) << id;
  }
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
