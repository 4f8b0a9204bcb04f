// The host answers its name request with one text, names separated by CR LF.
#pragma once
#include <string>
#include <vector>

// The pieces of text cut at each CR LF pair, in order. Adjacent separators
// give an empty piece, a trailing separator an empty last piece; a lone CR
// or LF belongs to its piece. Never empty: "" gives one empty piece.
std::vector<std::string> SplitAtCrLf(const std::string& text);

// The leading pieces up to, not including, the first empty one: what a
// drop-down box offers, since the host ends its list with a blank line.
std::vector<std::string> ItemsBeforeFirstEmpty(const std::vector<std::string>& pieces);
