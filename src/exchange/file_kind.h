#pragma once

#include "deck/deck_lines.h"

#include <QByteArrayView>
#include <QString>

// What a file handed to the program as a deck really is, decided from its bytes alone.
// Conservative: a comma file any line of which carries a card's learning record is never taken
// for a spreadsheet's, and opens as it always did.
namespace exchange {

enum class FileKind {
    Deck,      // opens as a deck without a question
    OtherText, // another program's text: import is offered first, opening as a deck allowed
    NotDeck,   // the deck reader rejects it (IsUnsuitable); only import can read it
    Binary,    // not text at all: neither opened nor imported
};

FileKind KindOfFile(const DeckLines &lines);

// NUL characters, or more than one in twenty characters a control character other than tab,
// line ends and form feed, in the first 64 KB (read as UTF-16 when it is written so).
bool LooksBinary(QByteArrayView bytes);

// Whether a field opened by a double quote runs on past a line end and is closed later, as a
// spreadsheet writes a text with line breaks: the deck reader would split that record in two.
bool HasQuotedLineBreak(QByteArrayView text);

// Whether the line carries a learning record: fields 4 to 6 are whole numbers.
bool HasLearningRecord(QByteArrayView line);

// The message for a file LooksBinary rejects (Japanese, for the user).
QString NotTextMessage();

} // namespace exchange
