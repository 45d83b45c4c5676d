// The main window on large decks: one drill step with its redraw, and start-up to a drawn window.
#include "app/tform1.h"
#include "bench_decks.h"
#include "ui/prompts.h"
#include "window_bench_main.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMainWindow>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QString DeckFile(const QTemporaryDir &dir, qsizetype cards) {
    const QString path = dir.filePath(QStringLiteral("deck%1.csv").arg(cards));
    if (!QFile::exists(path)) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(bench::CachedDeckBytes(cards));
    }
    return path;
}

QTemporaryDir &Folder() {
    static QTemporaryDir dir;
    return dir;
}

std::unique_ptr<TForm1> OpenWindow(SilentPrompts &prompts, qsizetype cards) {
    auto form = std::make_unique<TForm1>(prompts, FixedDayClock(bench::kToday));
    form->OpenStartDeck(DeckFile(Folder(), cards));
    form->show();
    QApplication::processEvents();
    return form;
}

// すすめ: every other press reveals the answer, the others move on; the redraw is painted.
void BM_SusumeWithRedraw(benchmark::State &state) {
    SilentPrompts prompts;
    auto form = OpenWindow(prompts, state.range(0));
    for (auto _ : state) {
        form->ClickSusume();
        QApplication::processEvents();
    }
    state.counters["queue"] = double(form->DrillState().Queue().size());
}
BENCHMARK(BM_SusumeWithRedraw)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// できた on a revealed card, which takes the card out of the queue; painted as well.
void BM_DekitaWithRedraw(benchmark::State &state) {
    SilentPrompts prompts;
    auto form = OpenWindow(prompts, state.range(0));
    Drill &drill = form->DrillState();
    for (auto _ : state) {
        state.PauseTiming();
        if (drill.AnswerShown())
            form->ClickSusume();
        form->ClickSusume(); // reveal
        QApplication::processEvents();
        state.ResumeTiming();
        form->ClickDekita();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_DekitaWithRedraw)->Arg(1'000'000)->Unit(benchmark::kMillisecond);

// From creating the window to its first drawing, with the deck read and the drill started.
void BM_StartToDrawnWindow(benchmark::State &state) {
    SilentPrompts prompts;
    DeckFile(Folder(), state.range(0));
    for (auto _ : state) {
        auto form = OpenWindow(prompts, state.range(0));
        form->repaint();
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToDrawnWindow)->Arg(100'000)->Unit(benchmark::kMillisecond);

// The same with no deck, beside its floor: a bare main window with one Japanese label.
void BM_StartToDrawnWindowNoDeck(benchmark::State &state) {
    SilentPrompts prompts;
    for (auto _ : state) {
        auto form = std::make_unique<TForm1>(prompts, FixedDayClock(bench::kToday));
        form->show();
        QApplication::processEvents();
        form->repaint();
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartToDrawnWindowNoDeck)->Unit(benchmark::kMillisecond);

void BM_FloorWindowToDrawn(benchmark::State &state) {
    for (auto _ : state) {
        auto window = std::make_unique<QMainWindow>();
        window->setCentralWidget(new QLabel(QStringLiteral("日本語の単語カード"), window.get()));
        window->resize(567, 554);
        window->show();
        QApplication::processEvents();
        window->repaint();
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FloorWindowToDrawn)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv) {
    return RunWindowBenchmarks(argc, argv);
}
