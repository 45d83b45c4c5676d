// Merging two versions of a generated deck that each changed a thousand cards, against one open
// (split and parse) of the same deck.
#include "bench_decks.h"
#include "deck/deck.h"
#include "deck/deck_merge.h"

#include <benchmark/benchmark.h>

namespace {

constexpr int kChanges = 1000;

void Parse(const QByteArray &bytes, CardOwnerList &cards) {
    Deck deck;
    deck.SetSavedLines(DeckLines::FromFileBytes(bytes));
    CardRefList queue;
    ParseDeck(deck, bench::kToday, queue);
    cards = deck.ReplaceCards({});
}

// Half the changes answer a card, a quarter edit an answer, a quarter insert a card; the two
// sides change different cards.
void Change(CardOwnerList &cards, int side) {
    const size_t step = cards.size() / kChanges;
    for (int i = kChanges - 1; i >= 0; --i) {
        const size_t at = size_t(i) * step + size_t(side) * step / 2;
        TMondaiSet &card = *cards[at];
        if (i % 2 == 0) {
            ++card.Seikai;
            card.Jikan += 7;
        } else if (i % 4 == 1) {
            card.SetKaitou(card.Kaitou() + "x");
        } else {
            cards.insert(cards.begin() + qsizetype(at),
                         std::make_unique<TMondaiSet>("new", "card", "", 0, 0, 0, ""));
        }
    }
}

void BM_OpenDeck(benchmark::State &state) {
    const QByteArray &bytes = bench::CachedDeckBytes(state.range(0));
    CardOwnerList cards;
    for (auto _ : state) {
        Parse(bytes, cards);
        benchmark::DoNotOptimize(cards.data());
    }
    state.counters["cards"] = double(state.range(0));
}

void BM_MergeDecks(benchmark::State &state) {
    const QByteArray &bytes = bench::CachedDeckBytes(state.range(0));
    CardOwnerList base;
    Parse(bytes, base);
    const MergeBase known = MergeBase::Of(base);
    for (auto _ : state) {
        state.PauseTiming();
        CardOwnerList ours, theirs;
        Parse(bytes, ours);
        Parse(bytes, theirs);
        Change(ours, 0);
        Change(theirs, 1);
        state.ResumeTiming();
        MergeResult merged = MergeDecks(&known, ours, theirs);
        benchmark::DoNotOptimize(merged.cards.data());
        state.PauseTiming();
        merged = MergeResult();
        ours.clear();
        theirs.clear();
        state.ResumeTiming();
    }
    state.counters["cards"] = double(state.range(0));
}

// What keeping the base costs once a deck is read or saved.
void BM_MergeBaseOf(benchmark::State &state) {
    CardOwnerList cards;
    Parse(bench::CachedDeckBytes(state.range(0)), cards);
    for (auto _ : state)
        benchmark::DoNotOptimize(MergeBase::Of(cards).cards.data());
    state.counters["cards"] = double(state.range(0));
}

void Sizes(benchmark::internal::Benchmark *b) {
    b->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_OpenDeck)->Apply(Sizes);
BENCHMARK(BM_MergeDecks)->Apply(Sizes);
BENCHMARK(BM_MergeBaseOf)->Apply(Sizes);

BENCHMARK_MAIN();
