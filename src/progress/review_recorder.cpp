#include "progress/review_recorder.h"

#include <QDir>
#include <QFileInfo>
#include <QTime>

ReviewRecorder::ReviewRecorder(const Deck &deck, DayClock today, LogPathFor logPathFor,
                               SecondClock secondOfDay)
    : deck_(deck), today_(std::move(today)), logPathFor_(std::move(logPathFor)),
      secondOfDay_(std::move(secondOfDay)) {}

ReviewRecorder::~ReviewRecorder() {
    if (reading_.valid())
        reading_.wait();
}

int ReviewRecorder::CurrentSecondOfDay() {
    return QTime::currentTime().msecsSinceStartOfDay() / 1000;
}

QString ReviewRecorder::LogPath() const {
    return log_ ? log_->Path() : QString();
}

void ReviewRecorder::OpenLog() {
    if (!deck_.DeckFileName.isEmpty())
        log_ = std::make_unique<ReviewLog>(logPathFor_(deck_.DeckFileName), deck_.DeckFileName);
}

void ReviewRecorder::DeckStarted() {
    Sync();
    if (reading_.valid())
        reading_.wait(); // the last deck's read, no longer wanted
    reading_ = {};
    log_.reset();
    OpenLog();
    history_ = {};
    historyRead_ = false;
    unwritten_.clear();
    reported_ = false;
    sessionAnswers_ = 0;
    StartReading();
}

void ReviewRecorder::StartReading() {
    if (!log_)
        return;
    const QString path = log_->Path();
    const qint64 size = QFileInfo(path).size();
    reading_ = std::async(std::launch::async, [path, size] { return ReadReviewLog(path, size); });
}

void ReviewRecorder::CardAnswered(const TMondaiSet &card, AnswerKind kind, qint32 dueBefore) {
    if (!log_)
        OpenLog(); // a deck opened before the recorder was told
    sessionAnswers_ += kind == AnswerKind::TakenBack ? -1 : 1;
    sessionAnswers_ = std::max<qint64>(sessionAnswers_, 0);
    const ReviewEntry entry{today_(),   std::clamp(secondOfDay_(), 0, 86399),
                            kind,       dueBefore,
                            card.Jikan, ReviewCardKey(card)};
    const bool written = log_ && log_->Append(entry);
    if (historyRead_)
        history_.Add(entry);
    else if (!written || reading_.valid())
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
    return !reading_.valid() ||
           reading_.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

const ReviewHistory &ReviewRecorder::History() {
    if (!historyRead_) {
        if (!log_)
            OpenLog();
        if (reading_.valid())
            history_ = reading_.get();
        else
            history_ = log_ ? ReadReviewLog(log_->Path()) : ReviewHistory{};
        for (const ReviewEntry &entry : unwritten_)
            history_.Add(entry);
        unwritten_.clear();
        historyRead_ = true;
    }
    return history_;
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
