#include "rig/global_memory_log.h"

#include "rig/pe_image.h"

namespace {

std::vector<GlobalMemoryCall> g_calls;
bool g_refuse = false;

HGLOBAL WINAPI RecordingGlobalAlloc(UINT flags, SIZE_T size) {
  HGLOBAL block = g_refuse ? nullptr : GlobalAlloc(flags, size);
  if (g_refuse) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  g_calls.push_back({GlobalMemoryCall::Alloc, flags, size, block});
  return block;
}

HGLOBAL WINAPI RecordingGlobalFree(HGLOBAL block) {
  g_calls.push_back({GlobalMemoryCall::Free, 0, 0, block});
  return GlobalFree(block);
}

}  // namespace

GlobalMemoryLog::GlobalMemoryLog(HMODULE module)
    : allocSlot_(ImportSlot(module, "kernel32.dll", "GlobalAlloc")),
      freeSlot_(ImportSlot(module, "kernel32.dll", "GlobalFree")) {
  g_calls.clear();
  g_refuse = false;
  if (!installed()) return;
  originalAlloc_ = SwapImport(allocSlot_, reinterpret_cast<void*>(&RecordingGlobalAlloc));
  originalFree_ = SwapImport(freeSlot_, reinterpret_cast<void*>(&RecordingGlobalFree));
}

GlobalMemoryLog::~GlobalMemoryLog() {
  if (!installed()) return;
  SwapImport(allocSlot_, originalAlloc_);
  SwapImport(freeSlot_, originalFree_);
  g_refuse = false;
}

const std::vector<GlobalMemoryCall>& GlobalMemoryLog::calls() const { return g_calls; }

void GlobalMemoryLog::RefuseAllocations(bool refuse) { g_refuse = refuse; }
