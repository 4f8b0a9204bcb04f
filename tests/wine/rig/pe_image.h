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

// While alive, module's calls of dll's function (imported by name) go to
// replacement; the slot is put back when it ends.
class ImportPatch {
 public:
  ImportPatch(HMODULE module, const char* dll, const char* function, void* replacement);
  ~ImportPatch();
  ImportPatch(const ImportPatch&) = delete;
  ImportPatch& operator=(const ImportPatch&) = delete;

  // False when module imports no such function.
  bool installed() const { return slot_ != nullptr; }
  // What the slot held: the function itself.
  void* original() const { return original_; }

 private:
  void** slot_;
  void* original_ = nullptr;
};
