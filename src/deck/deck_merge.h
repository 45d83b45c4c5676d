#pragma once

#include "deck/deck.h"
#include "deck/merge_base.h"

#include <QByteArray>
#include <QByteArrayView>

#include <optional>
#include <vector>

// The hash that tells a card's question, answer and reference apart from other cards'.
quint64 CardTextHash(const TMondaiSet &card);

struct MergeResult {
    CardOwnerList cards;           // the merged deck, deck order
    qsizetype fromTheirs = 0;      // cards added or changed by the other side
    qsizetype removedByTheirs = 0; // cards of ours the other side deleted
    // Indices in `cards` of the cards the user must look at: texts edited apart on both sides
    // (both versions kept), or edited on one side and deleted on the other (kept).
    std::vector<qsizetype> conflicts;
};

// Merges two versions of a deck card by card. Cards are told apart by their texts, the n-th card
// of equal texts matching the n-th on the other side; their order on each side against the base
// tells moves, inserts and deletes from edits.
//
// With a base (the deck both sides started from): a change made on one side is taken; records
// changed on both sides add up both sides' new answers, keep the earlier due day and the history
// of the side that answered more; texts edited apart, or edited against a delete, keep both.
// Without one: a card on one side only is kept; records that differ take each count's larger
// value, the earlier due day and the history of the side with more answers; cards that differ
// at the same place are all kept and listed.
//
// The result is the same whichever side is `ours` (up to the counts fromTheirs and
// removedByTheirs); merging with an unchanged side gives the other side. Cards are moved out of
// `ours` and `theirs` into the result, so a card of ours that is kept is the same object.
MergeResult MergeDecks(const MergeBase *base, CardOwnerList &ours, CardOwnerList &theirs);

// The open deck as it was last read or saved, for merging: kept by the save, else worked out
// from the lines read. Nothing when neither is known (a deck saved elsewhere, then converted).
std::optional<MergeBase> BaseOfDeck(const Deck &deck);

// A version of a deck file known here: its content hash and what a merge needs of it.
struct DeckVersion {
    quint64 hash = 0;
    MergeBase base;
};

// Whether `cards` can have started from `base`: answers are only ever added, so no card of the
// base has more right or wrong answers than the same card (same texts, same occurrence) there.
bool CanHaveStartedFrom(const CardOwnerList &cards, const MergeBase &base);

// A file merged into the open deck.
struct FileMerge {
    FileResult result;        // not ok: nothing merged, the message says why
    qsizetype fromTheirs = 0; // cards added or changed by the file
    qsizetype removedByTheirs = 0;
    std::vector<const TMondaiSet *> conflicts; // cards of the deck the user must look at
    quint64 hash = 0;                          // of the file merged
};

// Reads the deck file at `path` and merges its cards into the open deck's. The base is the most
// recent of the `known` versions (most recent first) that both can have started from, other
// than the file's own version (a sync tool's conflict copy went apart from the file beside it).
// None: the two-way rule. A file that is not a deck, or holds no
// card, is refused.
// When `path` is the deck's own file, the file as read becomes what the deck was last read
// from (lines, stamp and base), so that saving the merge overwrites it without asking.
// The drill must let go of every card it holds first: cards of the deck may go.
FileMerge MergeFileIntoDeck(Deck &deck, const QString &path, const std::vector<DeckVersion> &known);
