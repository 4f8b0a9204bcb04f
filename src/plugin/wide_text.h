// Host texts are ANSI in the system code page; the dialogs speak UTF-16.
#pragma once
#include <string>

std::wstring AnsiToWide(const std::string& text);
// Characters that the code page lacks become its default character.
std::string WideToAnsi(const wchar_t* text, size_t length);
std::string WideToAnsi(const std::wstring& text);
