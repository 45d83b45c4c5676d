#pragma once

#include "deck/search_index.h"
#include "deck/text_match.h"

#include <QDeadlineTimer>
#include <QString>

#include <vector>

// One search over the deck, run in slices so that typing never waits for a large deck: the
// first slice usually finds the first match after the starting card; the count is complete
// when Step returns true. Matches are cards, by their 0-based index in the deck.
class CardSearch {
public:
    explicit CardSearch(const CardOwnerList &cards) : index_(cards), cards_(cards) {}

    // A card's texts changed (edited by hand, bookmark marker set or taken out).
    void NoteEdited(const TMondaiSet *card) { index_.NoteEdited(card); }
    // Another deck: the index is dropped and built again at the next search.
    void Forget();

    // Starts looking for `typed` in `fields`, the first match counted from card `from` on.
    void Start(const QString &typed, bool kanaSame, textmatch::FieldSet fields, qsizetype from);
    // Stops the search and forgets its matches.
    void Clear();
    // Works until the deadline; true when every card was looked at.
    bool Step(const QDeadlineTimer &deadline);
    void Finish() { Step(QDeadlineTimer(QDeadlineTimer::Forever)); }

    bool Active() const { return active_; }
    bool Finished() const { return active_ && phase_ == Phase::Done; }
    // Whether the deck changed since the search started, so that its matches may be stale.
    bool Stale() const { return index_.OutOfStep(); }
    // The first match at or after the starting card, wrapping; -1 when none was found yet.
    qsizetype FirstMatch() const;
    // Matches found so far (all of them once Finished).
    qsizetype Count() const { return qsizetype(after_.size() + before_.size()); }
    bool IsMatch(qsizetype card) const;
    // After Finished: the match next to `card` (after it, or before it with `backwards`),
    // wrapping round the deck; -1 when there is none. `wrapped` tells whether it wrapped.
    qsizetype Neighbour(qsizetype card, bool backwards, bool *wrapped) const;
    // After Finished: the 1-based rank of the match `card` among all matches, 0 if none.
    qsizetype Rank(qsizetype card) const;

    const SearchIndex &Index() const { return index_; }

private:
    enum class Phase { Index, After, Before, Done };
    // Looks at the cards [cursor_, end) for at most a slice; true when it reached `end`.
    bool ScanSlice(qsizetype end, std::vector<qsizetype> &found);
    // Whether the index hit at blob offset `at` (in card `card`) is a real match; where to go on.
    bool Accept(qsizetype card, qsizetype at, qsizetype *resumeAt) const;
    const std::vector<qsizetype> &Sorted() const;

    SearchIndex index_;
    const CardOwnerList &cards_;
    textmatch::Query loose_; // kana folded together, as the index holds the texts
    textmatch::Query exact_; // as the user asked
    textmatch::FieldSet fields_;
    bool active_ = false;
    Phase phase_ = Phase::Done;
    qsizetype from_ = 0;
    qsizetype cursor_ = 0;
    std::vector<qsizetype> after_;  // matches from `from_` on, ascending
    std::vector<qsizetype> before_; // matches in front of `from_`, ascending
    mutable std::vector<qsizetype> sorted_;
};
