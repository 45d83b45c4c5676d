#pragma once

#include "progress/memory_model.h"
#include "progress/review_recorder.h"
#include "progress/study_values.h"

#include <QObject>

class Deck;
class Drill;

// The learning record of the open deck, without a window: the review recorder that logs every
// answer of the drill, the memory model and the study settings that shape the drill (the
// new-card limit, the scheduling rule, the desired retention). The 学習状況 window reads it.
class DeckProgress : public QObject {
    Q_OBJECT
public:
    // `logPathFor` names the review log of a deck file.
    DeckProgress(Deck &deck, Drill &drill,
                 ReviewRecorder::LogPathFor logPathFor = ReviewLog::PathForDeck);
    ~DeckProgress() override;

    ReviewRecorder &Recorder() { return recorder_; }
    const MemoryModel &Memory() const { return memory_; }

    // The new-card limit and the scheduling rule; the model, when chosen, is rebuilt from the
    // log at once.
    void ApplyStudySettings(const StudyValues &values);
    const StudyValues &StudySettings() const { return study_; }
    // "新規 k/N" for the status line; empty without a limit.
    QString NewCardStatus();

    // The deck's review log, written out, for fitting the model to it; empty without a deck.
    QString LogForFitting();
    // Takes fitted parameters for the open deck and keeps them in the settings file; false
    // when the file could not be written (the parameters still hold until the deck closes).
    bool KeepParameters(const fsrs::Parameters &parameters);

Q_SIGNALS:
    // A lasting notice for the status line, with its details for the line's tooltip.
    void Notice(const QString &text, const QString &details);
    // The study settings changed what the figures show.
    void StudyChanged();

private:
    // The parameters kept for the deck now opening, or the defaults.
    void LoadDeckParameters();
    QByteArray DeckKey() const;

    const Deck &deck_;
    ReviewRecorder::LogPathFor logPathFor_;
    Drill &drill_;
    ReviewRecorder recorder_;
    MemoryModel memory_;
    StudyValues study_;
    bool syncQueued_ = false;
};
