#include <string>

#include "plugin/action_procedures.h"
#include "plugin/catalogue.h"
#include "plugin/catch_all.h"
#include "plugin/entry_points.h"

namespace {

// Private copies of the host's parameter texts: the actions may keep or
// change nothing of the host's.
struct ParameterCopies {
  std::string text[kMaxParameters];
  const char* arg[kMaxParameters] = {};

  ParameterCopies(char** cells, int count) {
    for (int i = 0; i < count; ++i) {
      if (cells && cells[i]) text[i] = cells[i];
      arg[i] = text[i].empty() ? nullptr : text[i].c_str();
    }
  }
};

void RunAction(int32_t id, const char* const* a) {
  switch (id) {
    case kActionFontSelector: XrDialogsFontSelector(a[0], a[1], a[2], a[3], a[4]); break;
    case kActionColorSelector: XrDialogsColorSelector(a[0], a[1]); break;
    case kActionFolderSelector: XrDialogsFolderSelector(a[0], a[1], a[2], a[3]); break;
    case kActionCalendarStart: XrDialogsCalendarStart(a[0], a[1], a[2], a[3]); break;
    case kActionCalendarStop: XrDialogsCalendarStop(); break;
    case kActionOpenFile: XrDialogsOpenFile(a[0], a[1], a[2], a[3]); break;
    case kActionSaveFile: XrDialogsSaveFile(a[0], a[1], a[2], a[3]); break;
  }
}

void ReportActionFailure(int32_t id) {
  switch (id) {
    case kActionFontSelector: ReportFontSelectorFailure(); break;
    case kActionColorSelector: ReportColorSelectorFailure(); break;
    case kActionFolderSelector: ReportFolderSelectorFailure(); break;
    case kActionOpenFile: ReportOpenFileFailure(); break;
    case kActionSaveFile: ReportSaveFileFailure(); break;
  }
}

}  // namespace

uint32_t __stdcall hsExecAction(int32_t id, char** parameters) {
  const CatalogueEntry* entry = FindCatalogueEntry(id);
  if (!entry) return 0;
  // The actions end their own failures; what reaches the report is a copy
  // that could not be made, and the script must not read the last results.
  CatchAllReporting([&] {
    ParameterCopies copies(parameters, entry->parameterCount);
    RunAction(id, copies.arg);
  }, [id] { ReportActionFailure(id); });
  return 1;
}
