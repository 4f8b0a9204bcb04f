#include "choice.h"

#include <cstdlib>

namespace {

bool AllDigits(const std::string& text, size_t maxSize) {
  return !text.empty() && text.size() <= maxSize &&
         text.find_first_not_of("0123456789") == std::string::npos;
}

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

}  // namespace

std::vector<std::string> SplitAt(const std::string& text, char separator) {
  std::vector<std::string> pieces(1);
  for (char c : text) {
    if (c == separator)
      pieces.emplace_back();
    else
      pieces.back() += c;
  }
  return pieces;
}

bool ParseColorChoice(const std::string& text, RgbChoice* color) {
  if (text.size() == 7 && text[0] == '#') {
    if (text.find_first_not_of("0123456789abcdefABCDEF", 1) != std::string::npos) return false;
    long value = std::strtol(text.c_str() + 1, nullptr, 16);
    *color = {static_cast<int>(value >> 16) & 0xFF, static_cast<int>(value >> 8) & 0xFF,
              static_cast<int>(value) & 0xFF};
    return true;
  }
  std::vector<std::string> parts = SplitAt(text, ',');
  if (parts.size() != 3) return false;
  int values[3];
  for (int i = 0; i < 3; ++i) {
    std::string part = Trim(parts[i]);
    if (!AllDigits(part, 3)) return false;
    values[i] = std::atoi(part.c_str());
    if (values[i] > 255) return false;
  }
  *color = {values[0], values[1], values[2]};
  return true;
}

FontChoice ParseFontChoice(const std::string& text) {
  FontChoice choice;
  size_t comma = text.rfind(',');
  if (comma != std::string::npos && AllDigits(Trim(text.substr(comma + 1)), 4)) {
    choice.face = Trim(text.substr(0, comma));
    choice.points = std::atoi(Trim(text.substr(comma + 1)).c_str());
  } else {
    choice.face = Trim(text);
  }
  return choice;
}

DateChoice ParseDateChoice(const std::string& text) {
  DateChoice choice;
  std::string t = Trim(text);
  if (AllDigits(t, 2)) {
    int day = std::atoi(t.c_str());
    if (day >= 1 && day <= 31) choice.day = day;
    return choice;
  }
  std::vector<std::string> parts = SplitAt(t, '-');
  if (parts.size() != 3 || parts[0].size() != 4 || parts[1].size() != 2 || parts[2].size() != 2 ||
      !AllDigits(parts[0], 4) || !AllDigits(parts[1], 2) || !AllDigits(parts[2], 2))
    return choice;
  int year = std::atoi(parts[0].c_str()), month = std::atoi(parts[1].c_str()),
      day = std::atoi(parts[2].c_str());
  if (year < 1601 || month < 1 || month > 12 || day < 1 || day > 31) return choice;
  return {year, month, day};
}

std::string HintDescription(const std::string& hint) {
  size_t end = hint.find("\r\n");
  return Trim(end == std::string::npos ? hint : hint.substr(0, end));
}

std::vector<std::string> HintParameterNames(const std::string& hint) {
  std::vector<std::string> names;
  size_t start = hint.find("\r\n");
  if (start == std::string::npos) return names;
  size_t open = hint.find('"', start);
  while (open != std::string::npos) {
    size_t close = hint.find('"', open + 1);
    if (close == std::string::npos) break;
    // An empty pair is how an action without parameters is shown.
    if (close > open + 1) names.push_back(hint.substr(open + 1, close - open - 1));
    open = hint.find('"', close + 1);
  }
  return names;
}
