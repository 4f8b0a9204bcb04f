// The fixed list of actions that the library registers with the host.
#pragma once
#include <cstdint>
#include <string>

#include "VelDialogs.h"

enum ActionId : int32_t {
  kActionFontSelector = VEL_ACTION_FONT_SELECTOR,
  kActionColorSelector = VEL_ACTION_COLOR_SELECTOR,
  kActionFolderSelector = VEL_ACTION_FOLDER_SELECTOR,
  kActionCalendarStart = VEL_ACTION_CALENDAR_START,
  kActionCalendarStop = VEL_ACTION_CALENDAR_STOP,
  kActionOpenFile = VEL_ACTION_OPEN_FILE,
  kActionSaveFile = VEL_ACTION_SAVE_FILE,
};

constexpr int kMaxParameters = VEL_MAX_PARAMETERS;

struct CatalogueEntry {
  int32_t id;
  const char* name;
  const char* description;  // ends with one space
  const char* usageHead;    // ends with one space
  const char* parameterNames[kMaxParameters];
  uint8_t parameterCount;
};

constexpr int kCatalogueSize = 7;
extern const CatalogueEntry kCatalogue[kCatalogueSize];

// The entry with this id, or null for an id that names no action.
const CatalogueEntry* FindCatalogueEntry(int32_t id);

// Description line, CR LF, then the usage head and the quoted parameter names.
std::string BuildHint(const CatalogueEntry& entry);

// One byte of value 1 per parameter; empty (a lone terminator) for none.
std::string BuildTypeCodes(const CatalogueEntry& entry);
