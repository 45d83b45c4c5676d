#pragma once

#include "deck/card.h"
#include "deck/deck_lines.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <memory>
#include <vector>

using CardOwnerList = std::vector<std::unique_ptr<TMondaiSet>>; // owns the cards
using CardRefList = std::vector<TMondaiSet *>;                  // refers to cards it does not own

// The file side of the open deck.
struct Deck {
    CardOwnerList CardList;  // every card, file order
    QString DeckFileName;    // full path; empty until a deck is opened
    DeckLines SavedLines;    // the file's lines as last read or written
    DeckLines RenderedLines; // the deck as last rendered
};

// Outcome of reading or writing a file: `error` is a Japanese message for the user.
struct FileResult {
    bool ok = true;
    QString error;
};

// Reads a deck file whole.
FileResult ReadDeckFile(const QString &path, DeckLines *lines);

// True when neither of the first two lines holds a comma (a missing line holds none).
bool IsUnsuitable(const DeckLines &lines);

// The seven fields of a line in stored form, found in one walk; empty past the end of the line.
// A field starting with a double quote ends at the first double quote after it that is
// followed by a comma, else at the line's end when the line ends in a double quote, else like
// any other field at the next comma. Further fields are ignored.
using LineFields = std::array<QByteArrayView, 7>;
LineFields SplitFields(QByteArrayView line);

// The n-th field (1-based) of a line in stored form; empty past the end of the line.
QByteArray ExtractField(QByteArrayView line, int n);

// Integer columns: optional sign and decimal digits within 32 bits; anything else is 0.
qint32 FieldToInt(QByteArrayView field);

// Builds the cards from SavedLines; the due ones (Jikan < today) go to `askQueue` in file order.
void ParseDeck(Deck &deck, qint32 today, CardRefList &askQueue);

// One card as a file line (no line end).
QByteArray RenderCardLine(const TMondaiSet &card);

// Renders the cards into RenderedLines. Returns 1, leaving RenderedLines untouched, when the
// deck has no cards; else 0.
int RenderDeckLines(Deck &deck);

// Renders and writes the deck atomically to DeckFileName; on success SavedLines becomes a copy
// of RenderedLines. Nothing is written for an empty deck. On failure SavedLines is unchanged.
FileResult SaveDeck(Deck &deck);

// Renders and tells whether the cards differ from SavedLines.
bool IsDeckChanged(Deck &deck);
