// The GDI objects that the DLL itself makes and has not released, counted
// exactly through its import table. The process's own count moves with the
// system's caches (under Wine 10 by dozens at a time, and by a few objects
// within every round of dialogs), which hides a leak of one object.
#pragma once
#include <windows.h>

#include "rig/pe_image.h"

class LibraryGdiObjects {
 public:
  explicit LibraryGdiObjects(HMODULE module);
  ~LibraryGdiObjects();
  LibraryGdiObjects(const LibraryGdiObjects&) = delete;
  LibraryGdiObjects& operator=(const LibraryGdiObjects&) = delete;

  // False when the DLL imports none of the functions that make objects.
  bool installed() const;
  // Fonts, brushes and device contexts that the DLL made and has not
  // deleted or released since this guard was made.
  long live() const;

 private:
  ImportPatch font_, brush_, deleteObject_, getDc_, releaseDc_, createDc_, deleteDc_;
};
