#include "monkey/deck_invariants.h"

#include <algorithm>
#include <set>

namespace {

QByteArray WithoutMarks(QByteArray text) {
    return text.replace(SioriMark(), QByteArray());
}

QString Describe(const TMondaiSet &card) {
    return QStringLiteral("[%1]").arg(
        QString::fromLatin1(RenderCardLine(card).left(120).toHex(' ')));
}

bool SameCard(const TMondaiSet &a, const TMondaiSet &b) {
    return a.Mondai() == b.Mondai() && a.Kaitou() == b.Kaitou() && a.Sankou() == b.Sankou() &&
           a.Jikan == b.Jikan && a.Seikai == b.Seikai && a.Fuseikai == b.Fuseikai &&
           a.Rireki() == b.Rireki();
}

// Compares the memory's cards with the cards read from `lines`.
QString CompareWithRead(const Deck &deck, const DeckLines &lines, qint32 today, const char *what) {
    Deck read;
    read.SetSavedLines(lines);
    CardRefList queue;
    ParseDeck(read, today, queue);
    if (read.Cards().size() != deck.Cards().size())
        return QStringLiteral("%1: %2 cards read back, %3 in memory")
            .arg(QLatin1String(what))
            .arg(read.Cards().size())
            .arg(deck.Cards().size());
    for (size_t i = 0; i < deck.Cards().size(); ++i)
        if (!SameCard(*deck.Cards()[i], *read.Cards()[i]))
            return QStringLiteral("%1: card %2 reads back as %3, memory holds %4")
                .arg(QLatin1String(what))
                .arg(i + 1)
                .arg(Describe(*read.Cards()[i]), Describe(*deck.Cards()[i]));
    return {};
}

} // namespace

CardTextMap SnapshotTexts(const Deck &deck) {
    CardTextMap texts;
    for (const auto &card : deck.Cards())
        texts[card.get()] = {WithoutMarks(card->Mondai()), WithoutMarks(card->Kaitou()),
                             WithoutMarks(card->Sankou())};
    return texts;
}

CardRecordMap SnapshotRecords(const Deck &deck) {
    CardRecordMap records;
    for (const auto &card : deck.Cards())
        records[card.get()] = {card->Jikan, card->Seikai, card->Fuseikai, card->Rireki()};
    return records;
}

QString CheckRoundTrip(const Deck &deck, qint32 today) {
    QByteArray bytes;
    for (const auto &card : deck.Cards()) {
        const QByteArray line = RenderCardLine(*card);
        if (line.contains('\r') || line.contains('\n'))
            return QStringLiteral("a card renders with a line break: %1").arg(Describe(*card));
        bytes += line + "\r\n";
    }
    return CompareWithRead(deck, DeckLines::FromFileBytes(bytes), today, "rendered lines");
}

QString CheckFileMatches(const Deck &deck, qint32 today) {
    DeckLines lines;
    const FileResult read = ReadDeckFile(deck.FileName(), &lines);
    if (!read.ok)
        return QStringLiteral("the saved deck cannot be read: ") + read.error;
    return CompareWithRead(deck, lines, today, "saved file");
}

QString CheckQueue(const Deck &deck, const Drill &drill) {
    std::set<const TMondaiSet *> cards;
    for (const auto &card : deck.Cards())
        cards.insert(card.get());
    std::set<const TMondaiSet *> queued;
    for (const TMondaiSet *card : drill.Queue()) {
        if (!cards.count(card))
            return QStringLiteral("the queue holds a card that is not in the deck");
        if (!queued.insert(card).second)
            return QStringLiteral("the queue holds a card twice");
    }
    if (drill.Current() && !cards.count(drill.Current()))
        return QStringLiteral("the current card is not in the deck");
    if (drill.BookmarkCard() && !cards.count(drill.BookmarkCard()))
        return QStringLiteral("the bookmark points at a card that is not in the deck");
    // Past the end is allowed: after a delete the next step starts the pass again.
    if (drill.QueuePos() < 0 || drill.QueuePos() > qsizetype(deck.Cards().size()) + 1)
        return QStringLiteral("queue position %1 outside a queue of %2")
            .arg(drill.QueuePos())
            .arg(drill.Queue().size());
    return {};
}

QString CheckTextChanges(const CardTextMap &before, const CardTextMap &after,
                         const std::vector<const TMondaiSet *> &mayChange) {
    int gone = 0;
    for (const auto &[card, texts] : before) {
        const auto now = after.find(card);
        if (now == after.end()) {
            ++gone;
            continue;
        }
        if (now->second != texts &&
            std::find(mayChange.begin(), mayChange.end(), card) == mayChange.end())
            return QStringLiteral("a card the step did not touch changed: \"%1\" -> \"%2\"")
                .arg(QString::fromLatin1(texts.question.left(60).toHex(' ')),
                     QString::fromLatin1(now->second.question.left(60).toHex(' ')));
    }
    if (gone > 1)
        return QStringLiteral("%1 cards went away in one step").arg(gone);
    return {};
}

QString CheckRecordChanges(const CardRecordMap &before, const CardRecordMap &after,
                           const std::vector<const TMondaiSet *> &mayChange, bool resetConfirmed) {
    if (resetConfirmed)
        return {};
    for (const auto &[card, record] : before) {
        const auto now = after.find(card);
        if (now == after.end() || now->second == record ||
            std::find(mayChange.begin(), mayChange.end(), card) != mayChange.end())
            continue;
        const CardRecord &changed = now->second;
        return QStringLiteral("the record of a card the step did not mark, edit or reset "
                              "changed: due %1 -> %2, right %3 -> %4, wrong %5 -> %6, "
                              "history \"%7\" -> \"%8\"")
            .arg(record.due)
            .arg(changed.due)
            .arg(record.right)
            .arg(changed.right)
            .arg(record.wrong)
            .arg(changed.wrong)
            .arg(QString::fromLatin1(record.history.toHex(' ')),
                 QString::fromLatin1(changed.history.toHex(' ')));
    }
    return {};
}
