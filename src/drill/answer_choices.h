#pragma once

#include "deck/deck.h"
#include "drill/drill_direction.h"

#include <QByteArray>

#include <array>
#include <optional>
#include <random>

// The choice of four: the card's answer and three answers of other cards of the deck, as alike
// as the deck allows (the same script first, then a similar length), never two the same text.
struct AnswerChoices {
    std::array<QByteArray, 4> texts; // display form (Shift-JIS), in the order offered
    int right = 0;                   // index of the card's own answer
};

// Nothing when the deck holds fewer than four different answers.
std::optional<AnswerChoices> PickChoices(const CardOwnerList &cards, const TMondaiSet &card,
                                         DrillDirection direction, std::mt19937 &rng);
