// The memory blocks that the DLL itself allocated and has not freed,
// counted exactly through its import table, as its GDI objects are. The
// process's private bytes move with Wine's own heaps and caches (1 % of a
// soak's warm figure now and then, with no leak), which hides a leak of one
// block a round.
#pragma once
#include <windows.h>

#include "rig/pe_image.h"

class LibraryHeapBlocks {
 public:
  explicit LibraryHeapBlocks(HMODULE module);
  ~LibraryHeapBlocks();
  LibraryHeapBlocks(const LibraryHeapBlocks&) = delete;
  LibraryHeapBlocks& operator=(const LibraryHeapBlocks&) = delete;

  // False when the DLL imports none of the C runtime's allocators.
  bool installed() const;
  // Blocks made since this guard was made and not freed: the C runtime's
  // (the static C++ runtime's operator new among them), GlobalAlloc's that
  // neither the DLL nor the host program freed (texts handed back are the
  // host's to free), and folder lists from SHBrowseForFolderW not given
  // back with CoTaskMemFree.
  long live() const;
  // Their size in bytes, where the allocator says it (0 for folder lists).
  size_t liveBytes() const;

 private:
  ImportPatch malloc_, calloc_, realloc_, free_, globalAlloc_, globalFree_, hostGlobalFree_, browse_,
      taskFree_;
};
