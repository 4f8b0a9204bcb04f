// The real VelDialogs.dll, loaded once per test program, with every entry
// point taken by its exported name.
#pragma once
#include <windows.h>

#include <cstdint>
#include <initializer_list>

#include "VelDialogs.h"

using AddActionFn = VelAddActionCallback;
using SetVarFn = VelSetVarCallback;
using ScriptFn = VelScriptProcessorCallback;
using InterfaceFn = VelInterfaceAccessCallback;

struct Plugin {
  HMODULE module = nullptr;
  VelRegisterPlugInProc registerPlugIn = nullptr;
  VelInitPlugInProc initPlugIn = nullptr;
  VelRegisterScriptProcessorProc registerScriptProcessor = nullptr;
  VelRegisterInterfaceAccessProc registerInterfaceAccess = nullptr;
  VelMessageProc message = nullptr;
  VelExecActionProc execAction = nullptr;
  VelEditActionProc editAction = nullptr;
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
