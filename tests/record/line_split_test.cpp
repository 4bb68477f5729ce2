#include "record/line_split.h"

#include <gtest/gtest.h>

using wavora::SplitCells;
using wavora::SplitFields;
using wavora::SplitTokens;
using V = std::vector<std::string>;

TEST(SplitFields, CommasBlanksAndEmptyFields) {
    EXPECT_EQ(SplitFields("A,B"), (V{"A", "B"}));
    EXPECT_EQ(SplitFields("A, B"), (V{"A", "B"}));
    EXPECT_EQ(SplitFields("A ,B"), (V{"A ", "B"}));
    EXPECT_EQ(SplitFields("A,,B"), (V{"A", "", "B"}));
    EXPECT_EQ(SplitFields("A,"), (V{"A", ""}));
    EXPECT_EQ(SplitFields("A, \t"), (V{"A", ""}));
    EXPECT_EQ(SplitFields(",A"), (V{"", "A"}));
    EXPECT_EQ(SplitFields("\t 1.5e1"), (V{"1.5e1"}));
}

TEST(SplitFields, EmptyAndBlankLinesHaveNoField) {
    EXPECT_TRUE(SplitFields("").empty());
    EXPECT_TRUE(SplitFields("  \t ").empty());
    EXPECT_TRUE(SplitFields("\n").empty());
    EXPECT_EQ(SplitFields("A,B\nC,D"), (V{"A", "B"}));
    EXPECT_EQ(SplitFields(","), (V{"", ""}));
}

TEST(SplitTokens, BlanksAndCommasSeparate) {
    EXPECT_EQ(SplitTokens("Date, 2024 ,5"), (V{"Date", "2024", "", "5"}));
    EXPECT_EQ(SplitTokens("a b\tc"), (V{"a", "b", "c"}));
    EXPECT_EQ(SplitTokens(",a"), (V{"", "a"}));
    EXPECT_EQ(SplitTokens("a,,b"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitTokens("a,"), (V{"a"}));  // no empty last token
    EXPECT_TRUE(SplitTokens("   ").empty());
}

TEST(SplitCells, EveryCommaSplitsNothingTrimmed) {
    EXPECT_TRUE(SplitCells("").empty());
    EXPECT_EQ(SplitCells("\n"), (V{""}));
    EXPECT_EQ(SplitCells(" a , b,"), (V{" a ", " b", ""}));
    EXPECT_EQ(SplitCells("x\ny"), (V{"x"}));
}
