#include "rig/global_memory_log.h"

#include <algorithm>
#include <cstring>

namespace {

std::vector<GlobalMemoryCall> g_calls;
bool g_refuse = false;

HGLOBAL WINAPI RecordingGlobalAlloc(UINT flags, SIZE_T size) {
  HGLOBAL block = g_refuse ? nullptr : GlobalAlloc(flags, size);
  if (g_refuse) SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  g_calls.push_back({GlobalMemoryCall::Alloc, flags, size, block});
  return block;
}

HGLOBAL WINAPI RecordingGlobalFree(HGLOBAL block) {
  g_calls.push_back({GlobalMemoryCall::Free, 0, 0, block});
  return GlobalFree(block);
}

}  // namespace

GlobalMemoryLog::GlobalMemoryLog(HMODULE module)
    : alloc_(module, "kernel32.dll", "GlobalAlloc", reinterpret_cast<void*>(&RecordingGlobalAlloc)),
      free_(module, "kernel32.dll", "GlobalFree", reinterpret_cast<void*>(&RecordingGlobalFree)) {
  g_calls.clear();
  g_refuse = false;
}

GlobalMemoryLog::~GlobalMemoryLog() { g_refuse = false; }

const std::vector<GlobalMemoryCall>& GlobalMemoryLog::calls() const { return g_calls; }

void GlobalMemoryLog::RefuseAllocations(bool refuse) { g_refuse = refuse; }

std::string HandBackFaults(const std::vector<GlobalMemoryCall>& calls,
                           const std::vector<char*>& before, const std::vector<char*>& after) {
  std::string faults;
  auto freedTimes = [&](const char* block) {
    return std::count_if(calls.begin(), calls.end(), [&](const GlobalMemoryCall& call) {
      return call.kind == GlobalMemoryCall::Free && call.handle == block;
    });
  };
  for (size_t k = 0; k < before.size(); ++k) {
    if (!before[k]) continue;
    if (long times = freedTimes(before[k]); times != 1)
      faults += "cell " + std::to_string(k) + "'s old block freed " + std::to_string(times) + " times; ";
  }
  size_t made = 0;
  for (const GlobalMemoryCall& call : calls) {
    char* block = static_cast<char*>(call.handle);
    if (call.kind == GlobalMemoryCall::Free) {
      if (std::find(before.begin(), before.end(), block) == before.end() || !block)
        faults += "freed a block that no cell held; ";
      continue;
    }
    ++made;
    auto cell = std::find(after.begin(), after.end(), block);
    if (!block || cell == after.end()) {
      faults += "made a block that no cell holds; ";
      continue;
    }
    if (call.flags != GMEM_ZEROINIT) faults += "a block made with flags " + std::to_string(call.flags) + "; ";
    if (call.size != std::strlen(block) + 1)
      faults += "a block of " + std::to_string(call.size) + " bytes for a text of " +
                std::to_string(std::strlen(block)) + "; ";
  }
  size_t held = std::count_if(after.begin(), after.end(), [](char* cell) { return cell != nullptr; });
  if (made != held) faults += std::to_string(made) + " blocks made for " + std::to_string(held) + " texts; ";
  return faults;
}
