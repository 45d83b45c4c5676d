#pragma once

#include "deck/deck.h"

class Prompts;
class QWidget;

// How a deck file is to be read: as it is, converted from UTF-8, or not at all.
enum class DeckReading { AsIs, FromUtf8, Cancelled };

// Asks whether a deck written in UTF-8 is to be converted; every other file is read as it is
// without a question.
DeckReading AskDeckReading(Prompts &prompts, QWidget *parent, bool writtenInUtf8);

// The lines to build the cards from: the file's lines, or their Shift-JIS conversion when that
// was chosen and the file as read last still is UTF-8 (the save prompt may have written a deck
// into it since).
// Characters Shift-JIS cannot hold are left out and named to the user.
DeckLines CardLines(Prompts &prompts, QWidget *parent, const DeckFileRead &file,
                    DeckReading reading);
