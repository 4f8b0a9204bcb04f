#include "rig/resource_counts.h"

#include <psapi.h>

namespace {

// GDI and USER handles carry their table index in the low 16 bits; a handle
// with zero upper bits is accepted for the live entry at that index.
constexpr UINT_PTR kHandleIndexLimit = 0x10000;
// USER handle indices are even and start here.
constexpr UINT_PTR kFirstUserHandle = 0x20;

bool g_gdiProbed = false, g_userProbed = false, g_memoryWalked = false;

long ProbeGdiObjects() {
  long count = 0;
  for (UINT_PTR index = 1; index < kHandleIndexLimit; ++index)
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index))) ++count;
  return count;
}

long ProbeUserObjects() {
  long count = 0;
  const DWORD self = GetCurrentProcessId();
  for (UINT_PTR index = kFirstUserHandle; index < kHandleIndexLimit; index += 2) {
    HWND window = reinterpret_cast<HWND>(index);
    DWORD owner = 0;
    if (IsWindow(window) && GetWindowThreadProcessId(window, &owner) && owner == self) ++count;
    if (IsMenu(reinterpret_cast<HMENU>(index))) ++count;
  }
  return count;
}

SIZE_T WalkPrivateCommitted() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION region;
  const char* address = nullptr;
  while (VirtualQuery(address, &region, sizeof(region)) == sizeof(region)) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
    const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    if (next <= address) break;
    address = next;
  }
  return total;
}

}  // namespace

ResourceCounts MeasureResources() {
  ResourceCounts counts;
  HANDLE self = GetCurrentProcess();
  counts.gdiObjects = static_cast<long>(GetGuiResources(self, GR_GDIOBJECTS));
  g_gdiProbed = counts.gdiObjects == 0;
  if (g_gdiProbed) counts.gdiObjects = ProbeGdiObjects();
  counts.userObjects = static_cast<long>(GetGuiResources(self, GR_USEROBJECTS));
  g_userProbed = counts.userObjects == 0;
  if (g_userProbed) counts.userObjects = ProbeUserObjects();

  PROCESS_MEMORY_COUNTERS_EX memory = {};
  memory.cb = sizeof(memory);
  GetProcessMemoryInfo(self, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
  counts.privateBytes = memory.PrivateUsage;
  g_memoryWalked = counts.privateBytes == 0;
  if (g_memoryWalked) counts.privateBytes = WalkPrivateCommitted();
  return counts;
}

std::string GdiSource() {
  return g_gdiProbed ? "live GDI handles probed by index (GetGuiResources gives 0)"
                     : "GetGuiResources(GR_GDIOBJECTS)";
}
std::string UserSource() {
  return g_userProbed ? "live windows and menus probed by handle index (GetGuiResources gives 0)"
                      : "GetGuiResources(GR_USEROBJECTS)";
}
std::string MemorySource() {
  return g_memoryWalked ? "committed private regions by VirtualQuery (PrivateUsage gives 0)"
                        : "GetProcessMemoryInfo PrivateUsage";
}
