#pragma once

#include "deck/deck.h"
#include "progress/review_log.h"

#include <array>
#include <vector>

// A card among the hardest: its place in the deck and its record.
struct HardCard {
    const TMondaiSet *card = nullptr;
    qsizetype index = 0; // CardList index
};

// Where the deck stands today, from the cards' learning records alone.
struct DeckFigures {
    static constexpr int kForecastDays = 30;
    static constexpr int kForecastMonths = 12;
    static constexpr int kRestBuckets = 33; // bucket b: rests of [2^(b-1), 2^b) days
    static constexpr int kHardest = 20;

    qint32 today = 0;
    qint64 cards = 0;
    qint64 dueNow = 0;
    qint64 overdue = 0;          // due on an earlier day than today
    qint64 overdueMostDays = 0;  // how long the oldest of them has waited
    qint64 overdueTotalDays = 0; // summed, for the mean
    qint64 neverAnswered = 0;
    // Cards falling due on today + 1 + i, and in the calendar month i after this one
    // (0: the rest of this month).
    std::array<qint64, kForecastDays> byDay{};
    std::array<qint64, kForecastMonths> byMonth{};
    qint64 totalRight = 0;
    qint64 totalWrong = 0;
    // Days until each waiting card is asked again, on a log scale.
    std::array<qint64, kRestBuckets> rests{};
    // Most wrong answers first, then the lowest share right, then deck order.
    std::vector<HardCard> hardest;

    double ShareRight() const; // 0..1; 0 without answers
    double OverdueMeanDays() const;
};

// The first day of the calendar month `months` after the one holding `day`.
qint32 MonthStart(qint32 day, int months);
// The log-scale bucket of a rest of `days` (>= 1).
int RestBucket(qint64 days);

// One pass over the deck.
DeckFigures ComputeDeckFigures(const CardOwnerList &cards, qint32 today);

// What the review log says about the days up to today.
struct HistoryFigures {
    static constexpr int kDays = 365;
    DayTally today;
    std::array<qint32, kDays> reviews{}; // [kDays - 1] is today
    // Days in a row with reviews, up to today (or up to yesterday while today has none yet).
    int streak = 0;
};

HistoryFigures ComputeHistoryFigures(const ReviewHistory &history, qint32 today);
