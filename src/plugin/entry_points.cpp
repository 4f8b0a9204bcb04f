#include "plugin/entry_points.h"

#include <windows.h>

#include "plugin/catalogue.h"
#include "plugin/catch_all.h"

namespace {

constexpr char kPlugInName[] = "VelDialogs";
constexpr char kPlugInAuthor[] = "The VelDialogs developers";
constexpr char kPlugInDescription[] = "Font,Color & Folder Dialogs";

void RegisterCatalogue(AddActionCallback addAction) {
  if (!addAction) return;
  for (const CatalogueEntry& entry : kCatalogue) {
    std::string name = entry.name;
    std::string hint = BuildHint(entry);
    std::string typeCodes = BuildTypeCodes(entry);  // never null, even when empty
    addAction(entry.id, name.c_str(), hint.c_str(), typeCodes.c_str(), entry.parameterCount);
  }
}

}  // namespace

// The plug-in uses NT-only services; refuse to load anywhere else.
extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  OSVERSIONINFOA version = {};
  version.dwOSVersionInfoSize = sizeof(version);
  if (GetVersionExA(&version) && version.dwPlatformId != VER_PLATFORM_WIN32_NT) return FALSE;
  return TRUE;
}

void __stdcall hsRegisterPlugIn(AddActionCallback addAction, void* hostCallback2,
                                void* hostCallback3, SetVarCallback setVar) {
  g_host.addAction = addAction;
  g_host.hostCallback2 = hostCallback2;
  g_host.hostCallback3 = hostCallback3;
  g_host.setVar = setVar;
  CatchAll([&] { RegisterCatalogue(addAction); });
}

void __stdcall hsInitPlugIn(uint32_t, char** nameCell, char** authorCell,
                            char** descriptionCell) {
  CatchAll([&] {
    ReturnStringToHost(nameCell, kPlugInName);
    ReturnStringToHost(authorCell, kPlugInAuthor);
    ReturnStringToHost(descriptionCell, kPlugInDescription);
  });
}

void __stdcall hsRegisterScriptProcessor(ScriptProcessorCallback callback) {
  g_host.scriptProcessor = callback;
}

void __stdcall hsRegisterInterfaceAccess(InterfaceAccessCallback callback) {
  g_host.interfaceAccess = callback;
}

void __stdcall hsMessage(int32_t, uint32_t) {}
