// Reading a loaded module's export and import tables.
#pragma once
#include <windows.h>

#include <set>
#include <string>

// Exported names of the module.
std::set<std::string> ExportedNames(HMODULE module);
// Count of exports that have a name / in all.
DWORD ExportedFunctionCount(HMODULE module);
// Imported DLL names, lower-cased.
std::set<std::string> ImportedDlls(HMODULE module);
const IMAGE_NT_HEADERS* NtHeaders(HMODULE module);
