// Chosen paths handed to the host, which speaks the ANSI code page: a path
// whose name the code page cannot spell must still name the chosen item.
#pragma once
#include <string>

// The path in the host's code page. When the plain conversion would lose
// characters, the file system's short path of the item is used where it
// converts without loss; for an item that does not exist yet (a new name
// typed into a file dialog), its folder, by its short path where needed,
// joined to its name, lossy only when the name itself is. Only when no such
// form exists is the plain, lossy conversion returned.
std::string PathForHost(const std::wstring& path);
