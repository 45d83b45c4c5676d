#pragma once

#include "deck/deck.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDeadlineTimer>

#include <vector>

// The folded texts of every card (question, answer and reference, the first two ended by their
// own byte) in one block, in deck order, so that a search is one pass over contiguous memory.
// It is built at the first search, in slices, and kept in step with the deck: cards added,
// deleted or taken back are noticed by comparing the deck's cards with a 32-bit tag of each
// indexed card; edited texts are reported through NoteEdited. It needs the folded texts (never
// longer than the stored ones) plus 10 bytes per card, less than the deck file, whose every
// line has six commas, a line end and three numbers besides the texts.
class SearchIndex {
public:
    explicit SearchIndex(const CardOwnerList &cards) : source_(cards) {}

    // A card's texts changed; its entry is folded again at the next Sync.
    void NoteEdited(const TMondaiSet *card);
    // Drops everything (another deck was opened).
    void Forget();
    // Brings the indexed part in line with the deck: entries of cards that were added,
    // removed or edited are replaced. Cheap when nothing changed.
    void Sync();
    // Whether Sync would change anything.
    bool OutOfStep() const;
    // Indexes more cards until the deadline; true when every card is indexed.
    bool Extend(const QDeadlineTimer &deadline);
    bool Complete() const { return complete_ && tags_.size() == source_.size() && edited_.empty(); }

    qsizetype CardCount() const { return qsizetype(tags_.size()); }
    const QByteArray &Blob() const { return blob_; }
    qsizetype EntryStart(qsizetype card) const { return qsizetype(starts_[std::size_t(card)]); }
    // The indexed card whose entry holds blob offset `offset`.
    qsizetype CardAt(qsizetype offset) const;
    // The deck's card at an indexed position (the index is in step after Sync).
    const TMondaiSet *Card(qsizetype index) const { return source_[std::size_t(index)].get(); }
    qsizetype MemoryBytes() const;

private:
    void Truncate(qsizetype cards);
    // Replaces the entries [first, last) by entries for the deck's cards [first, newLast).
    void Replace(qsizetype first, qsizetype last, qsizetype newLast);
    qsizetype FirstDifference() const;

    const CardOwnerList &source_;
    std::vector<quint32> tags_;      // which card each entry was made from
    std::vector<quint32> starts_{0}; // entry starts; the last is the end of the block
    QByteArray blob_;
    std::vector<const TMondaiSet *> edited_;
    bool complete_ = false; // every card was indexed once; later changes are patched in
};
