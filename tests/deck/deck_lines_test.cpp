#include "deck/deck.h"

#include <gtest/gtest.h>

#include <random>

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

// Every break to CR LF by the plainest rule, for comparison with the block-wise reader.
QByteArray WithCrLfBreaks(QByteArray text) {
    text.replace("\r\n", "\n").replace('\r', '\n');
    if (!text.isEmpty() && !text.endsWith('\n'))
        text += '\n';
    return text.replace("\n", "\r\n");
}

TEST(DeckLines, BreaksAcrossSixteenByteBlocksSplitLikeThePlainRule) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> length(0, 70);
    std::uniform_int_distribution<int> pick(0, 9);
    const char plain[] = "abc,\"\x82\xa0x";
    for (int round = 0; round < 5000; ++round) {
        // Well-formed CR LF pairs only, so that the check runs on past the first block; a lone
        // CR or LF goes in at a random place in two rounds of three.
        QByteArray text;
        for (int i = length(random); i > 0; --i) {
            const int c = pick(random);
            text += c >= 8 ? QByteArray("\r\n") : QByteArray(1, plain[c]);
        }
        if (round % 3 != 0 && !text.isEmpty())
            text[int(random() % text.size())] = "\r\n"[round % 2];
        const DeckLines lines = DeckLines::FromFileBytes(text);
        const QByteArray expected = WithCrLfBreaks(text);
        ASSERT_EQ(lines.Bytes(), expected) << text.toPercentEncoding().constData();
        ASSERT_EQ(lines.Count(), expected.count('\n')) << text.toPercentEncoding().constData();
    }
    // Long enough for the counts kept sixteen at a time to be summed along the way.
    QByteArray longText;
    for (int i = 0; i < 3000; ++i)
        longText += "ab,\"c\x82\xa0\r\n" + QByteArray(i % 37, 'x') + "\r\n";
    EXPECT_EQ(DeckLines::FromFileBytes(longText).Count(), 6000);
    EXPECT_EQ(CountLineFeeds(longText), 6000);
    EXPECT_EQ(CountLineFeeds(QByteArray(longText).replace('\r', 'y')), 6000);
}

} // namespace
