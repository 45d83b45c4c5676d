#include "progress/review_recorder.h"
#include "support/drill_state.h"

#include "../drill/drill_fixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ReviewLogKeyTest, WideKeysAndNewCardMarksReadBackAndOlderKeysStillRead) {
    struct Case {
        const char *name;
        QByteArray key;
        bool read;
        quint64 cardKey;
        bool wide, newCard;
    } cases[] = {
        {"older 32-bit key", "1a2b3c4d", true, 0x1a2b3c4d, false, false},
        {"64-bit key", "0123456789abcdef", true, 0x0123456789abcdefull, true, false},
        {"64-bit key of a new card", "0123456789abcdef+", true, 0x0123456789abcdefull, true, true},
        {"12 digits", "0123456789ab", false, 0, false, false},
        {"17 digits", "0123456789abcdef0", false, 0, false, false},
        {"mark alone", "+", false, 0, false, false},
        {"upper case", "0123456789ABCDEF", false, 0, false, false},
    };
    for (const Case &c : cases) {
        std::vector<ReviewEntry> read;
        const ReviewHistory history =
            ParseReviewLog("2026-12-08 10:00:00 R 0 1 " + c.key + "\n",
                           [&read](const ReviewEntry &entry) { read.push_back(entry); });
        ASSERT_EQ(read.size(), c.read ? 1u : 0u) << c.name;
        if (!c.read)
            continue;
        EXPECT_EQ(read[0].cardKey, c.cardKey) << c.name;
        EXPECT_EQ(read[0].wideKey, c.wide) << c.name;
        EXPECT_EQ(read[0].newCard, c.newCard) << c.name;
        EXPECT_EQ(FormatReviewLine(read[0]), "2026-12-08 10:00:00 R 0 1 " + c.key + "\n") << c.name;
        EXPECT_EQ(history.Day(read[0].day).newCards, c.newCard ? 1 : 0) << c.name;
    }
}

TEST(ReviewLogKeyTest, WideKeysKeepTheOlderKeyAsTheirLowHalf) {
    const TMondaiSet card("dog", "inu", "", 0, 0, 0, "");
    EXPECT_EQ(ReviewCardKey64(card) & 0xffffffffu, ReviewCardKey(card));
    EXPECT_NE(ReviewCardKey64(card) >> 32, 0u);
    EXPECT_NE(ReviewCardKey64(TMondaiSet("dog", "neko", "", 0, 0, 0, "")) >> 32,
              ReviewCardKey64(card) >> 32);
}

// The count from the log's end is what the whole log says of the day, for any day at or after
// the last earlier one.
TEST(ReviewLogKeyTest, NewCardsCountedFromTheEndAgreeWithTheWholeLog) {
    const QByteArray log = "# Kardeon review log of deck.csv\n"
                           "2026-12-06 09:00:00 R 0 1 0000000000000001+\n"
                           "2026-12-07 09:00:00 R 0 1 00000001+\n"
                           "2026-12-08 10:00:00 R 0 1 0000000000000002+\n"
                           "2026-12-08 10:01:00 W 0 0 0000000000000003+\n"
                           "garbage\r\n"
                           "2026-12-08 10:02:00 U 0 0 0000000000000003+\n"
                           "\n"
                           "2026-12-08 10:03:00 R 5 9 0000000000000004\n"
                           "2026-12-08 10:04:00 W 0 0 0000000000000005+\r\n"
                           "2026-12-08 10:05:00 R 0 1 0000000000000006+"; // cut off
    const ReviewHistory whole = ParseReviewLog(log);
    const qint32 dec8 = DayNumberOf(QDate(2026, 12, 8));
    struct Case {
        qint32 day;
        qint64 newCards;
    } cases[] = {{dec8 - 1, 1}, {dec8, 2}, {dec8 + 1, 0}};
    for (const Case &c : cases) {
        EXPECT_EQ(NewCardsAtEnd(log, c.day), c.newCards) << c.day - dec8;
        EXPECT_EQ(whole.Day(c.day).newCards, c.newCards) << c.day - dec8;
    }
    EXPECT_EQ(NewCardsAtEnd("", dec8), 0);
    EXPECT_EQ(NewCardsAtEnd("2026-12-08 10:00:00 R 0 1 0000000000000002+\n", dec8), 1);
}

// A deck with one card seen before (O) and five new ones, opened on several days and after
// restarts; the recorder is made anew for each opening, as a new run of the program would.
class NewCardLimitTest : public DrillFixture {
protected:
    QTemporaryDir dir;
    qint32 day = kToday;
    std::unique_ptr<ReviewRecorder> recorder;
    Drill dayDrill{deck, host, [this] { return day; }};

    NewCardLimitTest() {
        deck.AddCard(std::make_unique<TMondaiSet>("O", "a", "", 0, 2, 1, ""));
        AddDue({"N1", "N2", "N3", "N4", "N5"});
        deck.SetFileName(dir.filePath(QStringLiteral("deck.csv")));
        host.drill = &dayDrill;
    }
    std::string Open(int limit) {
        dayDrill.SetAnswerObserver(nullptr);
        recorder = std::make_unique<ReviewRecorder>(
            deck, [this] { return day; },
            [this](const QString &) { return dir.filePath(QStringLiteral("deck.log")); });
        recorder->SetNewCardsPerDay(limit);
        dayDrill.SetAnswerObserver(recorder.get());
        dayDrill.SetNewCardAllowance(recorder.get());
        CardRefList due;
        for (const auto &card : deck.Cards())
            if (IsDue(*card, day))
                due.push_back(card.get());
        dayDrill.TakeDueCards(std::move(due));
        dayDrill.StartNewDeck();
        return Names(dayDrill.Queue());
    }
    void Pass() {
        dayDrill.GoNext();
        dayDrill.GoNext();
    }
    void Right() {
        dayDrill.GoNext();
        dayDrill.GoDone();
    }
};

TEST_F(NewCardLimitTest, EachDayBringsAtMostTheLimitAcrossRestarts) {
    EXPECT_EQ(Open(2), "O N1 N2");
    Pass();  // O: not new
    Right(); // N1: the first new card of the day
    dayDrill.GoNext();
    EXPECT_EQ(recorder->NewCardsShown(day), 1);
    EXPECT_EQ(Open(2), "O N2"); // restarted the same day: one new card left
    Pass();
    Right();           // N2
    dayDrill.GoUndo(); // taken back: N2 is new again and gives its place back
    EXPECT_EQ(Open(2), "O N2");
    Pass();
    Pass(); // N2 passed: shown, no longer new
    EXPECT_EQ(Open(2), "O N2");
    EXPECT_EQ(recorder->NewCardsShown(day), 2);
    day += 1;
    EXPECT_EQ(Open(2), "O N2 N3 N4");
    EXPECT_EQ(Open(0), "O N2 N3 N4 N5"); // no limit: today's behaviour
}

TEST_F(NewCardLimitTest, StartingAgainAndRandomOrderKeepTheLimit) {
    DrillStateForTests::SetJyun(dayDrill, 1);
    const std::string opened = Open(1);
    EXPECT_TRUE(opened == "O N1" || opened == "N1 O") << opened;
    dayDrill.ResetAll();
    EXPECT_EQ(Names(dayDrill.Queue()), "O N1");
}

} // namespace
