#include "plugin/host_callbacks.h"

#include <windows.h>

HostCallbackTable g_host = {};

namespace {
// The host receives a private copy, valid only during the call; empty texts
// travel as null addresses.
const char* OrNull(const std::string& copy) { return copy.empty() ? nullptr : copy.c_str(); }
}  // namespace

void SetHostVariable(const std::string& name, const std::string& value) {
  SetVarCallback callback = g_host.setVar;
  if (!callback) return;
  std::string valueCopy = value;
  std::string nameCopy = name;
  callback(OrNull(nameCopy), OrNull(valueCopy));
}

void RunHostScript(const std::string& line) {
  ScriptProcessorCallback callback = g_host.scriptProcessor;
  if (!callback) return;
  std::string copy = line;
  callback(OrNull(copy));
}

void ReturnStringToHost(char** cell, const std::string& text) {
  if (!cell) return;
  // The new block is made before the old one goes: when memory runs out the
  // cell keeps the host's text instead of losing it.
  char* block = nullptr;
  if (!text.empty()) {
    // Fixed zero-filled memory: the handle is the address, the last byte ends the text.
    block = static_cast<char*>(GlobalAlloc(GMEM_ZEROINIT, text.size() + 1));
    if (!block) return;
    CopyMemory(block, text.data(), text.size());
  }
  if (*cell) GlobalFree(reinterpret_cast<HGLOBAL>(*cell));
  *cell = block;
}

void ReportNoChoice(const char* const* variables, size_t count) {
  for (size_t i = 0; i < count; ++i) SetHostVariable(variables[i], i == 0 ? "False" : "");
}

std::string AskHost(int32_t request) {
  InterfaceAccessCallback callback = g_host.interfaceAccess;
  if (!callback) return std::string();
  char* reply = nullptr;
  callback(request, &reply);
  return reply ? std::string(reply) : std::string();
}
