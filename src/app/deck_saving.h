#pragma once

#include "deck/deck.h"

#include <functional>

class Prompts;
class QWidget;

enum class SaveOutcome {
    Saved,
    Declined, // the file was changed by another program and the user kept it
    Failed,   // the write failed; the user has been told
};

// Saves the deck to DeckFileName. When another program has changed the file since it was last
// read or written here, the user chooses: 統合して保存 (the default) runs `merge`, which brings
// the file's changes into the deck (false: nothing merged, the user told, nothing saved), then
// saves; 上書き writes the deck over the file; キャンセル saves nothing. A file deleted meanwhile
// is simply written again.
SaveOutcome SaveOpenDeck(Deck &deck, Prompts &prompts, QWidget *parent,
                         const std::function<bool()> &merge);
