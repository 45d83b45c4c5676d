#pragma once

#include "deck/card.h"

// Which side of a card the drill asks: the question (as the deck was written) or, for recalling
// the word from its meaning, the answer. The card and its one learning record stay as they are.
enum class DrillDirection { QuestionFirst = 0, AnswerFirst = 1 };

// The stored text shown where the question goes, and where the answer goes.
inline TMondaiSet::Text AskedText(DrillDirection direction) {
    return direction == DrillDirection::AnswerFirst ? TMondaiSet::kKaitou : TMondaiSet::kMondai;
}
// The field (1 question, 2 answer, 3 reference) that a card box of `boxKind` shows.
inline int FieldOfBox(int boxKind, DrillDirection direction) {
    if (direction != DrillDirection::AnswerFirst || boxKind > 2)
        return boxKind;
    return 3 - boxKind;
}
inline TMondaiSet::Text ExpectedText(DrillDirection direction) {
    return direction == DrillDirection::AnswerFirst ? TMondaiSet::kMondai : TMondaiSet::kKaitou;
}
