// What a plug-in that leaks would make grow in its host: the process's GDI
// objects, its USER objects and its private memory.
#pragma once
#include <windows.h>

#include <string>

struct ResourceCounts {
  long gdiObjects = 0;
  long userObjects = 0;
  SIZE_T privateBytes = 0;
};

// Wine 8 keeps no GetGuiResources counts (it returns 0) and leaves
// PROCESS_MEMORY_COUNTERS_EX::PrivateUsage at 0. Where the system's own
// figure is 0, the count is taken another way, named by the Source texts:
// live GDI handles found by probing every handle index, live windows and
// menus of the process found the same way, and committed private memory
// summed over VirtualQuery's regions.
ResourceCounts MeasureResources();

std::string GdiSource();
std::string UserSource();
std::string MemorySource();
