// Host texts are ANSI in the system code page; the dialogs speak UTF-16.
#pragma once
#include <string>

std::wstring AnsiToWide(const std::string& text);
// A host text by address: a null address reads as the empty text.
std::wstring HostTextToWide(const char* text);
// At most max UTF-16 units, never ending in half of a surrogate pair.
std::wstring CutWide(std::wstring text, size_t max);
// Characters that the code page lacks become its default character, never a
// look-alike.
std::string WideToAnsi(const wchar_t* text, size_t length);
std::string WideToAnsi(const std::wstring& text);
