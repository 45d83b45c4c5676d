// Parsing and rendering generated decks of 10k, 100k and 1M cards.
#include "bench_decks.h"
#include "deck/deck.h"

#include <benchmark/benchmark.h>

namespace {

void SetBytes(benchmark::State &state, qsizetype bytes) {
    state.SetBytesProcessed(qint64(state.iterations()) * bytes);
    state.counters["cards"] = double(state.range(0));
}

// File bytes to lines: what reading does after the file is in memory.
void BM_SplitLines(benchmark::State &state) {
    const QByteArray &bytes = bench::CachedDeckBytes(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(DeckLines::FromFileBytes(bytes));
    SetBytes(state, bytes.size());
}

void BM_ParseDeck(benchmark::State &state) {
    const QByteArray &bytes = bench::CachedDeckBytes(state.range(0));
    Deck deck;
    deck.SetSavedLines(DeckLines::FromFileBytes(bytes));
    CardRefList queue;
    for (auto _ : state) {
        ParseDeck(deck, bench::kToday, queue);
        benchmark::DoNotOptimize(queue.data());
    }
    SetBytes(state, bytes.size());
}

// The deck as it stands right after opening it.
void LoadParsedDeck(Deck &deck, const QByteArray &bytes) {
    deck.SetSavedLines(DeckLines::FromFileBytes(bytes));
    CardRefList queue;
    ParseDeck(deck, bench::kToday, queue);
}

void BM_RenderDeckLines(benchmark::State &state) {
    const QByteArray &bytes = bench::CachedDeckBytes(state.range(0));
    Deck deck;
    LoadParsedDeck(deck, bytes);
    for (auto _ : state) {
        RenderDeckLines(deck);
        benchmark::DoNotOptimize(deck.RenderedLines().Bytes().constData());
    }
    SetBytes(state, bytes.size());
}

void BM_IsDeckChanged(benchmark::State &state) {
    const QByteArray &bytes = bench::CachedDeckBytes(state.range(0));
    Deck deck;
    LoadParsedDeck(deck, bytes);
    for (auto _ : state)
        benchmark::DoNotOptimize(IsDeckChanged(deck));
    SetBytes(state, bytes.size());
}

void Sizes(benchmark::internal::Benchmark *b) {
    b->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_SplitLines)->Apply(Sizes);
BENCHMARK(BM_ParseDeck)->Apply(Sizes);
BENCHMARK(BM_RenderDeckLines)->Apply(Sizes);
BENCHMARK(BM_IsDeckChanged)->Apply(Sizes);

BENCHMARK_MAIN();
