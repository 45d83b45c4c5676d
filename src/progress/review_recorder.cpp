#include "progress/review_recorder.h"

#include <QDir>
#include <QFileInfo>
#include <QTime>

#include <atomic>
#include <thread>

// What a thread reads from the log while the deck's first card is already shown.
struct ReviewRecorder::Rebuild {
    qint64 logSize = 0; // what the log held when the deck opened: all the thread reads
    ReviewHistory history;
    MemoryModel memory;
    std::atomic<bool> done{false};
    std::thread thread;
};

ReviewRecorder::ReviewRecorder(const Deck &deck, DayClock today, LogPathFor logPathFor,
                               SecondClock secondOfDay)
    : deck_(deck), today_(std::move(today)), logPathFor_(std::move(logPathFor)),
      secondOfDay_(std::move(secondOfDay)) {}

ReviewRecorder::~ReviewRecorder() {
    // The model may already be gone: only the thread is waited for.
    if (rebuild_)
        rebuild_->thread.join();
}

int ReviewRecorder::CurrentSecondOfDay() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000;
}

QString ReviewRecorder::LogPath() const {
    return log_ ? log_->Path() : QString();
}

void ReviewRecorder::OpenLog() {
    if (!deck_.FileName().isEmpty())
        log_ = std::make_unique<ReviewLog>(logPathFor_(deck_.FileName()), deck_.FileName());
}

void ReviewRecorder::DeckStarted() {
    FinishRebuild();
    Sync();
    log_.reset();
    OpenLog();
    if (starting_)
        starting_();
    history_ = {};
    historyRead_ = false;
    unwritten_.clear();
    reported_ = false;
    sessionAnswers_ = 0;
    answeredMeanwhile_.clear();
    StartRebuild();
    // The limit of the first pass needs only today's lines, at the log's end. Without a limit
    // nothing is counted (a limit set meanwhile waits for the read), and no earlier deck's count
    // stays behind.
    countedDay_ = kNoDay;
    countedNewCards_ = 0;
    if (newCardsPerDay_ > 0 && rebuild_) {
        countedDay_ = today_();
        countedNewCards_ = ReadNewCardsAtEnd(log_->Path(), countedDay_, rebuild_->logSize);
    }
}

void ReviewRecorder::CardAnswered(const TMondaiSet &card, AnswerKind kind, qint32 dueBefore) {
    // The model follows the answer from the card's rebuilt memory; without one, the answer is
    // written at once and added to the history when its read ends.
    if (memory_)
        FinishRebuild();
    if (!log_)
        OpenLog(); // a deck opened before the recorder was told
    sessionAnswers_ += kind == AnswerKind::TakenBack ? -1 : 1;
    sessionAnswers_ = std::max<qint64>(sessionAnswers_, 0);
    const ReviewEntry entry{today_(),   std::clamp(secondOfDay_(), 0, 86399),
                            kind,       dueBefore,
                            card.Jikan, ReviewCardKey64(card),
                            true,       AnswerTouchedNewCard(card, kind)};
    if (memory_)
        memory_->Answered(card, kind, entry.day, dueBefore);
    const bool written = log_ && log_->Append(entry);
    if (rebuild_) {
        answeredMeanwhile_.push_back(entry);
        if (entry.newCard && entry.day == countedDay_)
            countedNewCards_ += kind == AnswerKind::TakenBack ? -1 : 1;
    } else if (historyRead_) {
        history_.Add(entry);
    }
    if (!written)
        unwritten_.push_back(entry);
    if (!written && log_)
        Report(log_->Path());
    if (recorded_)
        recorded_();
}

bool ReviewRecorder::Sync() {
    if (!log_ || log_->Sync())
        return true;
    Report(log_->Path());
    return false;
}

bool ReviewRecorder::HistoryReady() const {
    return !rebuild_ || rebuild_->done.load(std::memory_order_acquire);
}

const ReviewHistory &ReviewRecorder::History() {
    FinishRebuild();
    if (!historyRead_)
        ReadHistory();
    return history_;
}

void ReviewRecorder::ReadHistory() {
    if (!log_)
        OpenLog();
    if (memory_)
        memory_->Clear();
    if (log_)
        history_ = memory_ ? RebuildMemory(log_->Path(), *memory_) : ReadReviewLog(log_->Path());
    else
        history_ = {};
    for (const ReviewEntry &entry : unwritten_) {
        history_.Add(entry);
        if (memory_)
            memory_->Replay(entry);
    }
    historyRead_ = true;
}

qint64 ReviewRecorder::NewCardsShown(qint32 day) {
    if (rebuild_ && day == countedDay_ && !HistoryReady())
        return std::max<qint64>(countedNewCards_, 0);
    return std::max(History().Day(day).newCards, 0);
}

qint64 ReviewRecorder::NewCardsLeft(qint32 today) {
    if (newCardsPerDay_ <= 0)
        return -1;
    return std::max<qint64>(newCardsPerDay_ - NewCardsShown(today), 0);
}

void ReviewRecorder::SetMemoryModel(MemoryModel *model) {
    FinishRebuild();
    memory_ = model;
    if (memory_)
        ReadHistory();
}

void ReviewRecorder::Report(const QString &path) {
    if (reported_ || !notice_)
        return;
    reported_ = true;
    notice_(UnwritableNotice(),
            QStringLiteral("書き込めなかったファイル: %1\n学習はそのまま続けられます。")
                .arg(QDir::toNativeSeparators(path)));
}

QString ReviewRecorder::UnwritableNotice() {
    return QStringLiteral("学習の記録を書き込めません。");
}

void ReviewRecorder::StartRebuild() {
    if (!log_)
        OpenLog();
    if (!log_)
        return;
    rebuild_ = std::make_unique<Rebuild>();
    Rebuild *target = rebuild_.get();
    const bool withModel = memory_ != nullptr;
    if (withModel) {
        target->memory.SetParameters(memory_->Parameters());
        target->memory.SetRetention(memory_->Retention());
    }
    const QString path = log_->Path();
    // Answers appended from now on are added from answeredMeanwhile_, not read.
    const qint64 size = target->logSize = QFileInfo(path).size();
    // The thread touches nothing but what it was given until FinishRebuild joins it.
    target->thread = std::thread([target, path, size, withModel] {
        target->history =
            withModel ? RebuildMemory(path, target->memory, size) : ReadReviewLog(path, {}, size);
        target->done.store(true, std::memory_order_release);
    });
}

void ReviewRecorder::FinishRebuild() {
    if (!rebuild_)
        return;
    rebuild_->thread.join();
    history_ = std::move(rebuild_->history);
    if (memory_)
        memory_->TakeMemories(rebuild_->memory);
    historyRead_ = true;
    rebuild_.reset();
    // With a model, an answer waits for the read (above), so these are none of its business.
    for (const ReviewEntry &entry : answeredMeanwhile_)
        history_.Add(entry);
    answeredMeanwhile_.clear();
}

qint32 ReviewRecorder::DueAfter(const TMondaiSet &card, AnswerKind kind, qint32 today,
                                qint32 dueBefore) {
    FinishRebuild();
    return memory_ ? memory_->DueAfter(card, kind, today, dueBefore) : card.Jikan;
}
