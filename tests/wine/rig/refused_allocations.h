// Memory running out inside the DLL, on demand: while a guard is alive the
// DLL's C-runtime malloc goes through a counter that can make the next few
// allocations fail (the C++ runtime then throws std::bad_alloc in the DLL).
#pragma once
#include <windows.h>

#include "rig/pe_image.h"

class RefusedAllocations {
 public:
  explicit RefusedAllocations(HMODULE module);
  ~RefusedAllocations();
  RefusedAllocations(const RefusedAllocations&) = delete;
  RefusedAllocations& operator=(const RefusedAllocations&) = delete;

  bool installed() const { return malloc_.installed(); }
  // The next count allocations of the DLL fail; callable from any thread.
  void RefuseNext(long count);
  // Allocations refused so far.
  long refused() const;

 private:
  ImportPatch malloc_;
};
