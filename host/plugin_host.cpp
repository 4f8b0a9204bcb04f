#include "plugin_host.h"

#include "interpreter.h"
#include "output.h"
#include "script.h"

namespace {

Interpreter* g_interpreter = nullptr;
LoadedPlugIn* g_loading = nullptr;  // receives the catalogue during registration
std::string g_labelReply;           // stays alive: the plug-in reads it after the call

std::string HostText(const char* text) { return text ? std::string(text) : std::string(); }

// Every callback copies what it keeps at once: the plug-in frees its texts
// as soon as the callback returns.
int32_t VEL_CALL AddActionCallback(int32_t id, const char* name, const char* hint,
                                    const char* typeCodes, uint32_t count) {
  if (g_loading)
    g_loading->catalogue.push_back(
        {id, HostText(name), HostText(hint), HostText(typeCodes), count & 0xFF});
  return 1;
}

int32_t VEL_CALL SetVarCallback(const char* name, const char* value) {
  std::string n = HostText(name), v = HostText(value);
  PrintLine("var " + n + " = \"" + v + "\"");
  if (g_interpreter) SetVariable(*g_interpreter, n, v);
  return 1;
}

int32_t VEL_CALL ScriptProcessorCallback(const char* line) {
  std::string text = HostText(line);
  PrintLine("script " + text);
  if (g_interpreter) {
    try {
      RunHostLine(*g_interpreter, text);
    } catch (...) {
      // Nothing may unwind through the plug-in's frames.
      g_interpreter->pendingError = ScriptError{g_interpreter->program.file,
                                                g_interpreter->currentLine, "out of memory"};
    }
  }
  return 1;
}

int32_t VEL_CALL InterfaceAccessCallback(int32_t request, char** reply) {
  if (!reply) return 0;
  if (request != VEL_REQUEST_SCRIPT_NAMES) return 0;
  g_labelReply = g_interpreter ? LabelList(g_interpreter->program) : std::string();
  *reply = const_cast<char*>(g_labelReply.c_str());
  return 1;
}

template <typename T>
bool Take(HMODULE module, const char* name, T& slot) {
  slot = reinterpret_cast<T>(GetProcAddress(module, name));
  return slot != nullptr;
}

// Reads a host text cell and frees its block: the host owns what the plug-in
// hands back.
std::string TakeCell(char*& cell) {
  std::string text = HostText(cell);
  if (cell) GlobalFree(reinterpret_cast<HGLOBAL>(cell));
  cell = nullptr;
  return text;
}

}  // namespace

bool LoadPlugIn(const std::string& path, LoadedPlugIn* p, std::string* error) {
  p->module = LoadLibraryA(path.c_str());
  if (!p->module) {
    DWORD code = GetLastError();
    *error = "cannot load plug-in " + path + " (Windows error " + std::to_string(code) + ")";
    return false;
  }
  bool complete = Take(p->module, VEL_EXPORT_REGISTER_PLUGIN, p->registerPlugIn) &&
                  Take(p->module, VEL_EXPORT_INIT_PLUGIN, p->initPlugIn) &&
                  Take(p->module, VEL_EXPORT_REGISTER_SCRIPT_PROCESSOR, p->registerScriptProcessor) &&
                  Take(p->module, VEL_EXPORT_REGISTER_INTERFACE_ACCESS, p->registerInterfaceAccess) &&
                  Take(p->module, VEL_EXPORT_EXEC_ACTION, p->execAction) &&
                  Take(p->module, VEL_EXPORT_EDIT_ACTION, p->editAction);
  if (!complete) {
    *error = path + " is not a host plug-in: an hs... entry point is missing";
    FreeLibrary(p->module);
    p->module = nullptr;
    return false;
  }
  g_loading = p;
  p->registerPlugIn(AddActionCallback, nullptr, nullptr, SetVarCallback);
  g_loading = nullptr;
  p->registerScriptProcessor(ScriptProcessorCallback);
  p->registerInterfaceAccess(InterfaceAccessCallback);
  char* cells[3] = {nullptr, nullptr, nullptr};
  p->initPlugIn(0, &cells[0], &cells[1], &cells[2]);
  p->name = TakeCell(cells[0]);
  p->author = TakeCell(cells[1]);
  p->description = TakeCell(cells[2]);
  return true;
}

const RegisteredAction* FindAction(const LoadedPlugIn& plugIn, const std::string& name) {
  std::string wanted = LowerCase(name);
  for (const RegisteredAction& action : plugIn.catalogue)
    if (LowerCase(action.name) == wanted) return &action;
  return nullptr;
}

uint32_t ExecAction(const LoadedPlugIn& plugIn, const RegisteredAction& action,
                    const std::vector<std::string>& parameters) {
  // Every cell that the action reads exists (missing parameters are empty),
  // and even a parameterless action gets a valid array.
  std::vector<std::string> texts(parameters);
  if (texts.size() < action.count) texts.resize(action.count);
  std::vector<char*> cells(texts.size() + 1, nullptr);
  for (size_t i = 0; i < texts.size(); ++i)
    cells[i] = texts[i].empty() ? nullptr : &texts[i][0];
  return plugIn.execAction(action.id, cells.data());
}

std::vector<std::string> EditAction(const LoadedPlugIn& plugIn, const RegisteredAction& action,
                                    const std::vector<std::string>& texts, uint32_t* handled) {
  std::vector<char*> cells(texts.size() + 1, nullptr);
  for (size_t i = 0; i < texts.size(); ++i) {
    if (texts[i].empty()) continue;
    // GMEM_FIXED | GMEM_ZEROINIT, so the handle is the text's address.
    auto* block = static_cast<char*>(GlobalAlloc(GPTR, texts[i].size() + 1));
    if (block) memcpy(block, texts[i].data(), texts[i].size());
    cells[i] = block;
  }
  *handled = plugIn.editAction(action.id, cells.data());
  std::vector<std::string> edited;
  for (size_t i = 0; i < texts.size(); ++i) edited.push_back(TakeCell(cells[i]));
  return edited;
}

void AttachInterpreter(Interpreter* interpreter) { g_interpreter = interpreter; }
