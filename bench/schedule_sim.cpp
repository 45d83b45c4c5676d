// A simulated learner drilling 1,000 cards for a year, scheduled by the standard rule and by the
// memory model at several desired retentions. Prints reviews per day and recall at review.
//
// The learner's true memory is not the model's: recall after t days is 0.9^(t / S) (an
// exponential curve, where the model assumes a power law), with a true stability S per card.
// A new card is learned at first sight (passed once, then できた). On a review the learner
// recalls with that probability; a success multiplies S by 1 + e · (1.2 + 4 (1 - R)), where e,
// the card's ease, is drawn once per card from 0.4..1.6, so that reviews near forgetting help
// most; a failure cuts S to a third (at least half a day) and the card is passed, then answered
// the same day. The program's own functions give the due days (MarkRight for the standard rule,
// MemoryModel for the model); at most 20 new cards a day; fixed seed.
#include "drill/scheduling.h"
#include "progress/memory_model.h"

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

namespace {

constexpr int kCards = 1000;
constexpr int kDays = 365;
constexpr int kNewPerDay = 20;
constexpr qint32 kFirstDay = 46000;
constexpr unsigned kSeed = 20261210;

struct Learner {
    double stability = 0;
    double ease = 1;
    qint32 lastDay = 0;
    bool seen = false;
};

struct Outcome {
    double reviewsPerDay = 0;
    double recallAtReview = 0;
    double retainedAtEnd = 0; // mean true recall of all seen cards on the last day
};

Outcome Simulate(MemoryModel *model) {
    std::mt19937 rng(kSeed);
    std::uniform_real_distribution<double> uniform(0, 1);
    std::lognormal_distribution<double> firstStability(std::log(1.5), 0.5);
    CardOwnerList cards;
    std::vector<Learner> learners(kCards);
    for (int i = 0; i < kCards; ++i) {
        cards.push_back(std::make_unique<TMondaiSet>(QByteArray("q") + QByteArray::number(i),
                                                     QByteArray("a") + QByteArray::number(i), "", 0,
                                                     0, 0, ""));
        learners[std::size_t(i)].ease = 0.4 + 1.2 * uniform(rng);
    }
    auto answer = [&](TMondaiSet &card, bool right, qint32 day) {
        const qint32 dueBefore = card.Jikan;
        if (right) {
            MarkRight(card, day);
            if (model)
                card.Jikan = model->DueAfter(card, AnswerKind::Right, day, dueBefore);
        } else {
            MarkWrong(card);
            if (model)
                card.Jikan = model->DueAfter(card, AnswerKind::Wrong, day, dueBefore);
        }
        if (model)
            model->Answered(card, right ? AnswerKind::Right : AnswerKind::Wrong, day, dueBefore);
    };
    qint64 reviews = 0, recalled = 0, firstTries = 0;
    for (qint32 day = kFirstDay; day < kFirstDay + kDays; ++day) {
        int newToday = 0;
        for (int i = 0; i < kCards; ++i) {
            TMondaiSet &card = *cards[std::size_t(i)];
            Learner &learner = learners[std::size_t(i)];
            if (!IsDue(card, day))
                continue;
            if (!learner.seen) {
                if (newToday == kNewPerDay)
                    continue;
                ++newToday;
                learner = {firstStability(rng), learner.ease, day, true};
                answer(card, false, day);
                answer(card, true, day);
                reviews += 2;
                continue;
            }
            const double recall = std::pow(0.9, (day - learner.lastDay) / learner.stability);
            const bool right = uniform(rng) < recall;
            ++firstTries;
            if (right) {
                ++recalled;
                learner.stability *= 1 + learner.ease * (1.2 + 4 * (1 - recall));
            } else {
                learner.stability = std::max(0.5, learner.stability / 3);
                answer(card, false, day);
                ++reviews;
            }
            learner.lastDay = day;
            answer(card, true, day);
            ++reviews;
        }
    }
    Outcome outcome;
    outcome.reviewsPerDay = double(reviews) / kDays;
    outcome.recallAtReview = firstTries ? double(recalled) / double(firstTries) : 0;
    double retained = 0;
    int seen = 0;
    for (const Learner &learner : learners) {
        if (!learner.seen)
            continue;
        ++seen;
        retained += std::pow(0.9, (kFirstDay + kDays - 1 - learner.lastDay) / learner.stability);
    }
    outcome.retainedAtEnd = seen ? retained / seen : 0;
    return outcome;
}

void Print(const char *name, const Outcome &o) {
    std::printf("| %s | %.1f | %.1f %% | %.1f %% |\n", name, o.reviewsPerDay,
                o.recallAtReview * 100, o.retainedAtEnd * 100);
}

} // namespace

int main() {
    std::printf("| rule | answers per day | recall at review | recall of every card, day 365 |\n");
    std::printf("|---|---|---|---|\n");
    Print("標準", Simulate(nullptr));
    for (const double retention : {0.80, 0.90, 0.95}) {
        MemoryModel model;
        model.SetRetention(retention);
        char name[32];
        std::snprintf(name, sizeof name, "記憶モデル %.0f %%", retention * 100);
        Print(name, Simulate(&model));
    }
    return 0;
}
