#include "rig/host_cells.h"

#include <cstring>

std::string CellText(char* cell) { return cell ? std::string(cell) : std::string(); }

SIZE_T CellSize(char* cell) { return cell ? GlobalSize(reinterpret_cast<HGLOBAL>(cell)) : 0; }

char* NewHostBlock(const std::string& text) {
  char* block = static_cast<char*>(GlobalAlloc(GMEM_ZEROINIT, text.size() + 1));
  std::memcpy(block, text.data(), text.size());
  return block;
}

void FreeCells(std::vector<char*>& cells) {
  for (char*& cell : cells) {
    if (cell) GlobalFree(reinterpret_cast<HGLOBAL>(cell));
    cell = nullptr;
  }
}
