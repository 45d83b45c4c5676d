#pragma once

#include "deck/deck.h"
#include "drill/answer_observer.h"
#include "drill/day_number.h"
#include "progress/memory_model.h"
#include "progress/review_log.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>

// Writes every answer of the drill to the open deck's review log and keeps the log's history
// at hand for the overview. A log that cannot be written is reported once and otherwise
// ignored: the drill never waits for it or fails because of it.
//
// It also knows from the log how many new cards today brought in, and so limits the new cards
// of each pass; and it keeps the memory model, when one is set, rebuilt from the log and
// following every answer.
//
// A newly opened deck's log is read (and the model rebuilt) on a thread of its own, so that the
// deck's first card shows without waiting for it: the new cards today already brought in are
// counted from the log's last lines meanwhile. An answer is written at once; what needs the whole
// history or the model (the model's due day, the overview) waits for the read to end.
class ReviewRecorder : public AnswerObserver, public NewCardAllowance, public RestPlanner {
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
    // Called when a deck opens, before its log is read.
    void SetDeckStarting(std::function<void()> starting) { starting_ = std::move(starting); }
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

    // New cards a day may bring in; 0 for no limit.
    void SetNewCardsPerDay(int limit) { newCardsPerDay_ = std::max(limit, 0); }
    int NewCardsPerDay() const { return newCardsPerDay_; }
    // New cards brought in on `day`, as the log has it.
    qint64 NewCardsShown(qint32 day);
    qint64 NewCardsLeft(qint32 today) override;

    // The model to keep up to date (null: none); rebuilt from the log at once and whenever a
    // deck opens.
    void SetMemoryModel(MemoryModel *model);
    // The model's due day, once its memory is rebuilt (the card's own due day without a model).
    qint32 DueAfter(const TMondaiSet &card, AnswerKind kind, qint32 today,
                    qint32 dueBefore) override;
    // Waits for a rebuild under way and takes over what it read.
    void FinishRebuild();

private:
    void OpenLog();
    void Report(const QString &path);
    void ReadHistory();
    void StartRebuild();

    const Deck &deck_;
    DayClock today_;
    LogPathFor logPathFor_;
    SecondClock secondOfDay_;
    std::unique_ptr<ReviewLog> log_;
    ReviewHistory history_;
    bool historyRead_ = false;
    std::vector<ReviewEntry> unwritten_; // answers the file lacks, for every rereading
    // Answers given while the log was being read, added to what the read brings.
    std::vector<ReviewEntry> answeredMeanwhile_;
    // Today's new cards as the log's last lines counted them, for the time of the read.
    static constexpr qint32 kNoDay = std::numeric_limits<qint32>::min();
    qint32 countedDay_ = kNoDay;
    qint64 countedNewCards_ = 0;
    bool reported_ = false;
    qint64 sessionAnswers_ = 0;
    int newCardsPerDay_ = 0;
    MemoryModel *memory_ = nullptr;
    Notice notice_;
    std::function<void()> recorded_;
    std::function<void()> starting_;
    struct Rebuild;
    std::unique_ptr<Rebuild> rebuild_;
};
