// Import and export against the deck's own open and save, on a generated deck of 1M cards:
// importing the deck's cards from a UTF-8 TSV should take no more than twice opening them as a
// Shift-JIS deck, and exporting them no more than twice saving them.
#include "bench_decks.h"
#include "deck/deck.h"
#include "exchange/card_export.h"
#include "exchange/card_import.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr qsizetype kCards = 1000000;

struct Files {
    QTemporaryDir dir;
    QString deck = dir.filePath(QStringLiteral("deck.csv"));
    QString tsv = dir.filePath(QStringLiteral("deck.tsv"));
    QString out = dir.filePath(QStringLiteral("out"));

    Files() {
        const QByteArray &bytes = bench::CachedDeckBytes(kCards);
        WriteTextFile(deck, bytes);
        WriteTextFile(tsv, bench::GenerateTsvBytes(bytes));
    }
};

Files &TheFiles() {
    static Files files;
    return files;
}

void Count(benchmark::State &state, const Deck &deck) {
    state.counters["cards"] = double(deck.Cards().size());
}

// What opening a deck does before the window draws: read, the unsuitable test, parse.
void BM_OpenShiftJisDeck(benchmark::State &state) {
    Deck deck;
    for (auto _ : state) {
        DeckLines lines;
        ReadDeckFile(TheFiles().deck, &lines);
        benchmark::DoNotOptimize(IsUnsuitable(lines));
        benchmark::DoNotOptimize(exchange::LooksLikeOtherProgramsText(lines.Bytes()));
        deck.SetSavedLines(std::move(lines));
        CardRefList queue;
        ParseDeck(deck, bench::kToday, queue);
    }
    Count(state, deck);
}

// What the import does from the chosen file to the new deck: read, detect, read the cards
// (the preview shows these very cards), take them as the deck.
void BM_ImportUtf8Tsv(benchmark::State &state) {
    Deck deck;
    for (auto _ : state) {
        QByteArray bytes;
        ReadTextFile(TheFiles().tsv, &bytes);
        exchange::ImportResult result =
            exchange::ImportCards(bytes, exchange::DetectImportOptions(bytes));
        CardRefList queue;
        exchange::TakeAsNewDeck(deck, queue, std::move(result.cards));
    }
    Count(state, deck);
}

Deck &OpenedDeck() {
    static Deck deck = [] {
        Deck opened;
        opened.SetSavedLines(DeckLines::FromFileBytes(bench::CachedDeckBytes(kCards)));
        CardRefList queue;
        ParseDeck(opened, bench::kToday, queue);
        return opened;
    }();
    return deck;
}

void BM_SaveDeck(benchmark::State &state) {
    Deck &deck = OpenedDeck();
    deck.SetFileName(TheFiles().out + QStringLiteral(".csv"));
    for (auto _ : state)
        SaveDeck(deck);
    Count(state, deck);
}

void BM_ExportCsv(benchmark::State &state) {
    const Deck &deck = OpenedDeck();
    const QString path = TheFiles().out + QStringLiteral("-export.csv");
    for (auto _ : state)
        exchange::ExportCardsToFile(path, deck.Cards(), {exchange::ExportFormat::Csv});
    Count(state, deck);
}

void BM_ExportNotesWithRecord(benchmark::State &state) {
    const Deck &deck = OpenedDeck();
    const QString path = TheFiles().out + QStringLiteral("-export.txt");
    for (auto _ : state)
        exchange::ExportCardsToFile(path, deck.Cards(),
                                    {exchange::ExportFormat::Notes, true, false});
    Count(state, deck);
}

} // namespace

BENCHMARK(BM_OpenShiftJisDeck)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);
BENCHMARK(BM_ImportUtf8Tsv)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);
BENCHMARK(BM_SaveDeck)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);
BENCHMARK(BM_ExportCsv)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);
BENCHMARK(BM_ExportNotesWithRecord)->Unit(benchmark::kMillisecond)->Iterations(3)->Repetitions(3);

BENCHMARK_MAIN();
