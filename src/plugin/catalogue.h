// The fixed list of actions that the library registers with the host.
#pragma once
#include <cstdint>
#include <string>

enum ActionId : int32_t {
  kActionFontSelector = 1,
  kActionColorSelector = 2,
  kActionFolderSelector = 3,
  kActionCalendarStart = 4,
  kActionCalendarStop = 5,
  kActionOpenFile = 6,
  kActionSaveFile = 7,
};

constexpr int kMaxParameters = 5;

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
