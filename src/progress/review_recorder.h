#pragma once

#include "deck/deck.h"
#include "drill/answer_observer.h"
#include "drill/day_number.h"
#include "progress/review_log.h"

#include <chrono>
#include <functional>
#include <future>
#include <memory>

// Writes every answer of the drill to the open deck's review log and keeps the log's history
// at hand for the overview. A log that cannot be written is reported once and otherwise
// ignored: the drill never waits for it or fails because of it.
class ReviewRecorder : public AnswerObserver {
public:
    using LogPathFor = std::function<QString(const QString &deckPath)>;
    using SecondClock = std::function<int()>; // local time of day in seconds

    ReviewRecorder(const Deck &deck, DayClock today, LogPathFor logPathFor = ReviewLog::PathForDeck,
                   SecondClock secondOfDay = CurrentSecondOfDay);
    ~ReviewRecorder() override;

    static int CurrentSecondOfDay();

    // Called with a short Japanese notice and its details (the log's path) when the log cannot
    // be written (once per log).
    using Notice = std::function<void(const QString &text, const QString &details)>;
    void SetNotice(Notice notice) { notice_ = std::move(notice); }
    static QString UnwritableNotice();
    // Called after each recorded answer.
    void SetRecorded(std::function<void()> recorded) { recorded_ = std::move(recorded); }

    void CardAnswered(const TMondaiSet &card, AnswerKind kind, qint32 dueBefore) override;
    void DeckStarted() override;

    // Puts what was appended onto the disk; false when that failed.
    bool Sync();
    // The open deck's log as read once plus what was recorded since. A deck's log is read on a
    // thread of its own from the moment the deck is opened, so this waits at most for the rest
    // of that read.
    const ReviewHistory &History();
    // Whether History() would answer without waiting for the log's read.
    bool HistoryReady() const;
    // Answers recorded since the deck was opened (a take-back cancels one).
    qint64 SessionAnswers() const { return sessionAnswers_; }
    // The log file of the open deck; empty without one.
    QString LogPath() const;

private:
    void OpenLog();
    void StartReading();
    void Report(const QString &path);

    const Deck &deck_;
    DayClock today_;
    LogPathFor logPathFor_;
    SecondClock secondOfDay_;
    std::unique_ptr<ReviewLog> log_;
    ReviewHistory history_;
    bool historyRead_ = false;
    std::future<ReviewHistory> reading_;
    // Kept for the history until it is read: while the log is being read, every answer (the
    // read stops at the log's size when it started); otherwise the answers the log missed.
    std::vector<ReviewEntry> unwritten_;
    bool reported_ = false;
    qint64 sessionAnswers_ = 0;
    Notice notice_;
    std::function<void()> recorded_;
};
