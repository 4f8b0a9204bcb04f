#include "rig/pe_image.h"

#include <algorithm>

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
