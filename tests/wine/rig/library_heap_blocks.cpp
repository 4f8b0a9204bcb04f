#include "rig/library_heap_blocks.h"

#include <shlobj.h>

#include <cstdlib>
#include <map>

namespace {

// The library runs on the host's thread, the dialog closer on another: the
// map is guarded. It is allocated by this program's own runtime, whose
// imports are not redirected, so no call below comes back here.
SRWLOCK g_lock = SRWLOCK_INIT;
std::map<void*, size_t> g_live;

void Made(void* block, size_t size) {
  if (!block) return;
  AcquireSRWLockExclusive(&g_lock);
  g_live[block] = size;
  ReleaseSRWLockExclusive(&g_lock);
}

// Blocks made before the guard are not in the map: their release is ignored.
void Released(void* block) {
  if (!block) return;
  AcquireSRWLockExclusive(&g_lock);
  g_live.erase(block);
  ReleaseSRWLockExclusive(&g_lock);
}

using MallocFn = void*(__cdecl*)(size_t);
using CallocFn = void*(__cdecl*)(size_t, size_t);
using ReallocFn = void*(__cdecl*)(void*, size_t);
using FreeFn = void(__cdecl*)(void*);
using GlobalAllocFn = HGLOBAL(WINAPI*)(UINT, SIZE_T);
using GlobalFreeFn = HGLOBAL(WINAPI*)(HGLOBAL);
using BrowseFn = PIDLIST_ABSOLUTE(WINAPI*)(BROWSEINFOW*);
using TaskFreeFn = void(WINAPI*)(void*);

MallocFn g_malloc;
CallocFn g_calloc;
ReallocFn g_realloc;
FreeFn g_free;
GlobalAllocFn g_globalAlloc;
GlobalFreeFn g_globalFree, g_hostGlobalFree;
BrowseFn g_browse;
TaskFreeFn g_taskFree;

void* __cdecl CountedMalloc(size_t size) {
  void* block = g_malloc(size);
  Made(block, size);
  return block;
}

void* __cdecl CountedCalloc(size_t count, size_t size) {
  void* block = g_calloc(count, size);
  Made(block, count * size);
  return block;
}

// A block that moves is the old one freed and a new one made; one that
// could not grow stays as it was; realloc(p, 0) frees p.
void* __cdecl CountedRealloc(void* old, size_t size) {
  void* block = g_realloc(old, size);
  if (block || size == 0) Released(old);
  Made(block, size);
  return block;
}

void __cdecl CountedFree(void* block) {
  Released(block);
  g_free(block);
}

HGLOBAL WINAPI CountedGlobalAlloc(UINT flags, SIZE_T size) {
  HGLOBAL block = g_globalAlloc(flags, size);
  Made(block, size);
  return block;
}

HGLOBAL WINAPI CountedGlobalFree(HGLOBAL block) {
  HGLOBAL failed = g_globalFree(block);
  if (!failed) Released(block);
  return failed;
}

HGLOBAL WINAPI CountedHostGlobalFree(HGLOBAL block) {
  HGLOBAL failed = g_hostGlobalFree(block);
  if (!failed) Released(block);
  return failed;
}

PIDLIST_ABSOLUTE WINAPI CountedBrowse(BROWSEINFOW* info) {
  PIDLIST_ABSOLUTE list = g_browse(info);
  Made(list, 0);
  return list;
}

void WINAPI CountedTaskFree(void* block) {
  Released(block);
  g_taskFree(block);
}

template <typename Fn>
void* Stand(Fn function) {
  return reinterpret_cast<void*>(function);
}

template <typename Fn>
void Keep(Fn& slot, const ImportPatch& patch) {
  slot = reinterpret_cast<Fn>(patch.original());
}

}  // namespace

LibraryHeapBlocks::LibraryHeapBlocks(HMODULE module)
    : malloc_(module, "msvcrt.dll", "malloc", Stand(&CountedMalloc)),
      calloc_(module, "msvcrt.dll", "calloc", Stand(&CountedCalloc)),
      realloc_(module, "msvcrt.dll", "realloc", Stand(&CountedRealloc)),
      free_(module, "msvcrt.dll", "free", Stand(&CountedFree)),
      globalAlloc_(module, "kernel32.dll", "GlobalAlloc", Stand(&CountedGlobalAlloc)),
      globalFree_(module, "kernel32.dll", "GlobalFree", Stand(&CountedGlobalFree)),
      // The host program (this one) frees the texts the library hands back.
      hostGlobalFree_(GetModuleHandleW(nullptr), "kernel32.dll", "GlobalFree",
                      Stand(&CountedHostGlobalFree)),
      browse_(module, "shell32.dll", "SHBrowseForFolderW", Stand(&CountedBrowse)),
      taskFree_(module, "ole32.dll", "CoTaskMemFree", Stand(&CountedTaskFree)) {
  // Set before the DLL runs again: nothing of it runs while this is built.
  AcquireSRWLockExclusive(&g_lock);
  g_live.clear();
  ReleaseSRWLockExclusive(&g_lock);
  Keep(g_malloc, malloc_);
  Keep(g_calloc, calloc_);
  Keep(g_realloc, realloc_);
  Keep(g_free, free_);
  Keep(g_globalAlloc, globalAlloc_);
  Keep(g_globalFree, globalFree_);
  Keep(g_hostGlobalFree, hostGlobalFree_);
  Keep(g_browse, browse_);
  Keep(g_taskFree, taskFree_);
}

LibraryHeapBlocks::~LibraryHeapBlocks() = default;

bool LibraryHeapBlocks::installed() const { return malloc_.installed() && free_.installed(); }

long LibraryHeapBlocks::live() const {
  AcquireSRWLockShared(&g_lock);
  long count = static_cast<long>(g_live.size());
  ReleaseSRWLockShared(&g_lock);
  return count;
}

size_t LibraryHeapBlocks::liveBytes() const {
  AcquireSRWLockShared(&g_lock);
  size_t bytes = 0;
  for (const auto& block : g_live) bytes += block.second;
  ReleaseSRWLockShared(&g_lock);
  return bytes;
}
