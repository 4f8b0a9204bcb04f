// xr_Dialogs_FolderSelector (not built yet).
#include "plugin/action_procedures.h"

int32_t __stdcall XrDialogsFolderSelector(const char*, const char*, const char*, const char*) {
  return 0;
}
