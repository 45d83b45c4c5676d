// The card merge on random edits made on two sides of one deck: no card text either side holds
// is lost, no text comes from nowhere, and the result does not depend on which side is ours.
#include "deck/deck_merge.h"
#include "fuzz_check.h"

#include <QSet>

namespace {

// Reads the input a byte at a time; zeros once it runs out.
class Bytes {
public:
    Bytes(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    int Next() { return at_ < size_ ? data_[at_++] : 0; }
    bool Done() const { return at_ >= size_; }

private:
    const uint8_t *data_;
    size_t size_;
    size_t at_ = 0;
};

// Few distinct texts, so that duplicates and equal edits on both sides come up often.
std::unique_ptr<TMondaiSet> NewCard(Bytes &in) {
    const QByteArray q(1, char('a' + in.Next() % 6));
    return std::make_unique<TMondaiSet>(q, q + char('0' + in.Next() % 3), QByteArray(),
                                        in.Next() % 4, 0, 0, QByteArray());
}

CardOwnerList Copy(const CardOwnerList &cards) {
    CardOwnerList copy;
    for (const auto &card : cards)
        copy.push_back(std::make_unique<TMondaiSet>(*card));
    return copy;
}

// A handful of edits: inserts, deletes, text edits, answers, moves.
void Edit(CardOwnerList &cards, Bytes &in) {
    const int edits = in.Next() % 6;
    for (int e = 0; e < edits; ++e) {
        const int kind = in.Next() % 5;
        const size_t at = cards.empty() ? 0 : size_t(in.Next()) % cards.size();
        if (kind == 0 || cards.empty()) {
            cards.insert(cards.begin() + qsizetype(at), NewCard(in));
        } else if (kind == 1) {
            cards.erase(cards.begin() + qsizetype(at));
        } else if (kind == 2) {
            cards[at]->SetKaitou(cards[at]->Kaitou() + char('x' + in.Next() % 3));
        } else if (kind == 3) {
            TMondaiSet &card = *cards[at];
            const bool right = in.Next() % 2;
            (right ? card.Seikai : card.Fuseikai) += 1;
            card.Jikan += in.Next() % 5;
            card.SetRireki(card.Rireki() + (right ? "o" : "x"));
        } else {
            auto card = std::move(cards[at]);
            cards.erase(cards.begin() + qsizetype(at));
            const size_t to = cards.empty() ? 0 : size_t(in.Next()) % (cards.size() + 1);
            cards.insert(cards.begin() + qsizetype(to), std::move(card));
        }
    }
}

QByteArray TextsOf(const TMondaiSet &card) {
    return card.Mondai() + ',' + card.Kaitou() + ',' + card.Sankou();
}

QSet<QByteArray> Texts(const CardOwnerList &cards) {
    QSet<QByteArray> texts;
    for (const auto &card : cards)
        texts.insert(TextsOf(*card));
    return texts;
}

QList<QByteArray> Lines(const CardOwnerList &cards) {
    QList<QByteArray> lines;
    for (const auto &card : cards)
        lines << RenderCardLine(*card);
    return lines;
}

void CheckNothingLost(const QSet<QByteArray> &base, const QSet<QByteArray> &ours,
                      const QSet<QByteArray> &theirs, const CardOwnerList &merged) {
    const QSet<QByteArray> kept = Texts(merged);
    for (const QByteArray &text : ours + theirs) {
        const bool onBoth = ours.contains(text) && theirs.contains(text);
        // A card one side left as it was may go with the other side's delete.
        if (onBoth || !base.contains(text))
            FUZZ_CHECK(kept.contains(text));
    }
    for (const QByteArray &text : kept)
        FUZZ_CHECK(ours.contains(text) || theirs.contains(text));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    Bytes in(data, size);
    CardOwnerList base;
    for (int n = in.Next() % 12; n > 0; --n)
        base.push_back(NewCard(in));
    CardOwnerList ours = Copy(base);
    CardOwnerList theirs = Copy(base);
    Edit(ours, in);
    Edit(theirs, in);
    const QSet<QByteArray> b = Texts(base), o = Texts(ours), t = Texts(theirs);
    const MergeBase known = MergeBase::Of(base);
    const bool withBase = in.Next() % 4 != 0;

    CardOwnerList ours2 = Copy(ours), theirs2 = Copy(theirs);
    CardOwnerList ours3 = Copy(ours), theirs3 = Copy(theirs);
    const MergeResult merged = MergeDecks(withBase ? &known : nullptr, ours, theirs);
    const MergeResult swapped = MergeDecks(withBase ? &known : nullptr, theirs2, ours2);
    const MergeResult again = MergeDecks(withBase ? &known : nullptr, ours3, theirs3);
    CheckNothingLost(withBase ? b : QSet<QByteArray>(), o, t, merged.cards);
    FUZZ_CHECK(Lines(again.cards) == Lines(merged.cards));
    if (withBase) // without a base, which of two moves wins may depend on the side
        FUZZ_CHECK(Lines(swapped.cards) == Lines(merged.cards));
    for (qsizetype i : merged.conflicts)
        FUZZ_CHECK(i >= 0 && i < qsizetype(merged.cards.size()));
    return 0;
}
