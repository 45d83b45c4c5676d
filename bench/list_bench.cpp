// The list view on a million-card deck: a drill step, a keystroke in a cell and switching to
// the list, each including the list's refresh and repaint. Runs on the offscreen platform.
#include "app/tform1.h"
#include "bench_decks.h"
#include "ui/prompts.h"
#include "view/card_table_model.h"
#include "view/list_grid.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLineEdit>

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

constexpr qsizetype kCards = 1'000'000;

// No box is expected; any that comes is answered at once.
class SilentPrompts : public Prompts {
public:
    PromptButton Message(QWidget *, const MessageRequest &request) override {
        return request.buttons.empty() ? PromptButton::Ok : request.buttons.front();
    }
    QString OpenFileName(QWidget *, const FileRequest &) override { return {}; }
    QString SaveFileName(QWidget *, const FileRequest &) override { return {}; }
    std::optional<QFont> ChooseFont(QWidget *, const QFont &, const QString &) override {
        return std::nullopt;
    }
};

long ResidentKiB() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    return -1;
}

struct Bench {
    SilentPrompts prompts;
    TForm1 form{prompts, [] { return bench::kToday; }};
    ListGrid *grid = nullptr;

    void Load(qsizetype cards) {
        Deck &deck = form.DeckState();
        deck.SetSavedLines(DeckLines::FromFileBytes(bench::GenerateDeckBytes(cards)));
        CardRefList due;
        ParseDeck(deck, bench::kToday, due);
        form.DrillState().TakeDueCards(std::move(due));
        form.DrillState().StartNewDeck();
        form.resize(567, 554);
        form.show();
        QApplication::processEvents();
        grid = form.findChild<ListGrid *>(QStringLiteral("GridHyouji"));
    }
    void ShowList() {
        form.ClickPanelPattern(5);
        QApplication::processEvents();
    }
    void ShowMain() {
        form.ClickPanelPattern(0);
        QApplication::processEvents();
    }
};

Bench *fixture = nullptr;

void SendKey(QWidget *to, int key, const QString &text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(to, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(to, &release);
}

// One すすめ (reveal or advance), the list's refresh and repaint.
void BM_SusumeInList(benchmark::State &state) {
    fixture->ShowList();
    for (auto _ : state) {
        fixture->form.ClickSusume();
        QApplication::processEvents();
    }
}

// One keystroke in the current card's question cell: write-back and repaint; alternately a
// letter and a backspace so the text stays short.
void BM_KeystrokeInQuestionCell(benchmark::State &state) {
    fixture->ShowList();
    ListGrid *grid = fixture->grid;
    const int row = grid->Model()->CurrentRow();
    grid->setCurrentIndex(grid->Model()->index(row, 1));
    QLineEdit *editor = grid->CellEditor();
    if (!editor) {
        state.SkipWithError("no cell editor");
        return;
    }
    editor->end(false);
    bool letter = true;
    for (auto _ : state) {
        if (letter)
            SendKey(editor, Qt::Key_X, QStringLiteral("x"));
        else
            SendKey(editor, Qt::Key_Backspace, QString());
        letter = !letter;
        QApplication::processEvents();
    }
}

// A comma typed into a question: the stored form gains quotes and the whole list is refilled.
void BM_CommaRefillsList(benchmark::State &state) {
    fixture->ShowList();
    ListGrid *grid = fixture->grid;
    const int row = grid->Model()->CurrentRow() + 1;
    for (auto _ : state) {
        grid->GridHyoujiSetEditText(1, row, QStringLiteral("a,b"));
        QApplication::processEvents();
    }
}

void BM_SwitchToList(benchmark::State &state) {
    for (auto _ : state) {
        state.PauseTiming();
        fixture->ShowMain();
        state.ResumeTiming();
        fixture->ShowList();
    }
}

BENCHMARK(BM_SusumeInList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_KeystrokeInQuestionCell)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CommaRefillsList)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchToList)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    Bench bench;
    fixture = &bench;
    const long before = ResidentKiB();
    bench.Load(kCards);
    const long loaded = ResidentKiB();
    bench.ShowList();
    const long listed = ResidentKiB();
    std::printf("memory: deck of %lld cards %ld KiB; showing the list added %ld KiB\n",
                static_cast<long long>(kCards), loaded - before, listed - loaded);
    benchmark::RunSpecifiedBenchmarks();
    bench.form.DeckState().ReplaceCards({}); // nothing to save on the way out
    bench.form.close();
    benchmark::Shutdown();
    return 0;
}
