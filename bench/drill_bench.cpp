// The drill's commands on a deck of a million cards, every one of them due.
#include "bench_decks.h"
#include "drill/drill.h"

#include <benchmark/benchmark.h>

namespace {

constexpr qint32 kToday = 45000;
constexpr int kCards = 1'000'000;

// A window that redraws nothing but reads what every redraw reads of the drill.
class CountingHost : public bench::QuietHost {
public:
    Drill *drill = nullptr;
    qsizetype shown = 0;
    void RefreshView() override { shown += drill->CurrentCardNumber(); }
};

struct BigDrill {
    Deck deck;
    CountingHost host;
    Drill drill{deck, host, FixedDayClock(kToday)};

    BigDrill(DisplayPatternKind pattern, int jyun) {
        host.drill = &drill;
        for (int i = 0; i < kCards; ++i) {
            deck.AddCard(std::make_unique<TMondaiSet>("question " + QByteArray::number(i), "answer",
                                                      "", i % 7 == 0 ? 0 : kToday - 1, i % 5, i % 3,
                                                      QByteArrayLiteral("\x8c\xeb")));
        }
        drill.SetRandomEngine(std::mt19937(12345));
        drill.ApplySettings({jyun, pattern, 5, DrillDirection::QuestionFirst});
        drill.BuildQueueNormal();
        drill.StartNewDeck();
    }
};

void BM_GoNext(benchmark::State &state) {
    BigDrill big(PatternList, int(state.range(0)));
    for (auto _ : state)
        big.drill.GoNext();
    benchmark::DoNotOptimize(big.host.shown);
}
BENCHMARK(BM_GoNext)->Arg(0)->Arg(1)->ArgName("random")->Unit(benchmark::kMicrosecond);

void BM_GoNextMainPattern(benchmark::State &state) {
    BigDrill big(PatternMain, 0);
    for (auto _ : state)
        big.drill.GoNext(); // reveal, then move on
    benchmark::DoNotOptimize(big.host.shown);
}
BENCHMARK(BM_GoNextMainPattern)->Unit(benchmark::kMicrosecond);

// できた on the first card of the queue: the costliest place to take a card out.
void BM_GoDone(benchmark::State &state) {
    BigDrill big(PatternList, int(state.range(0)));
    for (auto _ : state) {
        big.drill.GoDone();
        state.PauseTiming();
        big.drill.GoNext();
        state.ResumeTiming();
    }
    benchmark::DoNotOptimize(big.host.shown);
}
BENCHMARK(BM_GoDone)->Arg(0)->Arg(1)->ArgName("random")->Unit(benchmark::kMicrosecond);

void BM_BuildQueueNormal(benchmark::State &state) {
    BigDrill big(PatternMain, 0);
    for (auto _ : state) {
        big.drill.BuildQueueNormal();
        benchmark::DoNotOptimize(big.drill.Queue().data());
    }
}
BENCHMARK(BM_BuildQueueNormal)->Unit(benchmark::kMillisecond);

void BM_ShuffleQueue(benchmark::State &state) {
    BigDrill big(PatternMain, 0);
    for (auto _ : state) {
        big.drill.ShuffleQueue();
        benchmark::DoNotOptimize(big.drill.Queue().data());
    }
}
BENCHMARK(BM_ShuffleQueue)->Unit(benchmark::kMillisecond);

// The redraw's counter in random order, where the next card is anywhere in the deck.
void BM_CurrentCardNumberRandom(benchmark::State &state) {
    BigDrill big(PatternList, 1);
    std::size_t i = 0;
    for (auto _ : state) {
        const TMondaiSet *card = big.drill.Queue()[i++ % big.drill.Queue().size()];
        benchmark::DoNotOptimize(big.drill.CardNumber(card));
    }
}
BENCHMARK(BM_CurrentCardNumberRandom)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
