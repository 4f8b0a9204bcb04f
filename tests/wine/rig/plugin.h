// The real VelDialogs.dll, loaded once per test program, with every entry
// point taken by its exported name.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>

using AddActionFn = int32_t(__stdcall*)(int32_t, const char*, const char*, const char*, uint32_t);
using SetVarFn = int32_t(__stdcall*)(const char*, const char*);
using ScriptFn = int32_t(__stdcall*)(const char*);
using InterfaceFn = int32_t(__stdcall*)(int32_t, char**);

struct Plugin {
  HMODULE module = nullptr;
  void(__stdcall* registerPlugIn)(AddActionFn, void*, void*, SetVarFn) = nullptr;
  void(__stdcall* initPlugIn)(uint32_t, char**, char**, char**) = nullptr;
  void(__stdcall* registerScriptProcessor)(ScriptFn) = nullptr;
  void(__stdcall* registerInterfaceAccess)(InterfaceFn) = nullptr;
  void(__stdcall* message)(int32_t, uint32_t) = nullptr;
  uint32_t(__stdcall* execAction)(int32_t, char**) = nullptr;
  uint32_t(__stdcall* editAction)(int32_t, char**) = nullptr;
  FARPROC action[8] = {};  // XR_DIALOGS_... by action id
  FARPROC ctrlProc = nullptr;

  // Loads VelDialogs.dll from the program's folder and registers the
  // recording callbacks of recorder.h (all four of them).
  static Plugin& Get();
  // Loads without registering anything.
  static Plugin Load(const char* path = "VelDialogs.dll");
};

// Runs a parameter-array action: cells hold the texts' addresses, null for nullptr.
uint32_t Exec(int32_t id, std::initializer_list<const char*> parameters);
