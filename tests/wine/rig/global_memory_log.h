// Watching the DLL's own GlobalAlloc and GlobalFree calls: while a log is
// alive, the DLL's import table points at recorders that pass each call on
// (or refuse an allocation, when asked to) and keep it in order.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "rig/pe_image.h"

struct GlobalMemoryCall {
  enum Kind { Alloc, Free } kind;
  UINT flags;      // Alloc only
  SIZE_T size;     // Alloc only
  HGLOBAL handle;  // the block returned, or the block freed
};

class GlobalMemoryLog {
 public:
  explicit GlobalMemoryLog(HMODULE module);
  ~GlobalMemoryLog();
  GlobalMemoryLog(const GlobalMemoryLog&) = delete;
  GlobalMemoryLog& operator=(const GlobalMemoryLog&) = delete;

  // False when the module does not import both functions by name.
  bool installed() const { return alloc_.installed() && free_.installed(); }
  const std::vector<GlobalMemoryCall>& calls() const;
  // Every later GlobalAlloc of the DLL fails as when memory runs out.
  void RefuseAllocations(bool refuse);

 private:
  ImportPatch alloc_;
  ImportPatch free_;
};

// Checks the log of a hand-back into every one of the cells, which held
// `before` and hold `after` now: each block that a cell held is freed exactly
// once, nothing else is freed (a cell that held 0 least of all), and each
// block made is fixed zero-filled memory of its text's length plus one that
// a cell holds now. Returns what is wrong, empty when nothing is.
std::string HandBackFaults(const std::vector<GlobalMemoryCall>& calls,
                           const std::vector<char*>& before, const std::vector<char*>& after);
