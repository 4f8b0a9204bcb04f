#include "rig/plugin.h"

#include <vector>

#include "plugin/export_names.h"
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
  Take(p.module, kExportRegisterPlugIn, p.registerPlugIn);
  Take(p.module, kExportInitPlugIn, p.initPlugIn);
  Take(p.module, kExportRegisterScriptProcessor, p.registerScriptProcessor);
  Take(p.module, kExportRegisterInterfaceAccess, p.registerInterfaceAccess);
  Take(p.module, kExportMessage, p.message);
  Take(p.module, kExportExecAction, p.execAction);
  Take(p.module, kExportEditAction, p.editAction);
  for (int id = 1; id <= 7; ++id) p.action[id] = GetProcAddress(p.module, kExportActionProcedures[id]);
  p.ctrlProc = GetProcAddress(p.module, kExportCtrlProc);
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
