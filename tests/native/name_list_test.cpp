#include "editors/name_list.h"

#include <gtest/gtest.h>

using Pieces = std::vector<std::string>;

TEST(SplitAtCrLf, CutsAtEveryPairAndKeepsEmptyPieces) {
  EXPECT_EQ(SplitAtCrLf(""), Pieces{""});
  EXPECT_EQ(SplitAtCrLf("Main"), Pieces{"Main"});
  EXPECT_EQ(SplitAtCrLf("Main\r\nOther"), (Pieces{"Main", "Other"}));
  EXPECT_EQ(SplitAtCrLf("Main\r\n"), (Pieces{"Main", ""}));
  EXPECT_EQ(SplitAtCrLf("\r\nMain"), (Pieces{"", "Main"}));
  EXPECT_EQ(SplitAtCrLf("A\r\n\r\nB"), (Pieces{"A", "", "B"}));
  EXPECT_EQ(SplitAtCrLf("\r\n"), (Pieces{"", ""}));
}

TEST(SplitAtCrLf, LoneCrOrLfAndReversedPairsStayInsideTheirPiece) {
  EXPECT_EQ(SplitAtCrLf("A\rB\nC"), Pieces{"A\rB\nC"});
  EXPECT_EQ(SplitAtCrLf("A\n\rB"), Pieces{"A\n\rB"});
  EXPECT_EQ(SplitAtCrLf("A\r\r\nB\n"), (Pieces{"A\r", "B\n"}));
  EXPECT_EQ(SplitAtCrLf("\r"), Pieces{"\r"});
}

TEST(ItemsBeforeFirstEmpty, StopsAtTheFirstEmptyPiece) {
  EXPECT_EQ(ItemsBeforeFirstEmpty({""}), Pieces{});
  EXPECT_EQ(ItemsBeforeFirstEmpty({"B", "A", ""}), (Pieces{"B", "A"}));
  EXPECT_EQ(ItemsBeforeFirstEmpty({"A", "", "B"}), Pieces{"A"});
  EXPECT_EQ(ItemsBeforeFirstEmpty({"", "A"}), Pieces{});
  EXPECT_EQ(ItemsBeforeFirstEmpty({" ", "A"}), (Pieces{" ", "A"}));
}
