#pragma once

#include "deck/card.h"

// What became of a card in the drill, as a review history records it.
enum class AnswerKind {
    Right,     // できた
    Wrong,     // passed with すすめ without できた
    TakenBack, // a できた taken back with the left arrow
};

// Told by the drill after each change of a card's learning record; the record already holds
// the new values, `dueBefore` is the card's due day before the change.
class AnswerObserver {
public:
    virtual ~AnswerObserver() = default;
    virtual void CardAnswered(const TMondaiSet &card, AnswerKind kind, qint32 dueBefore) = 0;
    // A newly opened deck starts its first pass.
    virtual void DeckStarted() {}
};
