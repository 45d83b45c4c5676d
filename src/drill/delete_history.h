#pragma once

#include "deck/card.h"
#include "drill/drill_spot.h"

#include <QtGlobal>

#include <deque>
#include <memory>

// A card taken out of the deck by a delete, kept whole so that the delete can be taken back:
// where it stood in the deck and in the pass, whether it held the bookmark, and where the drill
// stood just before and just after the delete.
struct DeletedCard {
    std::unique_ptr<TMondaiSet> card;
    qsizetype deckIndex = 0;
    const TMondaiSet *nextInDeck = nullptr; // the card that followed it; null at the end
    bool inPass = false;
    qsizetype passIndex = 0;
    const TMondaiSet *nextInPass = nullptr;
    bool heldBookmark = false;
    DrillSpot before;
    DrillSpot after;
};

// The deletes that can still be taken back, newest first, at most Capacity of them; the oldest
// card goes for good when a newer delete needs its place.
class DeleteHistory {
public:
    static constexpr std::size_t Capacity = 100;

    void Push(DeletedCard deleted);
    // The newest delete, taken out of the history; empty card when there is none.
    DeletedCard Pop();
    void Clear() { entries_.clear(); }
    bool Empty() const { return entries_.empty(); }
    std::size_t Size() const { return entries_.size(); }
    // The newest entry, to amend the drill's position once the delete has settled.
    DeletedCard &Newest() { return entries_.front(); }

private:
    std::deque<DeletedCard> entries_; // newest first
};
