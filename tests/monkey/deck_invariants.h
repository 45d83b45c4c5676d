#pragma once

#include "deck/deck.h"
#include "drill/drill.h"

#include <QString>

#include <map>

// The texts of a card a user can change by hand, with bookmark markers taken out (setting a
// bookmark on one card moves the marker off another).
struct CardTexts {
    QByteArray question, answer, reference;
    friend bool operator==(const CardTexts &, const CardTexts &) = default;
};
using CardTextMap = std::map<const TMondaiSet *, CardTexts>;
CardTextMap SnapshotTexts(const Deck &deck);

// A card's learning record: due day, counts and answer history.
struct CardRecord {
    qint32 due = 0, right = 0, wrong = 0;
    QByteArray history;
    friend bool operator==(const CardRecord &, const CardRecord &) = default;
};
using CardRecordMap = std::map<const TMondaiSet *, CardRecord>;
CardRecordMap SnapshotRecords(const Deck &deck);

// Each returns an empty string when the rule holds, else what is wrong.
// The deck renders to lines the reader turns back into the same cards.
QString CheckRoundTrip(const Deck &deck, qint32 today);
// The deck file reads back as exactly the cards in memory.
QString CheckFileMatches(const Deck &deck, qint32 today);
// The queue refers to distinct cards of the deck and the current card is one of them.
QString CheckQueue(const Deck &deck, const Drill &drill);
// Texts changed only on the cards in `mayChange`; no more than one card went away.
QString CheckTextChanges(const CardTextMap &before, const CardTextMap &after,
                         const std::vector<const TMondaiSet *> &mayChange);
// Records changed only on the cards in `mayChange` (marked by the drill or edited by hand), or
// on any card once the user confirmed a reset.
QString CheckRecordChanges(const CardRecordMap &before, const CardRecordMap &after,
                           const std::vector<const TMondaiSet *> &mayChange, bool resetConfirmed);
