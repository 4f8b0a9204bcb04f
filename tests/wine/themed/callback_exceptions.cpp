// Before main, every test program makes a fault in a window procedure that
// the kernel called back (WM_CREATE, WM_NCDESTROY, messages sent from another
// thread) end it as a crash. 64-bit Windows, and WOW64 for 32-bit programs,
// may swallow such an exception (the user-mode callback exception filter),
// and the program would carry on and could pass: the filter is turned off,
// through functions looked up by name. Where they are missing (Windows 7
// before its update that added them; Wine, which swallows such exceptions
// too) a first-chance handler ends the program at a fault in its own code or
// in the library's, the only code under test, which never faults on purpose.
#include <windows.h>

namespace {

constexpr DWORD kProcessCallbackFilterEnabled = 0x1;  // PROCESS_CALLBACK_FILTER_ENABLED

using GetPolicyFn = BOOL(WINAPI*)(LPDWORD);
using SetPolicyFn = BOOL(WINAPI*)(DWORD);

bool IsFault(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_PRIV_INSTRUCTION:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_STACK_OVERFLOW: return true;
    default: return false;
  }
}

bool InCodeUnderTest(void* address) {
  HMODULE module = nullptr;
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                          static_cast<const wchar_t*>(address), &module))
    return false;
  return module == GetModuleHandleW(nullptr) || module == GetModuleHandleW(L"VelDialogs.dll");
}

// What an unhandled exception does: the post-mortem path (which a job that
// dies on unhandled exceptions cuts short), then the end with its code.
LONG CALLBACK EndAtFault(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD* record = exception->ExceptionRecord;
  if (!IsFault(record->ExceptionCode) || !InCodeUnderTest(record->ExceptionAddress))
    return EXCEPTION_CONTINUE_SEARCH;
  UnhandledExceptionFilter(exception);
  TerminateProcess(GetCurrentProcess(), record->ExceptionCode);
  return EXCEPTION_CONTINUE_SEARCH;
}

struct CallbackExceptionsCrash {
  CallbackExceptionsCrash() {
    HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    auto get = reinterpret_cast<GetPolicyFn>(GetProcAddress(kernel, "GetProcessUserModeExceptionPolicy"));
    auto set = reinterpret_cast<SetPolicyFn>(GetProcAddress(kernel, "SetProcessUserModeExceptionPolicy"));
    DWORD flags = 0;
    if (get && set && get(&flags) && set(flags & ~kProcessCallbackFilterEnabled)) return;
    AddVectoredExceptionHandler(1, EndAtFault);
  }
} g_callbackExceptionsCrash;

}  // namespace
