// xr_Dialogs_FontSelector (not built yet).
#include "plugin/action_procedures.h"

int32_t __stdcall XrDialogsFontSelector(const char*, const char*, const char*, const char*,
                                        const char*) { return 0; }
