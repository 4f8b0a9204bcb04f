// What the system gives as an existing item's short (8.3) path, in the ANSI
// code page: the form in which the library hands back names that the code
// page cannot spell.
#pragma once
#include <string>

// "" when the item does not exist.
std::string ShortPathInCodePage(const std::wstring& path);
