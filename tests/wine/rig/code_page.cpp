#include "rig/code_page.h"

#include <windows.h>

namespace {

bool Spell(const std::wstring& text, DWORD flags, std::string* ansi) {
  BOOL lossy = FALSE;
  int bytes = WideCharToMultiByte(CP_ACP, flags, text.c_str(), static_cast<int>(text.size()),
                                  nullptr, 0, nullptr, nullptr);
  std::string out(bytes > 0 ? bytes : 0, '\0');
  if (bytes > 0)
    WideCharToMultiByte(CP_ACP, flags, text.c_str(), static_cast<int>(text.size()), &out[0], bytes,
                        nullptr, GetACP() == CP_UTF8 ? nullptr : &lossy);
  if (ansi) *ansi = out;
  return bytes > 0 && !lossy;
}

}  // namespace

bool SpellInCodePage(const std::wstring& text, std::string* ansi) {
  return Spell(text, WC_NO_BEST_FIT_CHARS, ansi);
}

SpeltText NonAsciiInCodePage() {
  // The euro sign first: its byte is not its UTF-16 unit in any code page,
  // so a conversion that took the text for Latin-1 shows.
  for (const wchar_t* candidate : {L"\u00E9\u20AC", L"\u0416\u20AC", L"\u00E9", L"\u0416",
                                   L"\u03A9", L"\u05D0", L"\u0E01", L"\u4E2D"}) {
    SpeltText spelt;
    spelt.wide = candidate;
    if (SpellInCodePage(spelt.wide, &spelt.ansi)) return spelt;
  }
  return {};
}

std::wstring MissingFromCodePage(size_t count, bool withLookAlike) {
  // Latin letters with marks have look-alikes in most code pages; the
  // others (Cyrillic, CJK, Hebrew, Thai, Hangul, Devanagari) each lack in
  // some, and Devanagari in every ANSI code page.
  static const wchar_t kLookAlikes[] = L"\u0101\u0151\u0109\u0175\u0177";
  static const wchar_t kOthers[] = L"\u0416\u4E2D\u05D0\u0E01\uAC00\u0915\u0916";
  std::wstring missing;
  for (const wchar_t* set : {kOthers, kLookAlikes}) {
    if (withLookAlike && set == kOthers) continue;
    for (const wchar_t* c = set; *c && missing.size() < count; ++c) {
      const std::wstring one(1, *c);
      if (SpellInCodePage(one, nullptr)) continue;
      // A plain conversion that reports no loss found a look-alike.
      if (withLookAlike && !Spell(one, 0, nullptr)) continue;
      missing += one;
    }
  }
  return missing;
}

char CodePageDefaultChar() {
  CPINFO info = {};
  GetCPInfo(CP_ACP, &info);
  return static_cast<char>(info.DefaultChar[0]);
}
