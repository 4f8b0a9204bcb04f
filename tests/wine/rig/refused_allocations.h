// Memory running out inside the DLL, on demand: while a guard is alive the
// DLL's C-runtime malloc goes through a counter that can make the next few
// allocations fail (the C++ runtime then throws std::bad_alloc in the DLL).
#pragma once
#include <windows.h>

class RefusedAllocations {
 public:
  explicit RefusedAllocations(HMODULE module);
  ~RefusedAllocations();
  RefusedAllocations(const RefusedAllocations&) = delete;
  RefusedAllocations& operator=(const RefusedAllocations&) = delete;

  bool installed() const { return slot_ != nullptr; }
  // The next count allocations of the DLL fail; callable from any thread.
  void RefuseNext(long count);
  // Allocations refused so far.
  long refused() const;

 private:
  void** slot_ = nullptr;
  void* original_ = nullptr;
};
