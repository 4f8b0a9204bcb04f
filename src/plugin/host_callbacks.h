// The callbacks that the host hands over, and the three ways in which every
// action talks back to the host.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "VelDialogs.h"

// The types a host compiles against; their results are never examined.
using AddActionCallback = VelAddActionCallback;
using SetVarCallback = VelSetVarCallback;
using ScriptProcessorCallback = VelScriptProcessorCallback;
using InterfaceAccessCallback = VelInterfaceAccessCallback;

struct HostCallbackTable {
  AddActionCallback addAction;
  void* hostCallback2;  // kept, never called
  void* hostCallback3;  // kept, never called
  SetVarCallback setVar;
  ScriptProcessorCallback scriptProcessor;
  InterfaceAccessCallback interfaceAccess;
};

// Zero at load; each member is replaced when the host supplies it again.
extern HostCallbackTable g_host;

// Request code under which the host answers with its subroutine names.
constexpr int32_t kRequestScriptNames = VEL_REQUEST_SCRIPT_NAMES;

// Publishes a result. An empty name or value reaches the host as a null
// address. Does nothing when the host registered no SetVarCallback.
void SetHostVariable(const std::string& name, const std::string& value);

// Has the host run one line of its script language.
void RunHostScript(const std::string& line);

// Replaces a host text cell's block with a fresh GMEM_ZEROINIT copy of text;
// an empty text leaves the cell 0. When the allocation fails the cell keeps
// its old block.
void ReturnStringToHost(char** cell, const std::string& text);

// An action's outcome when nothing was chosen: its status variable (the
// first name) "False", then each value variable empty, in the order given.
void ReportNoChoice(const char* const* variables, size_t count);
template <size_t N>
void ReportNoChoice(const char* const (&variables)[N]) {
  ReportNoChoice(variables, N);
}

// The host's reply to a request, copied; empty when there is no callback.
std::string AskHost(int32_t request);
