#include "rig/library_gdi_objects.h"

#include <set>

namespace {

using CreateFontIndirectWFn = HFONT(WINAPI*)(const LOGFONTW*);
using CreateSolidBrushFn = HBRUSH(WINAPI*)(COLORREF);
using DeleteObjectFn = BOOL(WINAPI*)(HGDIOBJ);
using GetDCFn = HDC(WINAPI*)(HWND);
using ReleaseDCFn = int(WINAPI*)(HWND, HDC);

CreateFontIndirectWFn g_createFont = nullptr;
CreateSolidBrushFn g_createBrush = nullptr;
DeleteObjectFn g_deleteObject = nullptr;
GetDCFn g_getDc = nullptr;
ReleaseDCFn g_releaseDc = nullptr;

using CreateCompatibleDCFn = HDC(WINAPI*)(HDC);
using DeleteDCFn = BOOL(WINAPI*)(HDC);
CreateCompatibleDCFn g_createDc = nullptr;
DeleteDCFn g_deleteDc = nullptr;

// The library runs on the host's thread, but the test may read the count
// from its driver thread: the set is guarded.
SRWLOCK g_lock = SRWLOCK_INIT;
std::set<HANDLE> g_live;

void Made(HANDLE object) {
  if (!object) return;
  AcquireSRWLockExclusive(&g_lock);
  g_live.insert(object);
  ReleaseSRWLockExclusive(&g_lock);
}

void Released(HANDLE object) {
  AcquireSRWLockExclusive(&g_lock);
  g_live.erase(object);
  ReleaseSRWLockExclusive(&g_lock);
}

HFONT WINAPI CountedCreateFontIndirectW(const LOGFONTW* font) {
  HFONT made = g_createFont(font);
  Made(made);
  return made;
}

HBRUSH WINAPI CountedCreateSolidBrush(COLORREF colour) {
  HBRUSH made = g_createBrush(colour);
  Made(made);
  return made;
}

BOOL WINAPI CountedDeleteObject(HGDIOBJ object) {
  BOOL deleted = g_deleteObject(object);
  if (deleted) Released(object);
  return deleted;
}

HDC WINAPI CountedGetDC(HWND window) {
  HDC dc = g_getDc(window);
  Made(dc);
  return dc;
}

int WINAPI CountedReleaseDC(HWND window, HDC dc) {
  int released = g_releaseDc(window, dc);
  if (released) Released(dc);
  return released;
}

HDC WINAPI CountedCreateCompatibleDC(HDC dc) {
  HDC made = g_createDc(dc);
  Made(made);
  return made;
}

BOOL WINAPI CountedDeleteDC(HDC dc) {
  BOOL deleted = g_deleteDc(dc);
  if (deleted) Released(dc);
  return deleted;
}

}  // namespace

LibraryGdiObjects::LibraryGdiObjects(HMODULE module)
    : font_(module, "gdi32.dll", "CreateFontIndirectW", reinterpret_cast<void*>(&CountedCreateFontIndirectW)),
      brush_(module, "gdi32.dll", "CreateSolidBrush", reinterpret_cast<void*>(&CountedCreateSolidBrush)),
      deleteObject_(module, "gdi32.dll", "DeleteObject", reinterpret_cast<void*>(&CountedDeleteObject)),
      getDc_(module, "user32.dll", "GetDC", reinterpret_cast<void*>(&CountedGetDC)),
      releaseDc_(module, "user32.dll", "ReleaseDC", reinterpret_cast<void*>(&CountedReleaseDC)),
      createDc_(module, "gdi32.dll", "CreateCompatibleDC", reinterpret_cast<void*>(&CountedCreateCompatibleDC)),
      deleteDc_(module, "gdi32.dll", "DeleteDC", reinterpret_cast<void*>(&CountedDeleteDC)) {
  // Set before the DLL runs again: nothing of it runs while this is built.
  AcquireSRWLockExclusive(&g_lock);
  g_live.clear();
  ReleaseSRWLockExclusive(&g_lock);
  g_createFont = reinterpret_cast<CreateFontIndirectWFn>(font_.original());
  g_createBrush = reinterpret_cast<CreateSolidBrushFn>(brush_.original());
  g_deleteObject = reinterpret_cast<DeleteObjectFn>(deleteObject_.original());
  g_getDc = reinterpret_cast<GetDCFn>(getDc_.original());
  g_releaseDc = reinterpret_cast<ReleaseDCFn>(releaseDc_.original());
  g_createDc = reinterpret_cast<CreateCompatibleDCFn>(createDc_.original());
  g_deleteDc = reinterpret_cast<DeleteDCFn>(deleteDc_.original());
}

LibraryGdiObjects::~LibraryGdiObjects() = default;

bool LibraryGdiObjects::installed() const {
  return font_.installed() || brush_.installed() || getDc_.installed() || createDc_.installed();
}

long LibraryGdiObjects::live() const {
  AcquireSRWLockShared(&g_lock);
  long count = static_cast<long>(g_live.size());
  ReleaseSRWLockShared(&g_lock);
  return count;
}
