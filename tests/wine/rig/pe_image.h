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

// The import address slot through which module calls dll's function (by
// name), or null when it imports no such function.
void** ImportSlot(HMODULE module, const char* dll, const char* function);
// Points the slot at value and returns what it held.
void* SwapImport(void** slot, void* value);
