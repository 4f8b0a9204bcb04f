#include "rig/pe_image.h"

#include <algorithm>
#include <cstring>

namespace {
const BYTE* Base(HMODULE module) { return reinterpret_cast<const BYTE*>(module); }

const IMAGE_EXPORT_DIRECTORY* Exports(HMODULE module) {
  const IMAGE_DATA_DIRECTORY& dir =
      NtHeaders(module)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  return reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(Base(module) + dir.VirtualAddress);
}
}  // namespace

const IMAGE_NT_HEADERS* NtHeaders(HMODULE module) {
  auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(Base(module));
  return reinterpret_cast<const IMAGE_NT_HEADERS*>(Base(module) + dos->e_lfanew);
}

std::set<std::string> ExportedNames(HMODULE module) {
  const IMAGE_EXPORT_DIRECTORY* exports = Exports(module);
  auto* names = reinterpret_cast<const DWORD*>(Base(module) + exports->AddressOfNames);
  std::set<std::string> out;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i)
    out.insert(reinterpret_cast<const char*>(Base(module) + names[i]));
  return out;
}

DWORD ExportedFunctionCount(HMODULE module) { return Exports(module)->NumberOfFunctions; }

std::set<std::string> ImportedDlls(HMODULE module) {
  const IMAGE_DATA_DIRECTORY& dir =
      NtHeaders(module)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::set<std::string> out;
  for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(Base(module) + dir.VirtualAddress);
       d->Name; ++d) {
    std::string name = reinterpret_cast<const char*>(Base(module) + d->Name);
    std::transform(name.begin(), name.end(), name.begin(), ::tolower);
    out.insert(name);
  }
  return out;
}

namespace {

// The import address slot through which module calls dll's function (by
// name), or null when it imports no such function.
void** ImportSlot(HMODULE module, const char* dll, const char* function) {
  auto* base = reinterpret_cast<BYTE*>(module);
  const IMAGE_DATA_DIRECTORY& dir =
      NtHeaders(module)->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return nullptr;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
    if (_stricmp(reinterpret_cast<const char*>(base + d->Name), dll) != 0) continue;
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

// Points the slot at value and returns what it held.
void* SwapImport(void** slot, void* value) {
  DWORD protection = 0;
  VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &protection);
  void* old = *slot;
  *slot = value;
  VirtualProtect(slot, sizeof(void*), protection, &protection);
  return old;
}

}  // namespace

ImportPatch::ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement)
    : slot_(ImportSlot(module, dll, function)) {
  if (slot_) original_ = SwapImport(slot_, replacement);
}

ImportPatch::~ImportPatch() {
  if (slot_) SwapImport(slot_, original_);
}
