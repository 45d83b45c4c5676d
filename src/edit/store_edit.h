#pragma once

#include <QString>

#include <functional>

class TMondaiSet;

// What storing a text box's text into its card gave.
struct StoredEdit {
    // The text the box must show so that it shows what the card holds; empty when it already does.
    bool boxDiffers = false;
    QString boxText;
    int cursorPosition = 0;
    // Characters the deck's encoding cannot hold; they were left out.
    QString unencodable;
    // A double quote stood right before a comma and got a space between them.
    bool quoteCommaSeparated = false;
};

// Stores `text` (as typed, line breaks as '\n') into field `kind` (1 question, 2 answer,
// 3 reference) of `card` through the line-break escape and the quoting rule. `cursor` is the
// caret position in `text`, mapped into `boxText` when the box has to change.
StoredEdit StoreEdit(TMondaiSet &card, int kind, const QString &text, int cursor);

// What a typed text becomes in the deck's encoding, with quote-comma pairs separated; the
// characters the encoding cannot hold are left out.
QByteArray StorableBytes(const QString &text);

// The user-facing note for a quote and a comma that were separated.
QString QuoteCommaMessage();

// The user-facing note for characters that were left out, each named by its code point and,
// where the application's fonts can draw it, by the character itself: 「😀 (U+1F600)、…」.
QString UnencodableMessage(const QString &characters);
// The same names, with `canShow` telling which characters can be drawn.
QString NameCharacters(const QString &characters, const std::function<bool(char32_t)> &canShow);
