// Texts as the system's ANSI code page spells them. Expectations about
// non-ASCII texts come from the code page's own conversion, so that a test
// holds in Japanese, Russian or Greek as it does in English.
#pragma once
#include <string>

// The code page's bytes for text, when it has every character of it as
// itself (no look-alike); false otherwise.
bool SpellInCodePage(const std::wstring& text, std::string* ansi);

// A text of non-ASCII characters and its bytes in the code page: "é€",
// "Ж€", "é", "Ж", "Ω", "א", "ก" or "中", whichever the code page has first
// (each ANSI code page has one of them). Empty when it has none.
struct SpeltText {
  std::wstring wide;
  std::string ansi;
  bool empty() const { return wide.empty(); }
};
SpeltText NonAsciiInCodePage();

// Characters that the code page lacks, up to count, from a list that every
// ANSI code page misses some of (Cyrillic, CJK, Hebrew, Thai, Hangul and
// Devanagari ones first, then Latin ones with marks); fewer (none under a
// UTF-8 code page) when the code page has them. withLookAlike asks for
// characters that a plain conversion turns into a look-alike ("ā" into
// "a" in code page 1252).
std::wstring MissingFromCodePage(size_t count, bool withLookAlike = false);

// The byte that stands for a character the code page lacks.
char CodePageDefaultChar();
