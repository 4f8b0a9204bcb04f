// hsEditAction (not built yet).
#include "plugin/catalogue.h"
#include "plugin/entry_points.h"

uint32_t __stdcall hsEditAction(int32_t id, char**) { return FindCatalogueEntry(id) ? 1 : 0; }
