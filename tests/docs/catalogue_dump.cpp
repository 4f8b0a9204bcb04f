// Prints every action exactly as the DLL registers it: id, name, count, and
// the hint's two lines (VelHost's list shows only the description and the
// names, not the usage head that a reference page quotes).
#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "VelDialogs.h"

namespace {

int32_t VEL_CALL PrintAction(int32_t id, const char* name, const char* hint, const char*,
                              uint32_t count) {
  std::printf("action %d %s %u\n", static_cast<int>(id), name ? name : "", count & 0xFF);
  // The hint's CR LF becomes a plain line break; every other byte is kept.
  for (const char* c = hint ? hint : ""; *c; ++c)
    if (*c != '\r') std::putchar(*c);
  std::putchar('\n');
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: catalogue_dump PLUGIN.dll\n");
    return 2;
  }
  HMODULE dll = LoadLibraryA(argv[1]);
  if (!dll) {
    std::fprintf(stderr, "catalogue_dump: cannot load %s (error %lu)\n", argv[1], GetLastError());
    return 3;
  }
  auto reg = reinterpret_cast<VelRegisterPlugInProc>(GetProcAddress(dll, VEL_EXPORT_REGISTER_PLUGIN));
  if (!reg) {
    std::fprintf(stderr, "catalogue_dump: no %s in %s\n", VEL_EXPORT_REGISTER_PLUGIN, argv[1]);
    return 3;
  }
  reg(PrintAction, nullptr, nullptr, nullptr);
  std::fflush(stdout);
  return 0;
}
