#include "rig/refused_allocations.h"

#include <cstdlib>

namespace {

using MallocFn = void*(__cdecl*)(size_t);
MallocFn g_malloc = nullptr;
volatile LONG g_toRefuse = 0;
volatile LONG g_refused = 0;

void* __cdecl RefusingMalloc(size_t size) {
  // Takes one refusal if any is left; the count never goes below zero.
  for (LONG left = g_toRefuse; left > 0; left = g_toRefuse) {
    if (InterlockedCompareExchange(&g_toRefuse, left - 1, left) == left) {
      InterlockedIncrement(&g_refused);
      return nullptr;
    }
  }
  return g_malloc(size);
}

}  // namespace

RefusedAllocations::RefusedAllocations(HMODULE module)
    : malloc_(module, "msvcrt.dll", "malloc", reinterpret_cast<void*>(&RefusingMalloc)) {
  // Set before the DLL runs again: nothing of it runs while this is built.
  g_malloc = reinterpret_cast<MallocFn>(malloc_.original());
  g_toRefuse = 0;
  g_refused = 0;
}

RefusedAllocations::~RefusedAllocations() { InterlockedExchange(&g_toRefuse, 0); }

void RefusedAllocations::RefuseNext(long count) { InterlockedExchange(&g_toRefuse, count); }

long RefusedAllocations::refused() const { return g_refused; }
