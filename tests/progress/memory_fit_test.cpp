#include "progress/memory_fit.h"

#include <random>

#include <gtest/gtest.h>

namespace {

using namespace fsrs;

// A learner whose memory follows the model with parameters unlike the defaults: answers drawn
// from the recall those parameters predict, reviews spread around the 85 % interval.
FitData SyntheticLog(const Parameters &truth, int cards, int reviewsPerCard, unsigned seed) {
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> uniform(0, 1);
    FitData data;
    for (int c = 0; c < cards; ++c) {
        const quint64 key = (quint64(c) * 0x9e3779b97f4a7c15ull) | 1;
        qint32 day = 46000;
        data.Add({day, 0, AnswerKind::Right, 0, 0, key, true, false});
        Memory memory = FirstMemory(truth, Good);
        for (int r = 0; r < reviewsPerCard; ++r) {
            const qint32 elapsed = std::max<qint32>(
                1, qint32(IntervalFor(memory.stability, 0.85) * (0.5 + uniform(rng))));
            day += elapsed;
            const bool right = uniform(rng) < Recall(elapsed, memory.stability);
            data.Add(
                {day, 0, right ? AnswerKind::Right : AnswerKind::Wrong, 0, 0, key, true, false});
            memory = NextMemory(truth, memory, elapsed, right ? Good : Again);
        }
    }
    return data;
}

Parameters Truth() {
    Parameters w = DefaultParameters();
    w[2] = 12.0; // first Good lasts much longer
    w[8] = 0.8;  // recalls strengthen less
    w[11] = 0.8; // lapses cost more
    return w;
}

TEST(MemoryFitTest, FittingASyntheticLogBeatsTheDefaultsOnTheHeldOutFifth) {
    const FitData data = SyntheticLog(Truth(), 250, 8, 7);
    ASSERT_GE(data.TrainReviews(), kMinFitReviews);
    EXPECT_GT(data.TestReviews(), 200);
    int calls = 0;
    const std::optional<FitReport> report =
        FitParameters(data, DefaultParameters(), [&calls](double) { return ++calls > 0; });
    ASSERT_TRUE(report);
    EXPECT_GT(calls, 10);
    EXPECT_TRUE(report->Better());
    EXPECT_LT(report->fitted.logLoss, report->defaults.logLoss - 0.01);
    EXPECT_LT(report->fitted.rmse, report->defaults.rmse);
    // The truth itself scores no worse than the fit by more than noise.
    EXPECT_GT(report->fitted.logLoss, data.Score(Truth(), true).logLoss - 0.05);
}

TEST(MemoryFitTest, TooFewReviewsOrACancelGiveNothing) {
    EXPECT_FALSE(FitParameters(SyntheticLog(Truth(), 20, 8, 1), DefaultParameters(), {}));
    int calls = 0;
    EXPECT_FALSE(FitParameters(SyntheticLog(Truth(), 250, 8, 2), DefaultParameters(),
                               [&calls](double) { return ++calls < 3; }));
    EXPECT_EQ(calls, 3);
}

TEST(MemoryFitTest, TakeBacksAndSameDayAnswersAreNoPredictions) {
    FitData data;
    const quint64 key = 0x1234567890abcdefull;
    auto add = [&](qint32 day, AnswerKind kind) {
        data.Add({day, 0, kind, 0, 0, key, true, false});
    };
    add(100, AnswerKind::Right);
    add(103, AnswerKind::Right);
    add(103, AnswerKind::TakenBack); // the day-103 answer is gone
    add(103, AnswerKind::Wrong);     // a prediction: 3 days after day 100
    add(103, AnswerKind::Right);     // same day: none
    add(110, AnswerKind::Right);     // a prediction
    EXPECT_EQ(data.TrainReviews() + data.TestReviews(), 2);
}

TEST(MemoryFitTest, ParametersTextReadsBackAndRejectsDamage) {
    const Parameters w = Truth();
    const std::optional<Parameters> back = ParametersFromText(ParametersText(w));
    ASSERT_TRUE(back);
    for (int i = 0; i < kParameterCount; ++i)
        EXPECT_NEAR((*back)[std::size_t(i)], w[std::size_t(i)], 1e-5 * w[std::size_t(i)]);
    const QByteArray good = ParametersText(w);
    for (const QByteArray &bad : {QByteArray(), QByteArray("1,2,3"), good + ",1",
                                  QByteArray("999") + good.mid(good.indexOf(',')),
                                  QByteArray("nan") + good.mid(good.indexOf(','))})
        EXPECT_FALSE(ParametersFromText(bad)) << bad.constData();
}

} // namespace
