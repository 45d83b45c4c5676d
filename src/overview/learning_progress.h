#pragma once

#include "overview/overview_window.h"
#include "overview/study_settings_dialog.h"
#include "progress/deck_progress.h"

#include <QObject>
#include <QPointer>

class Drill;
class Deck;

// The 学習状況 window over the open deck's learning record (DeckProgress), kept up to date with
// the drill. The main window owns it and only tells it when the drill was redrawn.
class LearningProgress : public QObject {
    Q_OBJECT
public:
    LearningProgress(DeckProgress &progress, const Deck &deck, const Drill &drill,
                     OverviewWindow::SaveNameAsker askSaveName, QWidget *mainWindow);
    ~LearningProgress() override;

    // The menu command: opens the window, or brings it forward.
    void ShowWindow();
    // The drill changed; an open window shows the new figures once the event is done.
    void DrillChanged();
    // Recomputes and shows the figures now (the window must exist).
    void RefreshNow();

    OverviewWindow *Window() const { return window_; }

    // 最適化 for the open deck (the progress dialog over `parent`): fitted parameters that
    // predict better are kept for the deck in the settings file. Returns what came of it.
    QString FitToLog(QWidget *parent);
    // 学習の設定 over `parent`: true when the user chose other values, which now apply.
    bool EditStudySettings(QWidget *parent);

Q_SIGNALS:
    // The user wants this card (CardList index) in the list view.
    void CardChosen(qsizetype index);

private:
    void ChooseCard(const TMondaiSet *card);

    DeckProgress &progress_;
    const Deck &deck_;
    const Drill &drill_;
    OverviewWindow::SaveNameAsker askSaveName_;
    QWidget *mainWindow_;
    QPointer<OverviewWindow> window_;
    bool refreshQueued_ = false;
};
