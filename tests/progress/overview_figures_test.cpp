#include "progress/overview_figures.h"

#include "drill/day_number.h"

#include <gtest/gtest.h>

#include <numeric>

namespace {

const qint32 kToday = DayNumberOf(QDate(2026, 12, 9));

class DeckFiguresTest : public ::testing::Test {
protected:
    CardOwnerList cards;

    const TMondaiSet *Add(qint64 jikan, qint32 right, qint32 wrong, const char *question = "q") {
        cards.push_back(
            std::make_unique<TMondaiSet>(question, "a", "", qint32(jikan), right, wrong, ""));
        return cards.back().get();
    }
};

TEST_F(DeckFiguresTest, CountsTodayForecastAndRestsOfAKnownDeck) {
    Add(0, 0, 0);                          // new
    Add(kToday - 1, 1, 0);                 // due from today: due, not overdue
    Add(kToday - 11, 2, 3);                // waited 10 days
    Add(kToday - 4, 0, 5);                 // waited 3 days
    Add(0, 0, 1);                          // passed once: due, answered
    Add(kToday, 1, 1);                     // tomorrow, Dec 10
    Add(kToday + 21, 1, 0);                // Dec 31, last day of this month
    Add(kToday + 22, 1, 0);                // Jan 1
    Add(kToday + 29, 1, 0);                // Jan 8, 30 days ahead
    Add(kToday + 30, 1, 0);                // Jan 9, past the daily forecast
    Add(MonthStart(kToday, 12) - 2, 1, 0); // 2027-11-30, last day of the twelfth month
    Add(MonthStart(kToday, 12) - 1, 1, 0); // 2027-12-01, past the monthly forecast
    Add(2147483647, 3, 0);                 // pushed centuries away

    const DeckFigures f = ComputeDeckFigures(cards, kToday);
    EXPECT_EQ(f.cards, 13);
    EXPECT_EQ(f.dueNow, 5);
    EXPECT_EQ(f.overdue, 2);
    EXPECT_EQ(f.overdueMostDays, 10);
    EXPECT_DOUBLE_EQ(f.OverdueMeanDays(), 6.5);
    EXPECT_EQ(f.neverAnswered, 1);
    EXPECT_EQ(f.totalRight, 13);
    EXPECT_EQ(f.totalWrong, 10);
    EXPECT_DOUBLE_EQ(f.ShareRight(), 13.0 / 23.0);

    std::array<qint64, DeckFigures::kForecastDays> days{};
    days[0] = 1;  // Dec 10
    days[21] = 1; // Dec 31
    days[22] = 1; // Jan 1
    days[29] = 1; // Jan 8
    EXPECT_EQ(f.byDay, days);
    std::array<qint64, DeckFigures::kForecastMonths> months{};
    months[0] = 2;  // Dec 10, Dec 31
    months[1] = 3;  // Jan 1, 8, 9
    months[11] = 1; // Nov 30
    EXPECT_EQ(f.byMonth, months);

    std::array<qint64, DeckFigures::kRestBuckets> rests{};
    rests[1] = 1;  // 1 day
    rests[5] = 4;  // 22, 23, 30 and 31 days
    rests[9] = 2;  // 356, 357 days
    rests[31] = 1; // centuries
    EXPECT_EQ(f.rests, rests);
}

TEST(MonthStartTest, StepsOverYearEndsAndMonthLengths) {
    struct Case {
        QDate day;
        int months;
        QDate first;
    } cases[] = {
        {{2026, 12, 9}, 0, {2026, 12, 1}},   {{2026, 12, 9}, 1, {2027, 1, 1}},
        {{2027, 1, 31}, 1, {2027, 2, 1}},    {{2028, 2, 29}, 12, {2029, 2, 1}},
        {{2026, 12, 31}, 12, {2027, 12, 1}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MonthStart(DayNumberOf(c.day), c.months), DayNumberOf(c.first))
            << c.day.toString(Qt::ISODate).toStdString() << " + " << c.months;
}

TEST(RestBucketTest, DoublesPerBucket) {
    const std::pair<qint64, int> cases[] = {
        {1, 1}, {2, 2},  {3, 2},       {4, 3}, {7, 3},
        {8, 4}, {27, 5}, {262144, 19}, {0, 1}, {qint64(1) << 40, 32}};
    for (const auto &[days, bucket] : cases)
        EXPECT_EQ(RestBucket(days), bucket) << days;
}

TEST_F(DeckFiguresTest, HardestCardsRankByWrongThenShareThenDeckOrder) {
    Add(0, 9, 0, "never wrong");
    Add(0, 0, 2, "two wrong, none right");
    Add(0, 4, 5, "five wrong, share 4/9");
    Add(0, 1, 5, "five wrong, share 1/6");
    Add(0, 1, 2, "two wrong, share 1/3 (first)");
    Add(0, 1, 2, "two wrong, share 1/3 (second)");
    const DeckFigures f = ComputeDeckFigures(cards, kToday);
    std::vector<std::string> names;
    std::vector<qsizetype> rows;
    for (const HardCard &hard : f.hardest) {
        names.push_back(hard.card->Mondai().toStdString());
        rows.push_back(hard.index);
    }
    EXPECT_EQ(names, (std::vector<std::string>{
                         "five wrong, share 1/6", "five wrong, share 4/9", "two wrong, none right",
                         "two wrong, share 1/3 (first)", "two wrong, share 1/3 (second)"}));
    EXPECT_EQ(rows, (std::vector<qsizetype>{3, 2, 1, 4, 5}));
}

TEST_F(DeckFiguresTest, HardestCardsKeepOnlyTwentyOfALargeDeck) {
    for (int i = 0; i < 1000; ++i)
        Add(0, 0, (i * 7919) % 1000 + 1); // every wrong count 1..1000 once
    const DeckFigures f = ComputeDeckFigures(cards, kToday);
    ASSERT_EQ(f.hardest.size(), 20u);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(f.hardest[std::size_t(i)].card->Fuseikai, 1000 - i);
}

TEST(HistoryFiguresTest, TodayReviewsCalendarAndStreak) {
    ReviewHistory history;
    auto add = [&history](qint32 day, AnswerKind kind, int times) {
        for (int i = 0; i < times; ++i)
            history.Add({day, 0, kind, 0, 0, 0});
    };
    add(kToday, AnswerKind::Right, 3);
    add(kToday, AnswerKind::TakenBack, 1);
    add(kToday, AnswerKind::Wrong, 2);
    add(kToday - 1, AnswerKind::Wrong, 1);
    add(kToday - 2, AnswerKind::Right, 1);
    add(kToday - 4, AnswerKind::Right, 5); // a gap on day -3 ends the streak
    add(kToday - 400, AnswerKind::Right, 1);
    HistoryFigures f = ComputeHistoryFigures(history, kToday);
    EXPECT_EQ(f.today.RightKept(), 2);
    EXPECT_EQ(f.today.wrong, 2);
    EXPECT_EQ(f.streak, 3);
    EXPECT_EQ(f.reviews[HistoryFigures::kDays - 1], 4);
    EXPECT_EQ(f.reviews[HistoryFigures::kDays - 5], 5);
    EXPECT_EQ(std::accumulate(f.reviews.begin(), f.reviews.end(), 0), 4 + 1 + 1 + 5);

    // Before the first review of the day the streak still counts up to yesterday.
    f = ComputeHistoryFigures(history, kToday + 1);
    EXPECT_EQ(f.streak, 3);
    EXPECT_EQ(ComputeHistoryFigures(history, kToday + 2).streak, 0);
}

} // namespace
