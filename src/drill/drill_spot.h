#pragma once

#include "deck/card.h"

#include <cstddef>

// Where the drill stands: enough to tell whether it has moved, and to put it back.
struct DrillSpot {
    TMondaiSet *currentCard = nullptr;
    int queuePos = 0;
    bool answerShown = false;
    bool doneFlag = false;
    std::size_t queueSize = 0;
    int pattern = 0;

    bool operator==(const DrillSpot &) const = default;
};
