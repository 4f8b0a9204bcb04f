#include "editors/name_list.h"

std::vector<std::string> SplitAtCrLf(const std::string& text) {
  static const char kSeparator[] = "\r\n";
  std::vector<std::string> pieces;
  std::string::size_type start = 0;
  for (;;) {
    std::string::size_type at = text.find(kSeparator, start);
    if (at == std::string::npos) break;
    pieces.push_back(text.substr(start, at - start));
    start = at + 2;
  }
  pieces.push_back(text.substr(start));
  return pieces;
}

std::vector<std::string> ItemsBeforeFirstEmpty(const std::vector<std::string>& pieces) {
  std::vector<std::string> items;
  for (const std::string& piece : pieces) {
    if (piece.empty()) break;
    items.push_back(piece);
  }
  return items;
}
