// Loading the plug-in and playing the host's side of its calls: the
// catalogue it registers, its identity texts and the four callbacks.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "VelDialogs.h"

struct Interpreter;

struct RegisteredAction {
  int32_t id = 0;
  std::string name, hint, typeCodes;
  uint32_t count = 0;
};

struct LoadedPlugIn {
  HMODULE module = nullptr;
  VelRegisterPlugInProc registerPlugIn = nullptr;
  VelInitPlugInProc initPlugIn = nullptr;
  VelRegisterScriptProcessorProc registerScriptProcessor = nullptr;
  VelRegisterInterfaceAccessProc registerInterfaceAccess = nullptr;
  VelExecActionProc execAction = nullptr;
  VelEditActionProc editAction = nullptr;
  std::vector<RegisteredAction> catalogue;
  std::string name, author, description;  // identity texts
};

// Loads the DLL, takes its entry points and registers this host with it in
// the host's order: plug-in, script processor, interface access, init.
// False with a message when the file is missing or is no such plug-in.
bool LoadPlugIn(const std::string& path, LoadedPlugIn* plugIn, std::string* error);

// The action registered under that name (compared without case), or null.
const RegisteredAction* FindAction(const LoadedPlugIn& plugIn, const std::string& name);

// Runs an action through hsExecAction; texts travel as host texts, an empty
// one as a null cell.
uint32_t ExecAction(const LoadedPlugIn& plugIn, const RegisteredAction& action,
                    const std::vector<std::string>& parameters);

// Opens the action's editor on the given texts; returns the texts that the
// cells hold afterwards (the host owns and frees every block).
std::vector<std::string> EditAction(const LoadedPlugIn& plugIn, const RegisteredAction& action,
                                    const std::vector<std::string>& texts, uint32_t* handled);

// The script whose variables and subroutines the callbacks reach; null when
// no script runs (then lines from the plug-in are only shown).
void AttachInterpreter(Interpreter* interpreter);
