// xr_Dialogs_OpenFile and xr_Dialogs_SaveFile (not built yet).
#include "plugin/action_procedures.h"

int32_t __stdcall XrDialogsOpenFile(const char*, const char*, const char*, const char*) { return 0; }
int32_t __stdcall XrDialogsSaveFile(const char*, const char*, const char*, const char*) { return 0; }
