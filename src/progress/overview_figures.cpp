#include "progress/overview_figures.h"

#include "drill/scheduling.h"

#include <QDate>

#include <algorithm>
#include <bit>

namespace {

const QDate kDayZero(1899, 12, 30);

// True when `a` is harder than `b`.
bool Harder(const HardCard &a, const HardCard &b) {
    const qint64 aWrong = a.card->Fuseikai, bWrong = b.card->Fuseikai;
    if (aWrong != bWrong)
        return aWrong > bWrong;
    // Lower share right: aRight / aTotal < bRight / bTotal, without division.
    const qint64 aRight = std::max<qint64>(a.card->Seikai, 0);
    const qint64 bRight = std::max<qint64>(b.card->Seikai, 0);
    const qint64 lhs = aRight * (bRight + bWrong), rhs = bRight * (aRight + aWrong);
    if (lhs != rhs)
        return lhs < rhs;
    return a.index < b.index;
}

// Keeps the `limit` hardest cards seen; the heap's top is the least hard of them.
class HardestKeeper {
public:
    explicit HardestKeeper(std::size_t limit) : limit_(limit) { kept_.reserve(limit + 1); }
    void Offer(const TMondaiSet *card, qsizetype index) {
        if (card->Fuseikai <= 0)
            return;
        const HardCard candidate{card, index};
        if (kept_.size() == limit_) {
            if (!Harder(candidate, kept_.front()))
                return;
            std::pop_heap(kept_.begin(), kept_.end(), Harder);
            kept_.pop_back();
        }
        kept_.push_back(candidate);
        std::push_heap(kept_.begin(), kept_.end(), Harder);
    }
    std::vector<HardCard> Sorted() {
        std::sort(kept_.begin(), kept_.end(), Harder);
        return std::move(kept_);
    }

private:
    std::size_t limit_;
    std::vector<HardCard> kept_;
};

} // namespace

double DeckFigures::ShareRight() const {
    const qint64 answers = totalRight + totalWrong;
    return answers > 0 ? double(totalRight) / double(answers) : 0.0;
}

double DeckFigures::OverdueMeanDays() const {
    return overdue > 0 ? double(overdueTotalDays) / double(overdue) : 0.0;
}

qint32 MonthStart(qint32 day, int months) {
    const QDate date = kDayZero.addDays(day);
    const QDate first = QDate(date.year(), date.month(), 1).addMonths(months);
    return qint32(kDayZero.daysTo(first));
}

int RestBucket(qint64 days) {
    const int bucket = std::bit_width(quint64(std::max<qint64>(days, 1)));
    return std::min(bucket, DeckFigures::kRestBuckets - 1);
}

DeckFigures ComputeDeckFigures(const CardOwnerList &cards, qint32 today) {
    DeckFigures f;
    f.today = today;
    f.cards = qint64(cards.size());
    // Month boundaries: a card due on day d falls in month m when starts[m] <= d < starts[m + 1].
    std::array<qint64, DeckFigures::kForecastMonths + 1> starts{};
    for (int m = 0; m <= DeckFigures::kForecastMonths; ++m)
        starts[std::size_t(m)] = MonthStart(today, m);
    starts[0] = qint64(today) + 1;
    HardestKeeper hardest(DeckFigures::kHardest);
    qsizetype index = 0;
    for (const auto &owned : cards) {
        const TMondaiSet &card = *owned;
        f.totalRight += card.Seikai;
        f.totalWrong += card.Fuseikai;
        if (card.Seikai == 0 && card.Fuseikai == 0)
            ++f.neverAnswered;
        const qint64 dueDay = qint64(card.Jikan) + 1; // the first day it is asked again
        if (IsDue(card, today)) {
            ++f.dueNow;
            if (card.Jikan > 0 && dueDay < today) {
                const qint64 waited = today - dueDay;
                ++f.overdue;
                f.overdueTotalDays += waited;
                f.overdueMostDays = std::max(f.overdueMostDays, waited);
            }
        } else {
            const qint64 ahead = dueDay - today; // >= 1
            if (ahead <= DeckFigures::kForecastDays)
                ++f.byDay[std::size_t(ahead - 1)];
            if (dueDay < starts.back()) {
                const auto month =
                    std::upper_bound(starts.begin(), starts.end(), dueDay) - starts.begin() - 1;
                ++f.byMonth[std::size_t(month)];
            }
            ++f.rests[std::size_t(RestBucket(ahead))];
        }
        hardest.Offer(&card, index++);
    }
    f.hardest = hardest.Sorted();
    return f;
}

HistoryFigures ComputeHistoryFigures(const ReviewHistory &history, qint32 today) {
    HistoryFigures f;
    f.today = history.Day(today);
    for (int i = 0; i < HistoryFigures::kDays; ++i)
        f.reviews[std::size_t(i)] = history.Day(today - (HistoryFigures::kDays - 1) + i).Reviews();
    qint32 day = f.today.Reviews() > 0 ? today : today - 1;
    while (history.Day(day).Reviews() > 0) {
        ++f.streak;
        --day;
    }
    return f;
}
