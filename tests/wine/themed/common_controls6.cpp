// Started with --common-controls-6, a test program runs as a host with
// visual styles does: before main, it activates the Common Controls 6
// manifest that it carries and loads that comctl32, so that the controls,
// the library's calendar among them, come from it. The context stays active
// on the main thread, and threads started from it inherit it. A program that
// cannot activate it ends at once, saying why, rather than testing the
// classic controls under the themed run's name.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "common_controls6.h"

namespace {

bool Asked() {
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  bool asked = false;
  for (int i = 1; argv && i < argc; ++i) asked = asked || wcscmp(argv[i], VEL_COMMON_CONTROLS6_FLAG) == 0;
  LocalFree(argv);
  return asked;
}

[[noreturn]] void Refuse(const char* what, DWORD error) {
  printf("Common Controls 6 not active: %s (error %lu)\n", what, static_cast<unsigned long>(error));
  fflush(stdout);
  ExitProcess(3);
}

std::string Utf8(const wchar_t* text) {
  char buffer[MAX_PATH * 3] = {};
  WideCharToMultiByte(CP_UTF8, 0, text, -1, buffer, sizeof(buffer) - 1, nullptr, nullptr);
  return buffer;
}

struct CommonControls6 {
  CommonControls6() {
    if (!Asked()) return;
    // Loaded already where the program imports the common dialogs.
    HMODULE classic = GetModuleHandleW(L"comctl32.dll");
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    ACTCTXW context = {};
    context.cbSize = sizeof(context);
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID | ACTCTX_FLAG_HMODULE_VALID;
    context.lpSource = self;
    context.hModule = GetModuleHandleW(nullptr);
    context.lpResourceName = MAKEINTRESOURCEW(VEL_COMMON_CONTROLS6_MANIFEST);
    HANDLE handle = CreateActCtxW(&context);
    if (handle == INVALID_HANDLE_VALUE) Refuse("CreateActCtx failed", GetLastError());
    ULONG_PTR cookie = 0;
    if (!ActivateActCtx(handle, &cookie)) Refuse("ActivateActCtx failed", GetLastError());
    HMODULE themed = LoadLibraryW(L"comctl32.dll");
    if (!themed) Refuse("comctl32.dll did not load under it", GetLastError());
    // Windows asks the context before it looks at the modules loaded by
    // name. Wine 8 does not, and its comctl32 is one module whatever the
    // path: there a program that imports the common dialogs keeps it.
    const bool wine = GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    if (themed == classic && !wine) Refuse("comctl32.dll under it is the one loaded before it", 0);

    using InitFn = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_WIN95_CLASSES | ICC_DATE_CLASSES};
    if (auto init = reinterpret_cast<InitFn>(GetProcAddress(themed, "InitCommonControlsEx")))
      init(&classes);
    // The calendar the library creates on this thread must be that
    // comctl32's: the class is looked up through the active context.
    HWND calendar = CreateWindowExW(0, MONTHCAL_CLASSW, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    nullptr, nullptr);
    // By where its window procedure lies: Wine registers the classes for the
    // program's module.
    HMODULE owner = nullptr;
    if (calendar)
      GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<const wchar_t*>(GetClassLongPtrW(calendar, GCLP_WNDPROC)), &owner);
    if (calendar) DestroyWindow(calendar);
    if (owner != themed) Refuse("the month calendar's class does not come from its comctl32.dll", 0);

    DLLVERSIONINFO version = {};
    version.cbSize = sizeof(version);
    auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(GetProcAddress(themed, "DllGetVersion"));
    if (!getVersion || FAILED(getVersion(&version))) version.dwMajorVersion = version.dwMinorVersion = 0;
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(themed, path, MAX_PATH);
    // The runner reads this line into its report.
    printf("Common Controls 6 active: comctl32 %lu.%lu, %s\n",
           static_cast<unsigned long>(version.dwMajorVersion),
           static_cast<unsigned long>(version.dwMinorVersion), Utf8(path).c_str());
    fflush(stdout);
  }
} g_commonControls6;

}  // namespace
