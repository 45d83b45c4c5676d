#include "overview/learning_progress.h"

#include "drill/drill.h"

#include <QFileInfo>
#include <QTimer>

LearningProgress::LearningProgress(Deck &deck, Drill &drill,
                                   OverviewWindow::SaveNameAsker askSaveName, QWidget *mainWindow)
    : deck_(deck), drill_(drill), recorder_(deck, [&drill] { return drill.Today(); }),
      askSaveName_(std::move(askSaveName)), mainWindow_(mainWindow) {
    drill_.SetAnswerObserver(&recorder_);
    recorder_.SetNotice(
        [this](const QString &text, const QString &details) { Q_EMIT Notice(text, details); });
    // The log reaches the disk right after the answer's redraw, well before any save.
    recorder_.SetRecorded([this] {
        if (syncQueued_)
            return;
        syncQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            syncQueued_ = false;
            recorder_.Sync();
        });
    });
}

LearningProgress::~LearningProgress() {
    drill_.SetAnswerObserver(nullptr);
    delete window_.data();
}

void LearningProgress::ShowWindow() {
    if (!window_) {
        window_ = new OverviewWindow(mainWindow_);
        window_->SetSaveNameAsker(askSaveName_);
        connect(window_, &OverviewWindow::CardChosen, this, &LearningProgress::ChooseCard);
    }
    RefreshNow();
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void LearningProgress::DrillChanged() {
    if (!window_ || !window_->isVisible() || refreshQueued_)
        return;
    refreshQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshQueued_ = false;
        if (window_ && window_->isVisible())
            RefreshNow();
    });
}

void LearningProgress::RefreshNow() {
    const qint32 today = drill_.Today();
    const DeckFigures figures = ComputeDeckFigures(deck_.CardList, today);
    const HistoryFigures history = ComputeHistoryFigures(recorder_.History(), today);
    const OverviewWindow::Pass pass{recorder_.SessionAnswers(), qint64(drill_.AskQueue.size())};
    const QString name =
        deck_.DeckFileName.isEmpty() ? QString() : QFileInfo(deck_.DeckFileName).fileName();
    window_->ShowFigures(figures, history, pass, name);
}

void LearningProgress::ChooseCard(const TMondaiSet *card) {
    // The list was drawn from an earlier state; the card may since have moved or gone.
    const qsizetype number = drill_.CardNumber(card);
    if (number > 0)
        Q_EMIT CardChosen(number - 1);
}
