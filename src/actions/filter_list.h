// The file dialogs' list of file types, built from a script's filter text.
#pragma once
#include <string>

// Turns "Pictures|*.jpg###All files|*.*" into the dialogs' list of
// NUL-ended texts ("Pictures", "*.jpg", "All files", "*.*", ...).
//
// Takes as many entries as the text has "|" plus one: entry i is the i-th
// "###" field (an empty text beyond the last field) with every "|" made a
// NUL, followed by one NUL. So entries may be separated by "###" or by "|"
// alone, a text without "|" keeps only its first field, and an empty text
// gives a lone NUL. The result holds embedded NULs and no closing pair:
// the caller ends the list after converting it. Linear in the text's length.
std::string BuildFilterList(const char* filterText);
