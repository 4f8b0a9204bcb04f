// Recording host callbacks: every call is kept in order with deep copies of
// its texts and their raw addresses.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct RecordedText {
  bool null = true;
  std::string text;
  const void* address = nullptr;
};

enum class HostCallKind { AddAction, SetVar, Script, InterfaceAccess };

struct HostCall {
  HostCallKind kind = HostCallKind::AddAction;
  int32_t number = 0;  // action id or request code
  uint32_t count = 0;  // AddAction's raw count argument
  RecordedText a, b, c;
};

std::vector<HostCall>& HostCalls();
void ClearHostCalls();

// SetVar calls as (name, value) in order; a null value reads as "<null>".
std::vector<std::pair<std::string, std::string>> RecordedVariables();
// Script lines in order.
std::vector<std::string> RecordedScripts();

// What InterfaceAccessCallback answers (null address when replyIsNull).
extern std::string g_interfaceReply;
extern bool g_interfaceReplyIsNull;

int32_t __stdcall RecordAddAction(int32_t id, const char* name, const char* hint,
                                  const char* typeCodes, uint32_t count);
int32_t __stdcall RecordSetVar(const char* name, const char* value);
int32_t __stdcall RecordScript(const char* line);
int32_t __stdcall RecordInterfaceAccess(int32_t request, char** reply);

// Optional hook run inside RecordScript after recording, e.g. a subroutine
// that calls back into the library.
extern void (*g_onScript)(const std::string& line);
