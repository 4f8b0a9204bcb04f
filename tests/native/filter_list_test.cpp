#include "actions/filter_list.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {
// The list's NUL-ended texts, as the dialog walks them.
std::vector<std::string> Texts(const std::string& list) {
  std::vector<std::string> texts;
  size_t start = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i] != '\0') continue;
    texts.push_back(list.substr(start, i - start));
    start = i + 1;
  }
  EXPECT_EQ(start, list.size()) << "list must end with a NUL";
  return texts;
}

std::string Bytes(std::initializer_list<const char*> texts) {
  std::string out;
  for (const char* t : texts) out.append(t).push_back('\0');
  return out;
}
}  // namespace

TEST(FilterList, EntriesSeparatedByHashesOrByBarsGiveTheSameTypes) {
  std::string hashes = BuildFilterList("Pictures|*.jpg###All files|*.*");
  std::string bars = BuildFilterList("Pictures|*.jpg|All files|*.*");
  EXPECT_EQ(hashes, Bytes({"Pictures", "*.jpg", "All files", "*.*", ""}));
  EXPECT_EQ(bars, Bytes({"Pictures", "*.jpg", "All files", "*.*", "", "", ""}));
  // What the dialog sees stops at the first empty text.
  std::vector<std::string> texts = Texts(bars);
  ASSERT_GE(texts.size(), 5u);
  EXPECT_EQ(std::vector<std::string>(texts.begin(), texts.begin() + 5), Texts(hashes));
}

TEST(FilterList, ATextWithoutBarsKeepsOnlyItsFirstField) {
  EXPECT_EQ(BuildFilterList("Pictures###Text"), Bytes({"Pictures"}));
  EXPECT_EQ(BuildFilterList("Pictures"), Bytes({"Pictures"}));
  EXPECT_EQ(BuildFilterList("###Text"), Bytes({""}));
}

TEST(FilterList, EmptyOrMissingTextGivesAnEmptyList) {
  EXPECT_EQ(BuildFilterList(""), std::string(1, '\0'));
  EXPECT_EQ(BuildFilterList(nullptr), std::string(1, '\0'));
}

TEST(FilterList, EntriesAreTakenByBarCountNotByFieldCount) {
  // Three fields but one bar: only two entries are taken.
  EXPECT_EQ(BuildFilterList("A|*.a###B###C"), Bytes({"A", "*.a", "B"}));
  // One field, three bars: the extra entries are empty texts.
  EXPECT_EQ(BuildFilterList("A|*.a;*.b|c|d"), Bytes({"A", "*.a;*.b", "c", "d", "", "", ""}));
  EXPECT_EQ(BuildFilterList("A|*.a###B|*.b###C|*.c"),
            Bytes({"A", "*.a", "B", "*.b", "C", "*.c", ""}));
}

TEST(FilterList, HashRunsAreCutLeftToRightWithoutOverlap) {
  EXPECT_EQ(BuildFilterList("a|x####b|y"), Bytes({"a", "x", "#b", "y", ""}));
  EXPECT_EQ(BuildFilterList("a|x######b|y"), Bytes({"a", "x", "", "b", "y"}));
  EXPECT_EQ(BuildFilterList("a|x##b"), Bytes({"a", "x##b", ""}));
  // A separator at the end leaves an empty last field.
  EXPECT_EQ(BuildFilterList("a|x###"), Bytes({"a", "x", ""}));
}

TEST(FilterList, SeparatorOnlyTextsGiveOnlyEmptyTexts) {
  EXPECT_EQ(BuildFilterList("|"), std::string(3, '\0'));
  EXPECT_EQ(BuildFilterList("###"), std::string(1, '\0'));
  EXPECT_EQ(BuildFilterList("|||###|||"), std::string(6 + 1 + 6, '\0'));
}

TEST(FilterList, HighBitBytesPassUnchanged) {
  EXPECT_EQ(BuildFilterList("Bilder \xE4\xF6\xFC|*.\xFF"), Bytes({"Bilder \xE4\xF6\xFC", "*.\xFF", ""}));
}

TEST(FilterList, LongSeparatorTextsTakeLinearTime) {
  const size_t size = 64 * 1024;
  auto start = std::chrono::steady_clock::now();
  std::string bars = BuildFilterList(std::string(size, '|').c_str());
  std::string hashes = BuildFilterList(std::string(size, '#').c_str());
  std::string mixed;
  while (mixed.size() < size) mixed += "d|*.x###";
  std::string mixedList = BuildFilterList(mixed.c_str());
  auto elapsed = std::chrono::steady_clock::now() - start;

  EXPECT_EQ(bars, std::string(2 * size + 1, '\0'));  // 65,537 entries of two empty halves
  EXPECT_EQ(hashes, std::string(1, '\0'));           // no bar: the first, empty field only
  EXPECT_EQ(Texts(mixedList).size(), 2 * (size / 8) + 1);
  // Quadratic splitting takes minutes here; linear work takes well under a second
  // even under the sanitizers.
  EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 2000);
}
