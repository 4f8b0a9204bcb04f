// The host's entry points, exported under their decorated standard-call names.
#pragma once
#include <cstdint>
#include <type_traits>

#include "VelDialogs.h"
#include "plugin/host_callbacks.h"

extern "C" {
void __stdcall hsRegisterPlugIn(AddActionCallback addAction, void* hostCallback2,
                                void* hostCallback3, SetVarCallback setVar);
void __stdcall hsInitPlugIn(uint32_t unused, char** nameCell, char** authorCell,
                            char** descriptionCell);
void __stdcall hsRegisterScriptProcessor(ScriptProcessorCallback callback);
void __stdcall hsRegisterInterfaceAccess(InterfaceAccessCallback callback);
void __stdcall hsMessage(int32_t code, uint32_t parameter);
// Both return 1 (zero-extended) when the id names an action, else 0.
uint32_t __stdcall hsExecAction(int32_t id, char** parameters);
uint32_t __stdcall hsEditAction(int32_t id, char** parameters);
}

// Each definition has the type that include/VelDialogs.h gives hosts, calling
// convention included: a header that drifted would fail the build here.
static_assert(std::is_same_v<decltype(&hsRegisterPlugIn), VelRegisterPlugInProc>);
static_assert(std::is_same_v<decltype(&hsInitPlugIn), VelInitPlugInProc>);
static_assert(std::is_same_v<decltype(&hsRegisterScriptProcessor), VelRegisterScriptProcessorProc>);
static_assert(std::is_same_v<decltype(&hsRegisterInterfaceAccess), VelRegisterInterfaceAccessProc>);
static_assert(std::is_same_v<decltype(&hsMessage), VelMessageProc>);
static_assert(std::is_same_v<decltype(&hsExecAction), VelExecActionProc>);
static_assert(std::is_same_v<decltype(&hsEditAction), VelEditActionProc>);
