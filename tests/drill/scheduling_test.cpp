#include "deck/deck.h"
#include "drill/day_number.h"
#include "drill/scheduling.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

// Shift-JIS history characters and texts.
const QByteArray R = QByteArrayLiteral("\x90\xb3"); // 正
const QByteArray W = QByteArrayLiteral("\x8c\xeb"); // 誤

TMondaiSet Card(qint32 seikai, qint32 fuseikai, const QByteArray &rireki, qint32 jikan = 0) {
    return TMondaiSet("apple", "ringo", "", jikan, seikai, fuseikai, rireki);
}

TEST(DayNumber, CountsLocalDaysFromTheEpochOfTheDeckFiles) {
    EXPECT_EQ(DayNumberOf(QDate(1899, 12, 30)), 0);
    EXPECT_EQ(DayNumberOf(QDate(2004, 1, 1)), 37987);
    EXPECT_EQ(TodayNumber(), DayNumberOf(QDate::currentDate()));
    EXPECT_EQ(FixedDayClock(123)(), 123);
}

TEST(Scheduling, DueOnlyAfterTheDueDay) {
    const qint32 today = 40000;
    EXPECT_TRUE(IsDue(Card(0, 0, "", 0), today));
    EXPECT_TRUE(IsDue(Card(0, 0, "", today - 1), today));
    EXPECT_FALSE(IsDue(Card(0, 0, "", today), today));
}

TEST(Scheduling, IntervalWorkedValues) {
    struct Row {
        qint32 s, f;
        QByteArray rireki;
        qint64 days;
    };
    const Row rows[] = {
        {0, 0, "", 2},           {0, 1, W, 1},          {0, 3, W + W + W, 1}, {5, 5, W + W + W, 2},
        {1, 0, R, 27},           {1, 1, R + W, 8},      {1, 1, W + R, 8},     {1, 2, W + R + W, 4},
        {2, 1, R + W + R, 3814}, {2, 0, R + R, 262144},
    };
    for (const Row &row : rows)
        EXPECT_EQ(ComputeInterval(Card(row.s, row.f, row.rireki)), row.days)
            << row.s << ":" << row.f << " " << row.rireki.toHex().constData();
}

TEST(Scheduling, IntervalCountsOnlyTheFirstFiveHistoryCharacters) {
    // Five 正 would cube x five times; a sixth must not count.
    const QByteArray six = R + R + R + R + R + R;
    const QByteArray five = R + R + R + R + R;
    EXPECT_EQ(ComputeInterval(Card(0, 1000, six)), ComputeInterval(Card(0, 1000, five)));
    // A half-width character is one character too, and not a right mark.
    EXPECT_EQ(ComputeInterval(Card(1, 0, "x" + R)), 27);
    EXPECT_EQ(ComputeInterval(Card(1, 0, "xxxxx" + R)), 3);
}

TEST(Scheduling, NegativeCountsCountAsZero) {
    EXPECT_EQ(ComputeInterval(Card(0, -1, "")), 2);
    EXPECT_EQ(ComputeInterval(Card(-7, -3, R)), 8);
}

TEST(Scheduling, HugeIntervalsSaturateTheDueDay) {
    // Four right marks in a row: far beyond any day number, even infinite in double.
    TMondaiSet card = Card(std::numeric_limits<qint32>::max(), 0, R + R + R + R + R);
    EXPECT_GT(ComputeInterval(card), qint64(std::numeric_limits<qint32>::max()));
    MarkRight(card, 40000);
    EXPECT_EQ(card.Jikan, std::numeric_limits<qint32>::max());
    EXPECT_EQ(card.Seikai, std::numeric_limits<qint32>::max()); // no overflow past the top
    EXPECT_FALSE(IsDue(card, 50000));
}

TEST(Scheduling, MarkRightThenAgainNextTime) {
    const qint32 today = 40000;
    TMondaiSet card = Card(0, 0, "");
    MarkRight(card, today);
    EXPECT_EQ(card.Jikan, today + 2);
    EXPECT_EQ(card.Seikai, 1);
    EXPECT_EQ(card.Rireki(), R);
    EXPECT_FALSE(IsDue(card, today + 2));
    EXPECT_TRUE(IsDue(card, today + 3));

    MarkRight(card, today + 3);
    EXPECT_EQ(card.Jikan, today + 3 + 27);
    EXPECT_EQ(card.Rireki(), R + R);
}

TEST(Scheduling, HistoryKeepsTheNewestThreeCharacters) {
    TMondaiSet wrong = Card(1, 2, W + W + R);
    MarkWrong(wrong);
    EXPECT_EQ(wrong.Rireki(), W + W + W);
    EXPECT_EQ(wrong.Fuseikai, 3);
    EXPECT_EQ(wrong.Jikan, 0);

    TMondaiSet right = Card(1, 2, W + W + R);
    MarkRight(right, 40000);
    EXPECT_EQ(right.Rireki(), R + W + W);

    // A longer history from a file is cut only by the next mark.
    TMondaiSet longer = Card(1, 0, W + W + W + W + R + R);
    EXPECT_EQ(ComputeInterval(longer), 27);
    MarkWrong(longer);
    EXPECT_EQ(longer.Rireki(), W + W + W);
}

TEST(Scheduling, UndoRightTakesBackTheNewestMark) {
    TMondaiSet card = Card(0, 0, W);
    MarkRight(card, 40000);
    ASSERT_TRUE(UndoRight(card));
    EXPECT_EQ(card.Seikai, 0);
    EXPECT_EQ(card.Rireki(), W);
    EXPECT_EQ(card.Jikan, 0); // due now, not back at its old day

    TMondaiSet wrongFirst = Card(2, 1, W + R);
    ASSERT_TRUE(UndoRight(wrongFirst));
    EXPECT_EQ(wrongFirst.Rireki(), R);

    TMondaiSet none = Card(0, 4, W, 123);
    EXPECT_FALSE(UndoRight(none));
    EXPECT_EQ(none.Jikan, 123);
    EXPECT_EQ(none.Rireki(), W);
}

// A history typed into the list may be quoted; every mark keeps the line reading back as the
// card (dropping the opening quote once left ‹,-1"› behind, which the reader cut at the comma).
TEST(Scheduling, MarksKeepAHandEditedHistoryReadable) {
    const QByteArray typed[] = {"\",-1\"", "\"a\"", "\"", "x\"y", "\",\",\""};
    for (const QByteArray &history : typed) {
        for (int mark = 0; mark < 3; ++mark) {
            TMondaiSet card = Card(1, 1, history);
            mark == 0   ? MarkRight(card, 40000)
            : mark == 1 ? MarkWrong(card)
                        : void(UndoRight(card));
            EXPECT_EQ(ExtractField(RenderCardLine(card), 7), card.Rireki())
                << history.constData() << " mark " << mark;
        }
    }
    TMondaiSet quoted = Card(1, 0, "\",-1\"");
    ASSERT_TRUE(UndoRight(quoted));
    EXPECT_EQ(quoted.Rireki(), "\"-1\"");
    MarkWrong(quoted);
    EXPECT_EQ(quoted.Rireki(), "\"" + W + "-1\"");
}

TEST(Scheduling, ResetMakesEveryCardDueAndKeepsTheRecord) {
    CardOwnerList cards;
    cards.push_back(std::make_unique<TMondaiSet>(Card(3, 1, R + W, 99999)));
    cards.push_back(std::make_unique<TMondaiSet>(Card(0, 2, W, 0)));
    ResetAllTimes(cards);
    EXPECT_EQ(cards[0]->Jikan, 0);
    EXPECT_EQ(cards[0]->Seikai, 3);
    EXPECT_EQ(cards[0]->Fuseikai, 1);
    EXPECT_EQ(cards[0]->Rireki(), R + W);
    EXPECT_EQ(cards[1]->Jikan, 0);
}

TEST(RecordTexts, FormatCountFillsThreeCharacters) {
    EXPECT_EQ(FormatCount(0), "  0");
    EXPECT_EQ(FormatCount(7), "  7");
    EXPECT_EQ(FormatCount(10), " 10");
    EXPECT_EQ(FormatCount(999), "999");
    EXPECT_EQ(FormatCount(1000), "1+");
    EXPECT_EQ(FormatCount(1234), "1+");
}

TEST(RecordTexts, RecordTextShowsQuestionStartAndCounts) {
    const QByteArray counts = QByteArrayLiteral("     \x90\xb3:\x8c\xeb =  2 : 10");
    EXPECT_EQ(RecordText(Card(2, 10, "")), "apple" + counts);

    TMondaiSet longer("abcdefghijklmnopqrst", "", "", 0, 2, 10, "");
    EXPECT_EQ(RecordText(longer), "abcdefghijkl" + counts);

    // 11 half-width bytes and a kanji: the kanji would be cut in half, so it is left out.
    TMondaiSet mixed("abcdefghijk" + R + "z", "", "", 0, 2, 10, "");
    EXPECT_EQ(RecordText(mixed), "abcdefghijk" + counts);
}

TEST(RecordTexts, DaysTextShowsDaysOnlyAfterADoneMark) {
    const QByteArray suffix = QByteArrayLiteral("\x93\xfa\x8c\xe3] ");
    const TMondaiSet card = Card(1, 0, R, 40027);
    EXPECT_EQ(DaysText(card, true, 40000), "27" + suffix);
    EXPECT_EQ(DaysText(card, false, 40000), "0" + suffix);
}

} // namespace
