// Opening a large deck with the memory model on against opening it as today, and the time of
// each answer with the model. Usage: schedule_open DECK LOG. When LOG does not exist, a log of a
// million lines over the deck's cards is written there first (a year of answers).
// Prints open_ms (read, parse, due queue), model_open_ms (the same with the model on: the
// recorder starts rebuilding it from the log, the first card is there to show), ratio,
// rebuilt_ms (until the rebuild has ended), limit_open_ms and limit_ratio (the model on and a
// limit of 20 new cards a day: the first pass limited), answer_us_mean and answer_us_max
// (MarkRight, the model's due day, its update and the log line, over 10,000 answers; wall time) and
// answer_cpu_us_max (the slowest answer's CPU time).
#include "bench_decks.h"
#include "deck/deck.h"
#include "drill/scheduling.h"
#include "progress/memory_model.h"
#include "progress/review_recorder.h"

#include <QElapsedTimer>
#include <QFile>

#include <cstdio>

#include <time.h>

namespace {

constexpr qint32 kToday = 45658;
constexpr int kLogLines = 1'000'000;
constexpr int kAnswers = 10'000;
constexpr int kNewCardsPerDay = 20;

// The calling thread's CPU time: an answer's own cost, without the moments another process had
// the core.
double ThreadCpuUs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e6 + double(now.tv_nsec) / 1e3;
}

double Ms(const QElapsedTimer &timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

bool Open(const QString &path, Deck &deck, CardRefList &queue) {
    DeckFileRead read = ReadDeckForOpening(path);
    if (!read.result.ok || read.unsuitable)
        return false;
    OpenReadDeck(deck, std::move(read), kToday, queue);
    return true;
}

// A deck opened with the memory model on, through the recorder as the window does; the log is
// read from `logPath` and answers go into it.
struct ModelOpening {
    Deck deck;
    CardRefList queue;
    MemoryModel model;
    ReviewRecorder recorder;

    ModelOpening(const QString &logPath, int newCardsPerDay)
        : recorder(
              deck, [] { return kToday; }, [logPath](const QString &) { return logPath; },
              [] { return 0; }) {
        recorder.SetMemoryModel(&model);
        recorder.SetNewCardsPerDay(newCardsPerDay);
    }
    // The deck read and parsed, the recorder told, the first pass limited: the first card is
    // there to show.
    void Start(const QString &deckPath) {
        Open(deckPath, deck, queue);
        deck.SetFileName(deckPath);
        recorder.DeckStarted();
        LimitNewCards(queue, recorder.NewCardsLeft(kToday));
    }
};

void WriteLog(const QString &path, const Deck &deck) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bench::GenerateReviewLog(deck.Cards(), kLogLines, kToday));
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: schedule_open DECK LOG\n");
        return 2;
    }
    const QString deckPath = QString::fromLocal8Bit(argv[1]);
    const QString logPath = QString::fromLocal8Bit(argv[2]);
    {
        Deck warm;
        CardRefList queue;
        if (!Open(deckPath, warm, queue)) {
            std::fprintf(stderr, "cannot open %s\n", argv[1]);
            return 1;
        }
        if (!QFile::exists(logPath))
            WriteLog(logPath, warm);
    }
    QElapsedTimer timer;
    double openMs = 0;
    {
        Deck deck;
        CardRefList queue;
        timer.start();
        Open(deckPath, deck, queue);
        openMs = Ms(timer);
    }
    // The program's own path: the recorder rebuilds the model on a thread of its own while the
    // first card is shown; answers go through the recorder (into a copy of the log).
    const QString logCopy = logPath + QStringLiteral(".copy");
    QFile::remove(logCopy);
    QFile::copy(logPath, logCopy);
    // With a limit of new cards a day, the first pass needs today's count from the log as well.
    // Timed while no other deck is open, as the plain open was.
    double limitOpenMs = 0;
    {
        ModelOpening limited(logCopy, kNewCardsPerDay);
        timer.restart();
        limited.Start(deckPath);
        limitOpenMs = Ms(timer);
    }
    ModelOpening opening(logCopy, 0);
    CardRefList &queue = opening.queue;
    ReviewRecorder &recorder = opening.recorder;
    timer.restart();
    opening.Start(deckPath);
    const TMondaiSet *first = queue.empty() ? nullptr : queue.front();
    const double modelOpenMs = Ms(timer);
    recorder.FinishRebuild();
    const double rebuiltMs = Ms(timer);
    const qint64 entries = recorder.History().Entries();

    double totalUs = 0, maxUs = 0, maxCpuUs = 0;
    int maxCpuAt = 0;
    const int answers = int(std::min<qsizetype>(kAnswers, qsizetype(queue.size())));
    for (int i = 0; i < answers; ++i) {
        TMondaiSet &card = *queue[std::size_t(i)];
        QElapsedTimer one;
        const double cpuStart = ThreadCpuUs();
        one.start();
        const qint32 dueBefore = card.Jikan;
        MarkRight(card, kToday);
        card.Jikan = recorder.DueAfter(card, AnswerKind::Right, kToday, dueBefore);
        recorder.CardAnswered(card, AnswerKind::Right, dueBefore);
        const double us = double(one.nsecsElapsed()) / 1e3;
        totalUs += us;
        maxUs = std::max(maxUs, us);
        const double cpuUs = ThreadCpuUs() - cpuStart;
        if (cpuUs > maxCpuUs) {
            maxCpuUs = cpuUs;
            maxCpuAt = i;
        }
    }
    QFile::remove(logCopy);
    std::printf("cards=%zu\nfirst=%s\nlog_lines=%lld\nknown=%zu\nopen_ms=%.1f\n"
                "model_open_ms=%.1f\nratio=%.2f\nrebuilt_ms=%.1f\nlimit_open_ms=%.1f\n"
                "limit_ratio=%.2f\nanswer_us_mean=%.2f\n"
                "answer_us_max=%.1f\nanswer_cpu_us_max=%.1f\nanswer_cpu_max_at=%d\n",
                opening.deck.Cards().size(), first ? "yes" : "no", (long long)entries,
                opening.model.Known(), openMs, modelOpenMs, modelOpenMs / openMs, rebuiltMs,
                limitOpenMs, limitOpenMs / openMs, answers ? totalUs / answers : 0.0, maxUs,
                maxCpuUs, maxCpuAt);
    return 0;
}
