#pragma once

#include "drill/answer_observer.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QFile>
#include <QString>

#include <functional>
#include <vector>

// One line of a review log: when, what, and the card's due day before and after.
struct ReviewEntry {
    qint32 day = 0;         // local date as a day number
    qint32 secondOfDay = 0; // local time, 0..86399
    AnswerKind kind = AnswerKind::Right;
    qint32 dueBefore = 0;
    qint32 dueAfter = 0;
    quint64 cardKey = 0;
    // Logs written before keys became 64-bit hold the low half only (ReviewCardKey).
    bool wideKey = false;
    // できた or a pass on a new card, or a take-back that left the card new again: these lines
    // count the new cards a day brought in.
    bool newCard = false;
};

// A card's key in the log: the same question and answer give the same key in every run, and a
// bookmark marker in the question does not change it.
quint32 ReviewCardKey(const TMondaiSet &card);
// The key written today: a second, independent hash above ReviewCardKey, so that a 1M-card deck
// has no collisions to speak of while an older log's 32-bit key still names its card.
quint64 ReviewCardKey64(const TMondaiSet &card);

// "2026-12-09 15:20:33 R 46000 46027 1a2b3c4d5e6f7081\n"; results R (できた), W (passed),
// U (taken back); a key ending in "+" marks a line that counts a new card. Older logs have
// 8-digit keys.
QByteArray FormatReviewLine(const ReviewEntry &entry);

// The answers of one day.
struct DayTally {
    qint32 right = 0;
    qint32 wrong = 0;
    qint32 takenBack = 0;
    qint32 newCards = 0; // new cards brought in (a take-back that leaves a card new returns one)
    // Right answers that stood: a take-back cancels one.
    qint32 RightKept() const { return right > takenBack ? right - takenBack : 0; }
    qint32 Reviews() const { return RightKept() + wrong; }
};

// What a log says per day. Lines that do not read as entries are counted and passed over.
class ReviewHistory {
public:
    void Add(const ReviewEntry &entry);
    DayTally Day(qint32 day) const;
    qint64 Entries() const { return entries_; }
    qint64 SkippedLines() const { return skipped_; }
    void CountSkipped() { ++skipped_; }

private:
    qint32 firstDay_ = 0;
    std::vector<DayTally> days_; // index: day - firstDay_
    qint64 entries_ = 0;
    qint64 skipped_ = 0;
};

constexpr qint64 MaxReviewLogBytes = qint64(256) << 20;

// Reads a log's text as far as it makes sense: comment lines (#), blank, cut-off or garbled
// lines and impossible dates are skipped, everything else counts.
ReviewHistory ParseReviewLog(QByteArrayView text);
// The same pass, handing every entry read to `each` in the log's order.
ReviewHistory ParseReviewLog(QByteArrayView text,
                             const std::function<void(const ReviewEntry &)> &each);
// A missing file is an empty history; logs above MaxReviewLogBytes are read up to that size, and
// a log is read no further than `upTo` bytes (what it held when the read was asked for).
ReviewHistory ReadReviewLog(const QString &path,
                            const std::function<void(const ReviewEntry &)> &each = {},
                            qint64 upTo = MaxReviewLogBytes);

// The new cards `day` brought in, as the last lines of a log tell it: read backwards from the
// end up to the first line of an earlier day (the lines of one day come together at the end of
// a log written in time order). Much quicker than the whole log when only today is wanted.
qint64 NewCardsAtEnd(QByteArrayView text, qint32 day);
// The same for the log file, read no further than `upTo` bytes; 0 for a missing file.
qint64 ReadNewCardsAtEnd(const QString &path, qint32 day, qint64 upTo = MaxReviewLogBytes);

// The log file of one deck, appended to one whole line per write.
class ReviewLog {
public:
    explicit ReviewLog(QString path, QString deckPath = {});
    ~ReviewLog();
    ReviewLog(const ReviewLog &) = delete;
    ReviewLog &operator=(const ReviewLog &) = delete;

    // Where the log of the deck at `deckPath` lives, under the user's data folder.
    static QString PathForDeck(const QString &deckPath);

    const QString &Path() const { return path_; }
    // Appends one line with a single write; false when the file cannot be opened or written.
    bool Append(const ReviewEntry &entry);
    // Forces what was appended onto the disk; false on failure.
    bool Sync();

private:
    bool Open();

    QString path_;
    QString deckPath_;
    QFile file_;
    bool unsynced_ = false;
};
