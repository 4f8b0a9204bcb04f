// Lean stand-ins for runtime pieces that a plug-in has no use for, which
// would otherwise pull about 100 KiB of string and printing code into the
// DLL: the standard library reports every container failure by a call to
// one of these.
//
// All of them throw std::bad_alloc: the only failure our code can meet is
// memory running out, and every entry point catches everything, so the host
// sees an action that did nothing rather than a crash.
#include <cstdlib>
#include <new>
#include <string>

namespace std {
void __throw_bad_alloc() { throw std::bad_alloc(); }
void __throw_bad_array_new_length() { throw std::bad_alloc(); }
void __throw_length_error(const char*) { throw std::bad_alloc(); }
void __throw_logic_error(const char*) { throw std::bad_alloc(); }
void __throw_out_of_range_fmt(const char*, ...) { throw std::bad_alloc(); }
}  // namespace std

namespace __gnu_cxx {
// The default handler prints demangled type names to a console that a
// plug-in does not have, and drags a whole demangler in. Never reached in
// practice (see above); when it is, end as quietly as the default would.
void __verbose_terminate_handler() { std::abort(); }
}  // namespace __gnu_cxx

// From GCC 13 on, the C++20 headers declare std::string's out-of-line
// _M_replace_cold as instantiated in the runtime library. Linking that one
// member there pulls the whole string instantiation object with it (about
// 29 KiB of code and unwind tables, since its unwind table keeps every
// function alive), so the DLL instantiates the member itself, as GCC 12's
// headers let every caller do.
#if defined(__GLIBCXX__) && _GLIBCXX_USE_CXX11_ABI && __cplusplus > 201703L && \
    _GLIBCXX_RELEASE >= 13 && _GLIBCXX_EXTERN_TEMPLATE > 0
template void std::string::_M_replace_cold(char*, std::string::size_type, const char*,
                                           const std::string::size_type,
                                           const std::string::size_type);
template void std::wstring::_M_replace_cold(wchar_t*, std::wstring::size_type, const wchar_t*,
                                            const std::wstring::size_type,
                                            const std::wstring::size_type);
#endif
