#include "rig/global_memory_log.h"

#include <cstring>

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

// The import address slot of kernel32's function of that name, or null.
void** ImportSlot(HMODULE module, const char* function) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return nullptr;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
    if (_stricmp(reinterpret_cast<const char*>(base + d->Name), "kernel32.dll") != 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
        return reinterpret_cast<void**>(&slots->u1.Function);
    }
  }
  return nullptr;
}

void* Swap(void** slot, void* value) {
  DWORD protection = 0;
  VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &protection);
  void* old = *slot;
  *slot = value;
  VirtualProtect(slot, sizeof(void*), protection, &protection);
  return old;
}

}  // namespace

GlobalMemoryLog::GlobalMemoryLog(HMODULE module)
    : allocSlot_(ImportSlot(module, "GlobalAlloc")), freeSlot_(ImportSlot(module, "GlobalFree")) {
  g_calls.clear();
  g_refuse = false;
  if (!installed()) return;
  originalAlloc_ = Swap(allocSlot_, reinterpret_cast<void*>(&RecordingGlobalAlloc));
  originalFree_ = Swap(freeSlot_, reinterpret_cast<void*>(&RecordingGlobalFree));
}

GlobalMemoryLog::~GlobalMemoryLog() {
  if (!installed()) return;
  Swap(allocSlot_, originalAlloc_);
  Swap(freeSlot_, originalFree_);
  g_refuse = false;
}

const std::vector<GlobalMemoryCall>& GlobalMemoryLog::calls() const { return g_calls; }

void GlobalMemoryLog::RefuseAllocations(bool refuse) { g_refuse = refuse; }
