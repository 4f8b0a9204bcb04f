#include "rig/plugin.h"

#include <vector>

#include "rig/recorder.h"

namespace {
template <typename T>
void Take(HMODULE module, const char* name, T& slot) {
  slot = reinterpret_cast<T>(GetProcAddress(module, name));
}
}  // namespace

Plugin Plugin::Load(const char* path) {
  Plugin p;
  p.module = LoadLibraryA(path);
  if (!p.module) return p;
  Take(p.module, "_hsRegisterPlugIn@16", p.registerPlugIn);
  Take(p.module, "_hsInitPlugIn@16", p.initPlugIn);
  Take(p.module, "_hsRegisterScriptProcessor@4", p.registerScriptProcessor);
  Take(p.module, "_hsRegisterInterfaceAccess@4", p.registerInterfaceAccess);
  Take(p.module, "_hsMessage@8", p.message);
  Take(p.module, "_hsExecAction@8", p.execAction);
  Take(p.module, "_hsEditAction@8", p.editAction);
  static const char* const kActionNames[8] = {
      nullptr, "XR_DIALOGS_FONTSELECTOR", "XR_DIALOGS_COLORSELECTOR", "XR_DIALOGS_FOLDERSELECTOR",
      "XR_DIALOGS_CALENDARSTART", "XR_DIALOGS_CALENDARSTOP", "XR_DIALOGS_OPENFILE",
      "XR_DIALOGS_SAVEFILE"};
  for (int id = 1; id <= 7; ++id) p.action[id] = GetProcAddress(p.module, kActionNames[id]);
  p.ctrlProc = GetProcAddress(p.module, "CTRLPROC");
  return p;
}

Plugin& Plugin::Get() {
  static Plugin plugin = [] {
    Plugin p = Load();
    if (p.registerPlugIn) {
      p.registerPlugIn(RecordAddAction, nullptr, nullptr, RecordSetVar);
      p.registerScriptProcessor(RecordScript);
      p.registerInterfaceAccess(RecordInterfaceAccess);
    }
    return p;
  }();
  return plugin;
}

uint32_t Exec(int32_t id, std::initializer_list<const char*> parameters) {
  std::vector<char*> cells;
  for (const char* text : parameters) cells.push_back(const_cast<char*>(text));
  return Plugin::Get().execAction(id, cells.empty() ? nullptr : cells.data());
}
