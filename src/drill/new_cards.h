#pragma once

#include "deck/deck.h"
#include "drill/answer_observer.h"

// A new card has never been answered: no right, no wrong answer and no history.
bool IsNewCard(const TMondaiSet &card);
// Whether an answer of `kind`, which left `card` as it is now, touched a new card: for できた
// and a pass, the card was new before it; for a take-back, the card is new again after it.
bool AnswerTouchedNewCard(const TMondaiSet &card, AnswerKind kind);

// Keeps the first `left` new cards of `queue` in its order and drops the other new cards; a
// negative `left` keeps them all.
void LimitNewCards(CardRefList &queue, qint64 left);

// Tells the drill how many new cards a pass built today may still bring in.
class NewCardAllowance {
public:
    virtual ~NewCardAllowance() = default;
    // Negative: no limit.
    virtual qint64 NewCardsLeft(qint32 today) = 0;
};

// Gives a card the due day after できた or a pass when a rule other than the standard one
// decides it.
class RestPlanner {
public:
    virtual ~RestPlanner() = default;
    // `card` already holds the record MarkRight or MarkWrong gave it (`kind` Right or Wrong),
    // `dueBefore` its due day before; returns the due day to keep.
    virtual qint32 DueAfter(const TMondaiSet &card, AnswerKind kind, qint32 today,
                            qint32 dueBefore) = 0;
};
