#include "drill/scheduling.h"

#include "deck/sjis_text.h"

#include <limits>

namespace {

// Shift-JIS history characters.
const QByteArray kRight = QByteArrayLiteral("\x90\xb3"); // 正
const QByteArray kWrong = QByteArrayLiteral("\x8c\xeb"); // 誤

constexpr qsizetype kHistoryKept = 3;
constexpr qsizetype kHistoryCounted = 5;
constexpr qsizetype kRecordQuestionBytes = 12;

// Far beyond any day number, yet exactly representable and safe to convert to qint64.
constexpr double kIntervalCap = 4.0e15;

qint32 NonNegative(qint32 count) {
    return count < 0 ? 0 : count;
}

// Counts read from a file may already sit at the top of the range.
qint32 Incremented(qint32 count) {
    return count == std::numeric_limits<qint32>::max() ? count : count + 1;
}

QByteArray WithNewResult(const QByteArray &result, const QByteArray &history) {
    return sjis::LeftChars(result + history, kHistoryKept);
}

// A history edited by hand may stand in quotes (it held a comma, or began with a quote). The
// marks change the text inside them and store it back through the quoting rule, so the line
// still reads back as the card; a history of marks alone is changed byte for byte as it is.
template <typename Change> void ChangeHistory(TMondaiSet &card, Change change) {
    card.SetField(7, change(Unquote(card.Rireki())));
}

} // namespace

bool IsDue(const TMondaiSet &card, qint32 today) {
    return card.Jikan < today;
}

qint64 ComputeInterval(const TMondaiSet &card) {
    double x =
        (double(NonNegative(card.Seikai)) + 1.0) / (double(NonNegative(card.Fuseikai)) + 1.0) + 1.0;
    const QByteArray counted = sjis::LeftChars(card.Rireki(), kHistoryCounted);
    for (qsizetype pos = 0; pos < counted.size(); pos += sjis::CharLength(counted, pos)) {
        if (counted.mid(pos, 2) == kRight)
            x = x * x * x;
    }
    // x >= 1 always; once it passes the cap (or becomes infinite) the card is out of reach anyway.
    if (!(x < kIntervalCap))
        return qint64(kIntervalCap);
    return qint64(x);
}

void MarkRight(TMondaiSet &card, qint32 today) {
    const qint64 due = qint64(today) + ComputeInterval(card);
    constexpr qint64 latest = std::numeric_limits<qint32>::max();
    card.Jikan = qint32(due > latest ? latest : due);
    card.Seikai = Incremented(card.Seikai);
    ChangeHistory(card, [](const QByteArray &history) { return WithNewResult(kRight, history); });
}

void MarkWrong(TMondaiSet &card) {
    card.Fuseikai = Incremented(card.Fuseikai);
    ChangeHistory(card, [](const QByteArray &history) { return WithNewResult(kWrong, history); });
}

bool UndoRight(TMondaiSet &card) {
    if (card.Seikai <= 0)
        return false;
    card.Jikan = 0;
    card.Seikai -= 1;
    ChangeHistory(card, sjis::DropFirstChar);
    return true;
}

void ResetAllTimes(const CardOwnerList &cards) {
    for (const auto &card : cards)
        card->Jikan = 0;
}

QByteArray FormatCount(qint64 n) {
    const QByteArray digits = QByteArray::number(n);
    if (digits.size() < 3)
        return QByteArray(3 - digits.size(), ' ') + digits;
    if (digits.size() == 3)
        return digits;
    return digits.left(1) + '+';
}

QByteArray RecordText(const TMondaiSet &card) {
    // "   " then "  正:誤 =".
    static const QByteArray separator = QByteArrayLiteral("     \x90\xb3:\x8c\xeb =");
    return sjis::LeftBytes(card.Mondai(), kRecordQuestionBytes) + separator +
           FormatCount(card.Seikai) + " :" + FormatCount(card.Fuseikai);
}

QByteArray DaysText(const TMondaiSet &card, bool doneFlag, qint32 today) {
    static const QByteArray suffix = QByteArrayLiteral("\x93\xfa\x8c\xe3] "); // "日後] "
    const qint64 days = doneFlag ? qint64(card.Jikan) - today : 0;
    return QByteArray::number(days) + suffix;
}
