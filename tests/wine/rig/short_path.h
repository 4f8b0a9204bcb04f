// What the system gives as an existing item's short (8.3) path, in the ANSI
// code page: the form in which the library hands back names that the code
// page cannot spell.
#pragma once
#include <string>

// "" when the item does not exist.
std::string ShortPathInCodePage(const std::wstring& path);

// False where the item has no 8.3 name of its own (Windows can turn them
// off for a volume): GetShortPathNameW then gives its long name back.
bool HasShortName(const std::wstring& path);
