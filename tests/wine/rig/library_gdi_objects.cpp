#include "rig/library_gdi_objects.h"

#include <set>
#include <tuple>

namespace {

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

// The DLL's own function, one slot for each that is counted.
template <typename Fn>
Fn g_original = nullptr;

// Stands in for a function that makes an object: counts what it returns.
template <typename R, typename... Args>
R WINAPI Making(Args... args) {
  R made = g_original<R(WINAPI*)(Args...)>(args...);
  Made(made);
  return made;
}

// Stands in for one that deletes or releases the object in argument Object:
// a success uncounts it.
template <size_t Object, typename R, typename... Args>
R WINAPI Releasing(Args... args) {
  R done = g_original<R(WINAPI*)(Args...)>(args...);
  if (done) Released(std::get<Object>(std::tuple<Args...>(args...)));
  return done;
}

// Each stand-in is told apart by its type alone, which the counted
// functions do not share.
using CreateFontIndirectWFn = HFONT(WINAPI*)(const LOGFONTW*);
using CreateSolidBrushFn = HBRUSH(WINAPI*)(COLORREF);
using DeleteObjectFn = BOOL(WINAPI*)(HGDIOBJ);
using GetDCFn = HDC(WINAPI*)(HWND);
using ReleaseDCFn = int(WINAPI*)(HWND, HDC);
using CreateCompatibleDCFn = HDC(WINAPI*)(HDC);
using DeleteDCFn = BOOL(WINAPI*)(HDC);

template <typename Fn>
void* Stand(Fn function) {
  return reinterpret_cast<void*>(function);
}

template <typename Fn>
void Keep(const ImportPatch& patch) {
  g_original<Fn> = reinterpret_cast<Fn>(patch.original());
}

}  // namespace

LibraryGdiObjects::LibraryGdiObjects(HMODULE module)
    : font_(module, "gdi32.dll", "CreateFontIndirectW", Stand(&Making<HFONT, const LOGFONTW*>)),
      brush_(module, "gdi32.dll", "CreateSolidBrush", Stand(&Making<HBRUSH, COLORREF>)),
      deleteObject_(module, "gdi32.dll", "DeleteObject", Stand(&Releasing<0, BOOL, HGDIOBJ>)),
      getDc_(module, "user32.dll", "GetDC", Stand(&Making<HDC, HWND>)),
      releaseDc_(module, "user32.dll", "ReleaseDC", Stand(&Releasing<1, int, HWND, HDC>)),
      createDc_(module, "gdi32.dll", "CreateCompatibleDC", Stand(&Making<HDC, HDC>)),
      deleteDc_(module, "gdi32.dll", "DeleteDC", Stand(&Releasing<0, BOOL, HDC>)) {
  // Set before the DLL runs again: nothing of it runs while this is built.
  AcquireSRWLockExclusive(&g_lock);
  g_live.clear();
  ReleaseSRWLockExclusive(&g_lock);
  Keep<CreateFontIndirectWFn>(font_);
  Keep<CreateSolidBrushFn>(brush_);
  Keep<DeleteObjectFn>(deleteObject_);
  Keep<GetDCFn>(getDc_);
  Keep<ReleaseDCFn>(releaseDc_);
  Keep<CreateCompatibleDCFn>(createDc_);
  Keep<DeleteDCFn>(deleteDc_);
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
