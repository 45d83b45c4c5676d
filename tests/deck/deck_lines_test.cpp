#include "deck/deck.h"

#include <gtest/gtest.h>

namespace {

QByteArray Joined(const DeckLines &lines) {
    QByteArray out;
    lines.ForEach([&](QByteArrayView line) { out += line.toByteArray() + '|'; });
    return out;
}

TEST(DeckLines, EveryKindOfLineEndSplitsTheSame) {
    for (const char *text :
         {"a\r\nb\r\nc\r\n", "a\nb\nc\n", "a\rb\rc\r", "a\r\nb\nc\r", "a\nb\rc"}) {
        const DeckLines lines = DeckLines::FromFileBytes(text);
        EXPECT_EQ(lines.Count(), 3) << text;
        EXPECT_EQ(lines.Bytes(), "a\r\nb\r\nc\r\n") << text;
    }
}

TEST(DeckLines, EmptyLinesAreLinesButAFinalBreakIsNot) {
    EXPECT_TRUE(DeckLines::FromFileBytes("").IsEmpty());
    EXPECT_EQ(DeckLines::FromFileBytes("\r\n").Count(), 1);
    EXPECT_EQ(Joined(DeckLines::FromFileBytes("\n\r\r\n")), "|||");
    // LF CR is two breaks, not one.
    EXPECT_EQ(Joined(DeckLines::FromFileBytes("a\n\rb")), "a||b|");
    EXPECT_EQ(Joined(DeckLines::FromFileBytes("a\r\n\r\n")), "a||");
    EXPECT_EQ(Joined(DeckLines::FromFileBytes("a")), "a|");
}

TEST(DeckLines, LineFindsEachLineAndNothingPastTheEnd) {
    const DeckLines lines = DeckLines::FromFileBytes("x,1\n\ny");
    EXPECT_EQ(lines.Line(0), "x,1");
    EXPECT_EQ(lines.Line(1), "");
    EXPECT_EQ(lines.Line(2), "y");
    EXPECT_TRUE(lines.Line(3).isNull());
    EXPECT_TRUE(lines.Line(-1).isNull());
}

TEST(DeckLines, EqualityIsByLines) {
    EXPECT_EQ(DeckLines::FromFileBytes("a\nb"), DeckLines::FromFileBytes("a\r\nb\r\n"));
    EXPECT_FALSE(DeckLines::FromFileBytes("a\n") == DeckLines::FromFileBytes("a\n\n"));
    EXPECT_FALSE(DeckLines::FromFileBytes("a") == DeckLines::FromFileBytes("b"));
}

TEST(IsUnsuitable, OnlyTheFirstTwoLinesCount) {
    auto unsuitable = [](const char *text) { return IsUnsuitable(DeckLines::FromFileBytes(text)); };
    EXPECT_TRUE(unsuitable(""));
    EXPECT_TRUE(unsuitable("words"));
    EXPECT_TRUE(unsuitable("words\r\nmore\r\na,b\r\n"));
    EXPECT_TRUE(unsuitable("\r\n\r\na,b"));
    EXPECT_FALSE(unsuitable("words\r\na,b"));
    EXPECT_FALSE(unsuitable("a,b"));
    EXPECT_FALSE(unsuitable(","));
}

} // namespace
