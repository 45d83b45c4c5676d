#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Decks are Shift-JIS, but many text files on this desktop are written in UTF-8. These rules
// tell such a file apart and turn it into a Shift-JIS deck.
namespace deck_encoding {

// True when `bytes` are written in UTF-8 rather than Shift-JIS: a UTF-8 byte-order mark starts
// them, or they hold at least one multi-byte UTF-8 character, are valid UTF-8 throughout, and
// read as Shift-JIS either not at all or improbably (half of the non-ASCII characters or more
// are half-width katakana or come from lead bytes 0xE0 and above, which ordinary Japanese text
// seldom uses but UTF-8 read as Shift-JIS is full of). Shift-JIS text practically never passes:
// its kana, punctuation and common kanji begin with bytes 0x81-0x9F, which never begin a UTF-8
// character.
bool LooksLikeUtf8(QByteArrayView bytes);

struct Converted {
    QByteArray bytes;    // the text in Shift-JIS, without the byte-order mark
    QString unencodable; // characters Shift-JIS cannot hold, left out (each once, in order)
};
Converted Utf8ToShiftJis(QByteArrayView bytes);

} // namespace deck_encoding
