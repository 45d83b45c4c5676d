// The memory model on a deck of a million cards: rebuilding it from a review log of a million
// lines as a deck's opening does, and the drill's answers (できた and pass) with the model on.
#include "bench_decks.h"
#include "deck/deck.h"
#include "drill/drill.h"
#include "progress/memory_model.h"
#include "progress/review_recorder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include <time.h>

namespace {

constexpr qsizetype kCards = 1'000'000;
constexpr qint64 kLogLines = 1'000'000;

// The generated deck, opened, with its review log written into a folder of its own.
struct DeckWithLog {
    QTemporaryDir dir;
    Deck deck;
    CardRefList queue;
    QString logPath;

    DeckWithLog() {
        deck.SetSavedLines(DeckLines::FromFileBytes(bench::CachedDeckBytes(kCards)));
        ParseDeck(deck, bench::kToday, queue);
        deck.SetFileName(dir.filePath(QStringLiteral("deck.csv")));
        logPath = dir.filePath(QStringLiteral("deck.log"));
        QFile file(logPath);
        if (file.open(QIODevice::WriteOnly))
            file.write(bench::GenerateReviewLog(deck.Cards(), kLogLines, bench::kToday));
    }
};

DeckWithLog &Shared() {
    static DeckWithLog shared;
    return shared;
}

double ThreadCpuUs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

void Percentiles(benchmark::State &state, std::vector<double> &us, const std::string &prefix) {
    if (us.empty())
        return;
    std::sort(us.begin(), us.end());
    state.counters[prefix + "median_us"] = us[us.size() / 2];
    state.counters[prefix + "p99_us"] = us[us.size() * 99 / 100];
    state.counters[prefix + "max_us"] = us.back();
}

// What the thread of a deck's opening does: read the log, replay it into the model.
void BM_RebuildFromLog(benchmark::State &state) {
    DeckWithLog &data = Shared();
    MemoryModel model;
    ReviewHistory history;
    for (auto _ : state)
        history = RebuildMemory(data.logPath, model);
    state.counters["entries"] = double(history.Entries());
    state.counters["skipped"] = double(history.SkippedLines());
    state.counters["known"] = double(model.Known());
    state.counters["table_MiB"] = double(model.MemoryBytes()) / (1 << 20);
}
BENCHMARK(BM_RebuildFromLog)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);

// The same log read without a model: what the model's part of the rebuild is measured against.
void BM_ReadLogAlone(benchmark::State &state) {
    DeckWithLog &data = Shared();
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadReviewLog(data.logPath).Entries());
}
BENCHMARK(BM_ReadLogAlone)->Unit(benchmark::kMillisecond)->Iterations(5)->Repetitions(3);

// The recorder's whole path as the window takes it: the deck starts, the log is read on a thread
// of its own and the model taken over. CPU is the process's, threads included.
void BM_RecorderRebuild(benchmark::State &state) {
    DeckWithLog &data = Shared();
    const QString path = data.logPath;
    for (auto _ : state) {
        // The model is set before a deck opens, as at start-up; the deck's log is read once.
        Deck opening;
        MemoryModel model;
        ReviewRecorder recorder(
            opening, [] { return bench::kToday; }, [path](const QString &) { return path; },
            [] { return 0; });
        recorder.SetMemoryModel(&model);
        opening.SetFileName(data.deck.FileName());
        recorder.DeckStarted();
        recorder.FinishRebuild();
        benchmark::DoNotOptimize(model.Known());
    }
}
BENCHMARK(BM_RecorderRebuild)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Repetitions(3)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

// One answer step each iteration: できた (four in five) and the pass to the next card, through
// the drill with the recorder as observer and planner, as in the window, with the model on (1)
// and off (0). Reports the median and the slowest step besides the mean.
void BM_AnswerStep(benchmark::State &state) {
    DeckWithLog &data = Shared();
    const QString logCopy = data.dir.filePath(QStringLiteral("answers.log"));
    QFile::remove(logCopy);
    QFile::copy(data.logPath, logCopy);
    bench::QuietHost host;
    Drill drill(data.deck, host, FixedDayClock(bench::kToday));
    MemoryModel model;
    ReviewRecorder recorder(
        data.deck, [] { return bench::kToday; }, [logCopy](const QString &) { return logCopy; },
        [] { return 0; });
    if (state.range(0) == 1)
        recorder.SetMemoryModel(&model);
    drill.SetAnswerObserver(&recorder);
    drill.SetRestPlanner(&recorder);
    drill.ApplySettings({0, PatternSub, 5, DrillDirection::QuestionFirst});
    drill.TakeDueCards(data.queue);
    drill.StartNewDeck();
    recorder.FinishRebuild();
    std::vector<double> steps, cpuSteps;
    steps.reserve(std::size_t(state.max_iterations));
    cpuSteps.reserve(std::size_t(state.max_iterations));
    qint64 i = 0;
    for (auto _ : state) {
        QElapsedTimer timer;
        const double cpuStart = ThreadCpuUs();
        timer.start();
        if (i++ % 5 != 0)
            drill.GoDone();
        drill.GoNext();
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        cpuSteps.push_back(ThreadCpuUs() - cpuStart);
        state.SetIterationTime(seconds);
        steps.push_back(seconds * 1e6);
    }
    state.counters["cpu_max_at"] =
        double(std::max_element(cpuSteps.begin(), cpuSteps.end()) - cpuSteps.begin());
    // Wall time includes the moments another process had the core; CPU time is the step's own.
    Percentiles(state, steps, "");
    Percentiles(state, cpuSteps, "cpu_");
    recorder.Sync();
    QFile::remove(logCopy);
}
BENCHMARK(BM_AnswerStep)
    ->ArgName("model")
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(20000)
    ->UseManualTime();

} // namespace

BENCHMARK_MAIN();
