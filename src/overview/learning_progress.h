#pragma once

#include "overview/overview_window.h"
#include "progress/review_recorder.h"

#include <QObject>
#include <QPointer>

class Drill;
struct Deck;

// The review log of the open deck and the 学習状況 window, kept up to date with the drill.
// The main window owns it and only tells it when the drill was redrawn.
class LearningProgress : public QObject {
    Q_OBJECT
public:
    LearningProgress(Deck &deck, Drill &drill, OverviewWindow::SaveNameAsker askSaveName,
                     QWidget *mainWindow);
    ~LearningProgress() override;

    // The menu command: opens the window, or brings it forward.
    void ShowWindow();
    // The drill changed; an open window shows the new figures once the event is done.
    void DrillChanged();
    // Recomputes and shows the figures now (the window must exist).
    void RefreshNow();

    OverviewWindow *Window() const { return window_; }
    ReviewRecorder &Recorder() { return recorder_; }

Q_SIGNALS:
    // The user wants this card (CardList index) in the list view.
    void CardChosen(qsizetype index);
    // A lasting notice for the status line, with its details for the line's tooltip.
    void Notice(const QString &text, const QString &details);

private:
    void ChooseCard(const TMondaiSet *card);

    Deck &deck_;
    Drill &drill_;
    ReviewRecorder recorder_;
    OverviewWindow::SaveNameAsker askSaveName_;
    QWidget *mainWindow_;
    QPointer<OverviewWindow> window_;
    bool refreshQueued_ = false;
    bool syncQueued_ = false;
};
