#include "progress/review_log.h"

#include "drill/day_number.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <array>
#include <cstring>

#include <unistd.h>

namespace {

// Dates outside this range are taken for damage rather than history.
const qint32 kFirstLogDay = DayNumberOf(QDate(1990, 1, 1));
const qint32 kLastLogDay = DayNumberOf(QDate(2200, 12, 31));

char ResultLetter(AnswerKind kind) {
    switch (kind) {
    case AnswerKind::Right:
        return 'R';
    case AnswerKind::Wrong:
        return 'W';
    case AnswerKind::TakenBack:
        break;
    }
    return 'U';
}

bool ResultOfLetter(char letter, AnswerKind *kind) {
    switch (letter) {
    case 'R':
        *kind = AnswerKind::Right;
        return true;
    case 'W':
        *kind = AnswerKind::Wrong;
        return true;
    case 'U':
        *kind = AnswerKind::TakenBack;
        return true;
    default:
        return false;
    }
}

// Reads `count` decimal digits at `at`; -1 when any is not a digit.
int Digits(QByteArrayView text, qsizetype at, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) {
        const char c = text[at + i];
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// A space-separated field starting at *pos; moves *pos past it and one following space.
QByteArrayView NextField(QByteArrayView line, qsizetype *pos) {
    const qsizetype start = *pos;
    qsizetype end = start;
    while (end < line.size() && line[end] != ' ')
        ++end;
    *pos = end + 1;
    return line.sliced(start, end - start);
}

// The value of each lower-case hex digit; 0xff for every other byte.
constexpr std::array<quint8, 256> kHexValue = [] {
    std::array<quint8, 256> table{};
    table.fill(0xff);
    for (int c = '0'; c <= '9'; ++c)
        table[std::size_t(c)] = quint8(c - '0');
    for (int c = 'a'; c <= 'f'; ++c)
        table[std::size_t(c)] = quint8(c - 'a' + 10);
    return table;
}();

// A key of up to 8 hex digits (older logs) or of exactly 16, with an optional "+" after it.
bool ParseKey(QByteArrayView field, ReviewEntry *entry) {
    entry->newCard = field.endsWith('+');
    if (entry->newCard)
        field.chop(1);
    entry->wideKey = field.size() == 16;
    if (field.isEmpty() || (field.size() > 8 && !entry->wideKey))
        return false;
    // Looked up rather than compared: digits and letters come in random order in a hash, and
    // a branch per character would guess wrong half the time.
    quint64 v = 0;
    quint8 bad = 0;
    for (char c : field) {
        const quint8 digit = kHexValue[quint8(c)];
        bad |= digit;
        v = (v << 4) | (digit & 0xf);
    }
    if (bad & 0xf0)
        return false;
    entry->cardKey = v;
    return true;
}

// Turns the date at the start of a line into a day number, remembering the last date read:
// a log holds many lines of the same day in a row.
class DateReader {
public:
    bool Read(QByteArrayView line, qint32 *day) {
        const QByteArrayView date = line.first(10);
        if (date == QByteArrayView(last_, 10)) {
            *day = lastDay_;
            return true;
        }
        if (date[4] != '-' || date[7] != '-')
            return false;
        const QDate parsed(Digits(date, 0, 4), Digits(date, 5, 2), Digits(date, 8, 2));
        if (!parsed.isValid())
            return false;
        const qint32 number = DayNumberOf(parsed);
        if (number < kFirstLogDay || number > kLastLogDay)
            return false;
        std::copy(date.begin(), date.end(), last_);
        lastDay_ = number;
        *day = number;
        return true;
    }

private:
    char last_[10] = {};
    qint32 lastDay_ = 0;
};

bool ParseLine(QByteArrayView line, DateReader &dates, ReviewEntry *entry) {
    // Date, time, result, two due days and the key: at least 29 characters.
    if (line.size() < 29 || line[10] != ' ' || line[13] != ':' || line[16] != ':' ||
        line[19] != ' ')
        return false;
    const int hour = Digits(line, 11, 2), minute = Digits(line, 14, 2),
              second = Digits(line, 17, 2);
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 60)
        return false;
    if (!dates.Read(line, &entry->day))
        return false;
    entry->secondOfDay = std::min(hour * 3600 + minute * 60 + second, 86399);
    qsizetype pos = 20;
    const QByteArrayView result = NextField(line, &pos);
    if (result.size() != 1 || !ResultOfLetter(result[0], &entry->kind))
        return false;
    if (!ParseInt32(NextField(line, &pos), &entry->dueBefore) ||
        !ParseInt32(NextField(line, &pos), &entry->dueAfter))
        return false;
    return ParseKey(NextField(line, &pos), entry) && pos >= line.size();
}

} // namespace

namespace {

// FNV-1a over question, a separator and answer, from the offset basis `hash`.
quint32 HashCard(const TMondaiSet &card, quint32 hash) {
    auto feed = [&hash](QByteArrayView bytes) {
        for (char c : bytes) {
            hash ^= quint8(c);
            hash *= 16777619u;
        }
    };
    if (HasSioriMark(card)) {
        TMondaiSet plain(card.Mondai(), {}, {}, 0, 0, 0, {});
        RemoveSioriMark(plain);
        feed(plain.Mondai());
    } else {
        feed(card.Mondai());
    }
    feed(QByteArrayView("\0", 1));
    feed(card.Kaitou());
    return hash;
}

} // namespace

quint32 ReviewCardKey(const TMondaiSet &card) {
    return HashCard(card, 2166136261u);
}

quint64 ReviewCardKey64(const TMondaiSet &card) {
    // A different basis, mixed once more, gives a high half unrelated to the low one.
    quint32 high = HashCard(card, 0x9e3779b9u);
    high ^= high >> 16;
    high *= 0x85ebca6bu;
    high ^= high >> 13;
    return (quint64(high) << 32) | ReviewCardKey(card);
}

QByteArray FormatReviewLine(const ReviewEntry &entry) {
    const QDate date = QDate(1899, 12, 30).addDays(entry.day);
    const int s = entry.secondOfDay;
    char text[96];
    const int n =
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d %c %d %d ", date.year(),
                      date.month(), date.day(), s / 3600, s / 60 % 60, s % 60,
                      ResultLetter(entry.kind), int(entry.dueBefore), int(entry.dueAfter));
    QByteArray line(text, n);
    line += QByteArray::number(entry.cardKey, 16).rightJustified(entry.wideKey ? 16 : 8, '0');
    if (entry.newCard)
        line += '+';
    return line + '\n';
}

// ---------------------------------------------------------------- history

void ReviewHistory::Add(const ReviewEntry &entry) {
    if (days_.empty()) {
        firstDay_ = entry.day;
    } else if (entry.day < firstDay_) {
        days_.insert(days_.begin(), std::size_t(firstDay_ - entry.day), DayTally{});
        firstDay_ = entry.day;
    }
    const std::size_t at = std::size_t(entry.day - firstDay_);
    if (at >= days_.size())
        days_.resize(at + 1);
    DayTally &tally = days_[at];
    switch (entry.kind) {
    case AnswerKind::Right:
        ++tally.right;
        break;
    case AnswerKind::Wrong:
        ++tally.wrong;
        break;
    case AnswerKind::TakenBack:
        ++tally.takenBack;
        break;
    }
    if (entry.newCard)
        tally.newCards += entry.kind == AnswerKind::TakenBack ? -1 : 1;
    ++entries_;
}

DayTally ReviewHistory::Day(qint32 day) const {
    if (days_.empty() || day < firstDay_ || day - firstDay_ >= qint64(days_.size()))
        return {};
    return days_[std::size_t(day - firstDay_)];
}

namespace {

using EachEntry = std::function<void(const ReviewEntry &)>;

// The longest line the log's format allows is under a hundred characters; a longer run without
// a line end is no entry, however it ends.
constexpr qsizetype kLongestLine = 4096;

// Reads the whole lines of `text` into `history`; returns where the rest after the last line
// end begins.
qsizetype ParseLines(QByteArrayView text, DateReader &dates, ReviewHistory &history,
                     const EachEntry &each) {
    ReviewEntry entry;
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype newline = text.indexOf('\n', pos);
        if (newline < 0)
            break;
        QByteArrayView line = text.sliced(pos, newline - pos);
        pos = newline + 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line[0] == '#')
            continue;
        if (ParseLine(line, dates, &entry)) {
            history.Add(entry);
            if (each)
                each(entry);
        } else
            history.CountSkipped();
    }
    return pos;
}

// The new cards of `day` in the whole lines of `text`, read from the end; *complete when a line
// of an earlier day was met (nothing before it can count).
qint64 CountNewCardsAtEnd(QByteArrayView text, qint32 day, bool *complete) {
    qint64 count = 0;
    DateReader dates;
    ReviewEntry entry;
    *complete = false;
    qsizetype end = text.lastIndexOf('\n');
    while (end >= 0) {
        const qsizetype start = end > 0 ? text.lastIndexOf('\n', end - 1) + 1 : 0;
        QByteArrayView line = text.sliced(start, end - start);
        end = start - 1;
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line[0] == '#' || !ParseLine(line, dates, &entry))
            continue;
        if (entry.day < day) {
            *complete = true;
            break;
        }
        if (entry.day == day && entry.newCard)
            count += entry.kind == AnswerKind::TakenBack ? -1 : 1;
    }
    return count;
}

qint64 LogSize(const QFile &file, qint64 upTo) {
    return std::min(std::clamp<qint64>(upTo, 0, MaxReviewLogBytes), file.size());
}

} // namespace

ReviewHistory ParseReviewLog(QByteArrayView text) {
    return ParseReviewLog(text, {});
}

ReviewHistory ParseReviewLog(QByteArrayView text, const EachEntry &each) {
    ReviewHistory history;
    DateReader dates;
    // A last line without its line end was cut off while it was written.
    if (ParseLines(text, dates, history, each) < text.size())
        history.CountSkipped();
    return history;
}

ReviewHistory ReadReviewLog(const QString &path, const EachEntry &each, qint64 upTo) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Copied a piece at a time into one buffer rather than mapped: a mapped file that another
    // program cuts short meanwhile would end this program.
    constexpr qint64 kPiece = qint64(1) << 20;
    qint64 left = LogSize(file, upTo);
    ReviewHistory history;
    DateReader dates;
    QByteArray buffer(kPiece + kLongestLine, Qt::Uninitialized);
    qsizetype kept = 0;    // the start of a line whose end is still to come
    bool overlong = false; // in a run too long to be a line, until its line end
    while (left > 0) {
        const qint64 got = file.read(buffer.data() + kept, std::min(kPiece, left));
        if (got <= 0)
            break;
        left -= got;
        QByteArrayView text(buffer.constData(), kept + got);
        if (overlong) {
            const qsizetype newline = text.indexOf('\n');
            text = newline < 0 ? QByteArrayView() : text.sliced(newline + 1);
            overlong = newline < 0;
        }
        const qsizetype rest = ParseLines(text, dates, history, each);
        kept = text.size() - rest;
        if (kept > kLongestLine) {
            history.CountSkipped();
            overlong = true;
            kept = 0;
        }
        if (kept > 0)
            std::memmove(buffer.data(), text.data() + rest, std::size_t(kept));
    }
    // A last line without its line end was cut off while it was written (an overlong run has
    // been counted already).
    if (kept > 0)
        history.CountSkipped();
    return history;
}

qint64 NewCardsAtEnd(QByteArrayView text, qint32 day) {
    bool complete = false;
    return CountNewCardsAtEnd(text, day, &complete);
}

qint64 ReadNewCardsAtEnd(const QString &path, qint32 day, qint64 upTo) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const qint64 size = LogSize(file, upTo);
    // The last lines, more of them until a line of an earlier day comes up: a day's answers
    // are a small part of a long log.
    for (qint64 window = qint64(64) << 10;; window *= 4) {
        const qint64 from = std::max<qint64>(size - window, 0);
        if (!file.seek(from))
            return 0;
        QByteArrayView text;
        const QByteArray read = file.read(size - from);
        text = read;
        // The first line of the window may be cut: it is read with the next, wider window.
        if (from > 0)
            text = text.sliced(std::min(text.indexOf('\n') + 1, text.size()));
        bool complete = false;
        const qint64 count = CountNewCardsAtEnd(text, day, &complete);
        if (complete || from == 0)
            return count;
    }
}

// ---------------------------------------------------------------- the file

ReviewLog::ReviewLog(QString path, QString deckPath)
    : path_(std::move(path)), deckPath_(std::move(deckPath)) {}

ReviewLog::~ReviewLog() {
    Sync();
}

QString ReviewLog::PathForDeck(const QString &deckPath) {
    const QFileInfo info(deckPath);
    const QString full = info.absoluteFilePath();
    const QByteArray digest =
        QCryptographicHash::hash(full.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    // The deck's name first, so that a person looking into the folder finds their deck.
    const QString name = info.completeBaseName().left(40);
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) +
           QStringLiteral("/review-logs/") + name + u'-' + QString::fromLatin1(digest) +
           QStringLiteral(".log");
}

bool ReviewLog::Open() {
    if (file_.isOpen())
        return true;
    if (!QDir().mkpath(QFileInfo(path_).absolutePath()))
        return false;
    file_.setFileName(path_);
    return file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered);
}

bool ReviewLog::Append(const ReviewEntry &entry) {
    const bool fresh = !file_.isOpen();
    if (!Open())
        return false;
    QByteArray text;
    if (fresh) {
        const qint64 size = file_.size();
        if (size == 0) {
            text = "# Kardeon review log of " + deckPath_.toUtf8().replace('\n', ' ') + '\n';
        } else {
            // A line cut off by a crash stays a line of its own; this one starts afresh.
            QFile reader(path_);
            if (reader.open(QIODevice::ReadOnly) && reader.seek(size - 1) && reader.read(1) != "\n")
                text = "\n";
        }
    }
    text += FormatReviewLine(entry);
    // One write of the whole line: an append-mode file puts it at the end in one piece.
    if (file_.write(text) != text.size()) {
        file_.close();
        return false;
    }
    unsynced_ = true;
    return true;
}

bool ReviewLog::Sync() {
    if (!unsynced_ || !file_.isOpen())
        return true;
    unsynced_ = false;
    return ::fsync(file_.handle()) == 0;
}
