// Apart from the driver, which every test program uses: only the programs
// that call this import the common dialogs, whose comctl32 would otherwise
// be loaded before a themed run could choose its own.
#pragma once
#include <string>

// The title the system gives its own open or save dialog when the caller
// names none, in the user's language: read from one that this opens and
// cancels.
std::wstring SystemFileDialogTitle(bool save);
