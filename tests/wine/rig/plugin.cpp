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
  Take(p.module, VEL_EXPORT_REGISTER_PLUGIN, p.registerPlugIn);
  Take(p.module, VEL_EXPORT_INIT_PLUGIN, p.initPlugIn);
  Take(p.module, VEL_EXPORT_REGISTER_SCRIPT_PROCESSOR, p.registerScriptProcessor);
  Take(p.module, VEL_EXPORT_REGISTER_INTERFACE_ACCESS, p.registerInterfaceAccess);
  Take(p.module, VEL_EXPORT_MESSAGE, p.message);
  Take(p.module, VEL_EXPORT_EXEC_ACTION, p.execAction);
  Take(p.module, VEL_EXPORT_EDIT_ACTION, p.editAction);
  const char* const actionNames[8] = {
      nullptr, VEL_EXPORT_FONT_SELECTOR, VEL_EXPORT_COLOR_SELECTOR, VEL_EXPORT_FOLDER_SELECTOR,
      VEL_EXPORT_CALENDAR_START, VEL_EXPORT_CALENDAR_STOP, VEL_EXPORT_OPEN_FILE, VEL_EXPORT_SAVE_FILE};
  for (int id = 1; id <= 7; ++id) p.action[id] = GetProcAddress(p.module, actionNames[id]);
  p.ctrlProc = GetProcAddress(p.module, VEL_EXPORT_CTRLPROC);
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
