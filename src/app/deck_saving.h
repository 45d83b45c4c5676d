#pragma once

#include "deck/deck.h"

class Prompts;
class QWidget;

enum class SaveOutcome {
    Saved,
    Declined, // the file was changed by another program and the user kept it
    Failed,   // the write failed; the user has been told
};

// Saves the deck to DeckFileName. A file another program has changed since it was last read or
// written here is overwritten only when the user agrees; a file deleted meanwhile is simply
// written again.
SaveOutcome SaveOpenDeck(Deck &deck, Prompts &prompts, QWidget *parent);
