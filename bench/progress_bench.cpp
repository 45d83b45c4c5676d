// The learning overview on large decks: the figures of a million cards, a review log of a
// million lines, and opening the 学習状況 window on such a deck with such a log.
#include "app/tform1.h"
#include "bench_decks.h"
#include "overview/learning_progress.h"
#include "progress/overview_figures.h"
#include "progress/review_log.h"
#include "window_bench_main.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr qsizetype kCards = 1'000'000;
constexpr int kLogLines = 1'000'000;

QTemporaryDir &Folder() {
    static QTemporaryDir dir;
    return dir;
}

// A year of drilling ending on bench::kToday: about 2,700 answers a day.
void WriteLog(const QString &path) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    QByteArray text = "# Kardeon review log of a generated deck\n";
    text.reserve(kLogLines * 46);
    for (int i = 0; i < kLogLines; ++i) {
        const qint32 day = bench::kToday - 364 + qint32(qint64(i) * 365 / kLogLines);
        const AnswerKind kind = i % 5 == 0 ? AnswerKind::Wrong : AnswerKind::Right;
        text += FormatReviewLine(
            {day, (i * 37) % 86400, kind, day - 3, day + 27, quint32(i) * 2654435761u});
    }
    file.write(text);
}

QString LogFile() {
    static const QString path = [] {
        const QString p = Folder().filePath(QStringLiteral("bench.log"));
        WriteLog(p);
        return p;
    }();
    return path;
}

const Deck &BigDeck() {
    static const Deck deck = [] {
        Deck d;
        d.SetSavedLines(DeckLines::FromFileBytes(bench::CachedDeckBytes(kCards)));
        CardRefList queue;
        ParseDeck(d, bench::kToday, queue);
        return d;
    }();
    return deck;
}

// Every figure of the deck in one pass over its cards.
void BM_DeckFigures(benchmark::State &state) {
    const Deck &deck = BigDeck();
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeDeckFigures(deck.Cards(), bench::kToday));
}
BENCHMARK(BM_DeckFigures)->Unit(benchmark::kMillisecond);

// Reading a log of a million lines into its per-day history.
void BM_ReadReviewLog(benchmark::State &state) {
    const QString path = LogFile();
    for (auto _ : state) {
        const ReviewHistory history = ReadReviewLog(path);
        benchmark::DoNotOptimize(history.Entries());
    }
    state.counters["entries"] = double(ReadReviewLog(path).Entries());
}
BENCHMARK(BM_ReadReviewLog)->Unit(benchmark::kMillisecond);

// Shows `form` with the million-card deck open and the million-line log as its review log.
void OpenDeckWithLog(TForm1 &form) {
    const QString deckPath = Folder().filePath(QStringLiteral("deck.csv"));
    {
        QFile file(deckPath);
        if (file.open(QIODevice::WriteOnly))
            file.write(bench::CachedDeckBytes(kCards));
    }
    form.OpenStartDeck(deckPath);
    form.show();
    QApplication::processEvents();
    QFile::remove(ReviewLog::PathForDeck(deckPath));
    QDir().mkpath(QFileInfo(ReviewLog::PathForDeck(deckPath)).absolutePath());
    QFile::copy(LogFile(), ReviewLog::PathForDeck(deckPath));
}

// The menu command on a million-card deck with a million-line log, to the painted window:
// the log is read, the figures computed, the window built and drawn.
void BM_OpenOverviewWindow(benchmark::State &state) {
    SilentPrompts prompts;
    TForm1 form(prompts, FixedDayClock(bench::kToday));
    OpenDeckWithLog(form);
    for (auto _ : state) {
        // A fresh start each time, as after opening the deck: nothing read yet.
        DeckProgress record(form.DeckState(), form.DrillState());
        LearningProgress progress(record, form.DeckState(), form.DrillState(), {}, &form);
        progress.ShowWindow();
        QApplication::processEvents();
        state.PauseTiming();
        progress.Window()->close();
        state.ResumeTiming();
    }
    form.DeckState().ReplaceCards({});
    form.close();
}
BENCHMARK(BM_OpenOverviewWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same command as a learner meets it: the deck was opened a moment before, and its log was
// read meanwhile on a thread of its own. CPU is the user-interface thread's.
void BM_OpenOverviewWindowAfterDeckOpen(benchmark::State &state) {
    SilentPrompts prompts;
    TForm1 form(prompts, FixedDayClock(bench::kToday));
    OpenDeckWithLog(form);
    for (auto _ : state) {
        state.PauseTiming();
        auto record = std::make_unique<DeckProgress>(form.DeckState(), form.DrillState());
        auto progress = std::make_unique<LearningProgress>(
            *record, form.DeckState(), form.DrillState(), OverviewWindow::SaveNameAsker{}, &form);
        record->Recorder().DeckStarted();
        while (!record->Recorder().HistoryReady())
            QThread::msleep(5);
        state.ResumeTiming();
        progress->ShowWindow();
        QApplication::processEvents();
        state.PauseTiming();
        progress->Window()->close();
        progress.reset();
        record.reset();
        state.ResumeTiming();
    }
    form.DeckState().ReplaceCards({});
    form.close();
}
BENCHMARK(BM_OpenOverviewWindowAfterDeckOpen)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace

int main(int argc, char **argv) {
    // Logs go to a folder of their own, never the user's.
    qputenv("XDG_DATA_HOME", QFile::encodeName(Folder().path()));
    return RunWindowBenchmarks(argc, argv);
}
