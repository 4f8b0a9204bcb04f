#include "plugin/catalogue.h"

const CatalogueEntry kCatalogue[kCatalogueSize] = {
    {kActionFontSelector, "xr_Dialogs_FontSelector", "Open the Font Selector Dialog ",
     "xr_Dialogs_FontSelector ", {"FontName", "Points", "Style", "Pos_X", "Pos_Y"}, 5},
    {kActionColorSelector, "xr_Dialogs_ColorSelector", "Open the Color Selector Dialog ",
     "xr_Dialogs_ColorSelector ", {"Pos_X", "Pos_Y"}, 2},
    {kActionFolderSelector, "xr_Dialogs_FolderSelector", "Open the Folder Selector Dialog ",
     "xr_Dialogs_FolderSelector ", {"Title", "Start_Folder", "Pos_X", "Pos_Y"}, 4},
    {kActionCalendarStart, "xr_Dialogs_CalendarStart", "Start Calendar ",
     "XR_Dialogs_CalendarStart ", {"[Handle_rect]", "[PreviousDate]", "Date Style", "VelScript"}, 4},
    {kActionCalendarStop, "xr_Dialogs_CalendarStop", "Stop Calendar ",
     "XR_Dialogs_CalendarStop ", {}, 0},
    {kActionOpenFile, "xr_Dialogs_OpenFile", "Launchs the Open File Dialog ",
     "XR_Dialogs_OpenFile ", {"Title", "Folder", "Filters", "FileName"}, 4},
    {kActionSaveFile, "xr_Dialogs_SaveFile", "Launchs the Save File Dialog ",
     "XR_Dialogs_SaveFile ", {"Title", "Folder", "FileName", "FileMask (*.JPG)"}, 4},
};

const CatalogueEntry* FindCatalogueEntry(int32_t id) {
  for (const CatalogueEntry& entry : kCatalogue)
    if (entry.id == id) return &entry;
  return nullptr;
}

std::string BuildHint(const CatalogueEntry& entry) {
  std::string hint = entry.description;
  hint += "\r\n";
  hint += entry.usageHead;
  if (entry.parameterCount == 0) return hint + "\"\"";
  for (int i = 0; i < entry.parameterCount; ++i) {
    if (i > 0) hint += ' ';
    hint += '"';
    hint += entry.parameterNames[i];
    hint += '"';
  }
  return hint;
}

std::string BuildTypeCodes(const CatalogueEntry& entry) {
  return std::string(entry.parameterCount, '\x01');
}
