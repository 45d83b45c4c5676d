#pragma once

#include "overview/overview_window.h"
#include "overview/study_settings_dialog.h"
#include "progress/memory_model.h"
#include "progress/review_recorder.h"

#include <QObject>
#include <QPointer>

class Drill;
class Deck;

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
    MemoryModel &Memory() { return memory_; }

    // The new-card limit and the scheduling rule; the model, when chosen, is rebuilt from the
    // log at once.
    void ApplyStudySettings(const StudySettingsDialog::Values &values);
    const StudySettingsDialog::Values &StudySettings() const { return study_; }
    // "新規 k/N" for the status line; empty without a limit.
    QString NewCardStatus();
    // 最適化 for the open deck (the progress dialog over `parent`): fitted parameters that
    // predict better are kept for the deck in the settings file. Returns what came of it.
    QString FitToLog(QWidget *parent);

Q_SIGNALS:
    // The user wants this card (CardList index) in the list view.
    void CardChosen(qsizetype index);
    // A lasting notice for the status line, with its details for the line's tooltip.
    void Notice(const QString &text, const QString &details);

private:
    void ChooseCard(const TMondaiSet *card);
    // The parameters kept for the deck now opening, or the defaults.
    void LoadDeckParameters();
    QByteArray DeckKey() const;

    Deck &deck_;
    Drill &drill_;
    ReviewRecorder recorder_;
    MemoryModel memory_;
    StudySettingsDialog::Values study_;
    OverviewWindow::SaveNameAsker askSaveName_;
    QWidget *mainWindow_;
    QPointer<OverviewWindow> window_;
    bool refreshQueued_ = false;
    bool syncQueued_ = false;
};
