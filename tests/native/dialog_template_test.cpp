#include "dialogs/dialog_template.h"

#include <gtest/gtest.h>

namespace {
uint16_t WordAt(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }
uint32_t DwordAt(const std::vector<uint8_t>& b, size_t at) { return WordAt(b, at) | (WordAt(b, at + 2) << 16); }
}  // namespace

TEST(DialogTemplate, ExtendedHeaderWithFontAndNoItems) {
  // Every field its own value, so that two swapped fields show.
  DialogTemplateLayout layout{0x00080054, 0x8, 300, 310, 340, 160, u"Ti", 8, 400, 1, 204, u"MS Sans Serif"};
  std::vector<uint8_t> b = BuildDialogTemplate(layout);
  EXPECT_EQ(WordAt(b, 0), 1);        // version
  EXPECT_EQ(WordAt(b, 2), 0xFFFF);   // extended signature
  EXPECT_EQ(DwordAt(b, 4), 0u);      // help id
  EXPECT_EQ(DwordAt(b, 8), 0x8u);    // extended style
  EXPECT_EQ(DwordAt(b, 12), 0x00080054u);
  EXPECT_EQ(WordAt(b, 16), 0);       // no items
  EXPECT_EQ(WordAt(b, 18), 300);
  EXPECT_EQ(WordAt(b, 20), 310);
  EXPECT_EQ(WordAt(b, 22), 340);
  EXPECT_EQ(WordAt(b, 24), 160);
  EXPECT_EQ(WordAt(b, 26), 0);       // menu
  EXPECT_EQ(WordAt(b, 28), 0);       // class
  EXPECT_EQ(WordAt(b, 30), 'T');
  EXPECT_EQ(WordAt(b, 32), 'i');
  EXPECT_EQ(WordAt(b, 34), 0);
  EXPECT_EQ(WordAt(b, 36), 8);       // points
  EXPECT_EQ(WordAt(b, 38), 400);     // weight
  EXPECT_EQ(b[40], 1);               // italic
  EXPECT_EQ(b[41], 204);             // charset
  std::u16string face;
  for (size_t at = 42; WordAt(b, at); at += 2) face += char16_t(WordAt(b, at));
  EXPECT_EQ(face, u"MS Sans Serif");
  EXPECT_EQ(b.size() % 4, 0u);
  EXPECT_GE(b.size(), 42u + 2 * 14);
}

TEST(DialogTemplate, NoFontBlockWithoutSetFont) {
  DialogTemplateLayout layout{0x40000000, 0, 0, 0, 1, 1, u"", 8, 400, 0, 0, u"Ignored"};
  std::vector<uint8_t> b = BuildDialogTemplate(layout);
  EXPECT_EQ(b.size(), 32u);  // 30 header bytes + empty title, padded to a DWORD
}
