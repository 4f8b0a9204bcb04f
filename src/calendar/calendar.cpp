// xr_Dialogs_CalendarStart and xr_Dialogs_CalendarStop (not built yet).
#include "plugin/action_procedures.h"

int32_t __stdcall XrDialogsCalendarStart(const char*, const char*, const char*, const char*) {
  return 0;
}
int32_t __stdcall XrDialogsCalendarStop() { return 0; }
