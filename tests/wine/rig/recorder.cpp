#include "rig/recorder.h"

std::string g_interfaceReply;
bool g_interfaceReplyIsNull = false;
void (*g_onScript)(const std::string& line) = nullptr;

namespace {
RecordedText Copy(const char* text) {
  RecordedText r;
  r.address = text;
  r.null = text == nullptr;
  if (text) r.text = text;
  return r;
}
}  // namespace

std::vector<HostCall>& HostCalls() {
  static std::vector<HostCall> calls;
  return calls;
}

void ClearHostCalls() { HostCalls().clear(); }

std::vector<std::pair<std::string, std::string>> RecordedVariables() {
  std::vector<std::pair<std::string, std::string>> out;
  for (const HostCall& call : HostCalls())
    if (call.kind == HostCallKind::SetVar)
      out.emplace_back(call.a.text, call.b.null ? "<null>" : call.b.text);
  return out;
}

std::vector<std::string> RecordedScripts() {
  std::vector<std::string> out;
  for (const HostCall& call : HostCalls())
    if (call.kind == HostCallKind::Script) out.push_back(call.a.null ? "<null>" : call.a.text);
  return out;
}

int32_t __stdcall RecordAddAction(int32_t id, const char* name, const char* hint,
                                  const char* typeCodes, uint32_t count) {
  HostCall call;
  call.kind = HostCallKind::AddAction;
  call.number = id;
  call.count = count;
  call.a = Copy(name);
  call.b = Copy(hint);
  call.c = Copy(typeCodes);
  HostCalls().push_back(call);
  return 1;
}

int32_t __stdcall RecordSetVar(const char* name, const char* value) {
  HostCall call;
  call.kind = HostCallKind::SetVar;
  call.a = Copy(name);
  call.b = Copy(value);
  HostCalls().push_back(call);
  return 1;
}

int32_t __stdcall RecordScript(const char* line) {
  HostCall call;
  call.kind = HostCallKind::Script;
  call.a = Copy(line);
  HostCalls().push_back(call);
  if (g_onScript) g_onScript(call.a.text);
  return 1;
}

int32_t __stdcall RecordInterfaceAccess(int32_t request, char** reply) {
  HostCall call;
  call.kind = HostCallKind::InterfaceAccess;
  call.number = request;
  call.a.null = reply == nullptr;
  call.a.address = reply;
  if (reply) call.a.text = *reply ? "<cell not zero>" : "";
  HostCalls().push_back(call);
  if (reply) *reply = g_interfaceReplyIsNull ? nullptr : const_cast<char*>(g_interfaceReply.c_str());
  return 1;
}
