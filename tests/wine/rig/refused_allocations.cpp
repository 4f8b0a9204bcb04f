#include "rig/refused_allocations.h"

#include <cstdlib>

#include "rig/pe_image.h"

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
    : slot_(ImportSlot(module, "msvcrt.dll", "malloc")) {
  g_toRefuse = 0;
  g_refused = 0;
  if (!slot_) return;
  original_ = SwapImport(slot_, reinterpret_cast<void*>(&RefusingMalloc));
  g_malloc = reinterpret_cast<MallocFn>(original_);
}

RefusedAllocations::~RefusedAllocations() {
  InterlockedExchange(&g_toRefuse, 0);
  if (slot_) SwapImport(slot_, original_);
}

void RefusedAllocations::RefuseNext(long count) { InterlockedExchange(&g_toRefuse, count); }

long RefusedAllocations::refused() const { return g_refused; }
