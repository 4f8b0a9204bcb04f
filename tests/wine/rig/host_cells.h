// Host text cells as a host keeps them: 0 or a fixed GlobalAlloc block.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

// A cell's block, checked as the library must leave it: size = length + 1,
// zero-terminated. Returns "" for a cell holding 0.
std::string CellText(char* cell);
// GlobalSize of the cell's block (0 for a cell holding 0).
SIZE_T CellSize(char* cell);
// A block allocated the way a host does, holding text.
char* NewHostBlock(const std::string& text);
// Frees whatever the cells hold and zeroes them.
void FreeCells(std::vector<char*>& cells);
