// Finding cards in generated decks: what the find bar waits for on each keystroke.
#include "bench_decks.h"
#include "deck/card_search.h"
#include "deck/deck.h"

#include <benchmark/benchmark.h>

#include <QDeadlineTimer>

namespace {

// The find bar's slice between events.
constexpr int kSliceMs = 12;

struct LoadedDeck {
    Deck deck;
    qsizetype fileBytes = 0;
};

LoadedDeck &Loaded(qsizetype cards) {
    static std::map<qsizetype, std::unique_ptr<LoadedDeck>> decks;
    auto &slot = decks[cards];
    if (!slot) {
        slot = std::make_unique<LoadedDeck>();
        const QByteArray &bytes = bench::CachedDeckBytes(cards);
        slot->fileBytes = bytes.size();
        slot->deck.SetSavedLines(DeckLines::FromFileBytes(bytes));
        CardRefList queue;
        ParseDeck(slot->deck, bench::kToday, queue);
    }
    return *slot;
}

// The first search on a deck: the index is built (in slices), then the deck searched.
void BM_FirstSearchBuildsTheIndex(benchmark::State &state) {
    LoadedDeck &loaded = Loaded(state.range(0));
    qsizetype indexBytes = 0;
    for (auto _ : state) {
        CardSearch search(loaded.deck.Cards());
        search.Start(QStringLiteral("library"), false, {}, 0);
        search.Finish();
        benchmark::DoNotOptimize(search.Count());
        indexBytes = search.Index().MemoryBytes();
    }
    state.counters["index_bytes"] = double(indexBytes);
    state.counters["file_bytes"] = double(loaded.fileBytes);
}

// One keystroke with the index built: the search starts from the middle of the deck and runs
// slices until the first match is known (as the find bar shows it).
void TypeWord(benchmark::State &state, const QString &word, bool kanaSame) {
    LoadedDeck &loaded = Loaded(state.range(0));
    CardSearch search(loaded.deck.Cards());
    search.Start(word, kanaSame, {}, 0);
    search.Finish(); // the index exists from the first search on
    const qsizetype from = state.range(0) / 2;
    qsizetype typed = 0;
    for (auto _ : state) {
        typed = typed % word.size() + 1;
        search.Start(word.left(typed), kanaSame, {}, from);
        while (search.FirstMatch() < 0 && !search.Step(QDeadlineTimer(kSliceMs))) {
        }
        benchmark::DoNotOptimize(search.FirstMatch());
    }
}

// The whole count of one keystroke.
void CountWord(benchmark::State &state, const QString &word, bool kanaSame) {
    LoadedDeck &loaded = Loaded(state.range(0));
    CardSearch search(loaded.deck.Cards());
    search.Start(word, kanaSame, {}, 0);
    search.Finish();
    for (auto _ : state) {
        search.Start(word, kanaSame, {}, state.range(0) / 2);
        search.Finish();
        benchmark::DoNotOptimize(search.Count());
    }
    state.counters["matches"] = double(search.Count());
}

void BM_FirstMatchPerKeystroke_Latin(benchmark::State &state) {
    TypeWord(state, QStringLiteral("neighbour"), false);
}
void BM_FirstMatchPerKeystroke_Kana(benchmark::State &state) {
    TypeWord(state, QStringLiteral("ソフトウェア"), true);
}
void BM_FirstMatchPerKeystroke_Missing(benchmark::State &state) {
    TypeWord(state, QStringLiteral("zqx"), false);
}
void BM_Count_Common(benchmark::State &state) {
    CountWord(state, QStringLiteral("e"), false);
}
void BM_Count_Word(benchmark::State &state) {
    CountWord(state, QStringLiteral("LIBRARY"), false);
}
void BM_Count_KanaDistinct(benchmark::State &state) {
    CountWord(state, QStringLiteral("ソフト"), false);
}
void BM_Count_Missing(benchmark::State &state) {
    CountWord(state, QStringLiteral("zqx"), false);
}

// After one edit the next keystroke folds that card again and counts.
void BM_CountAfterAnEdit(benchmark::State &state) {
    LoadedDeck &loaded = Loaded(state.range(0));
    CardSearch search(loaded.deck.Cards());
    search.Start(QStringLiteral("library"), false, {}, 0);
    search.Finish();
    const TMondaiSet *edited = loaded.deck.Cards()[std::size_t(state.range(0) / 3)].get();
    for (auto _ : state) {
        search.NoteEdited(edited);
        search.Start(QStringLiteral("library"), false, {}, 0);
        search.Finish();
        benchmark::DoNotOptimize(search.Count());
    }
}

const std::vector<int64_t> kSizes{10'000, 100'000, 1'000'000};

} // namespace

BENCHMARK(BM_FirstSearchBuildsTheIndex)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstMatchPerKeystroke_Latin)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstMatchPerKeystroke_Kana)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FirstMatchPerKeystroke_Missing)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Count_Common)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Count_Word)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Count_KanaDistinct)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Count_Missing)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CountAfterAnEdit)->ArgsProduct({kSizes})->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
