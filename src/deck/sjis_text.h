#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Character-level helpers over Shift-JIS (code page 932) bytes. A lead byte (0x81-0x9F,
// 0xE0-0xFC) followed by a trail byte (0x40-0x7E, 0x80-0xFC) is one double-byte character, so
// a trail byte that happens to be '\\' or '[' never counts as that ASCII character. A lead byte
// followed by anything else stands alone, as the decoder sees it; control characters, quotes
// and commas are therefore always themselves.
namespace sjis {

inline bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

inline bool IsTrailByte(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// Byte length of the character starting at `pos` (1 or 2; 1 for a lead byte at the very end).
inline qsizetype CharLength(QByteArrayView text, qsizetype pos) {
    return pos + 1 < text.size() && IsLeadByte(static_cast<unsigned char>(text[pos])) &&
                   IsTrailByte(static_cast<unsigned char>(text[pos + 1]))
               ? 2
               : 1;
}

// Byte offset of the first occurrence of `needle` that starts on a character boundary at or
// after `from`, or -1.
qsizetype IndexOf(const QByteArray &text, const QByteArray &needle, qsizetype from = 0);

// The first `count` characters of `text`.
QByteArray LeftChars(const QByteArray &text, qsizetype count);

// `text` without its first character.
QByteArray DropFirstChar(const QByteArray &text);

// At most `maxBytes` bytes of `text`, never ending in half of a double-byte character.
QByteArray LeftBytes(const QByteArray &text, qsizetype maxBytes);

} // namespace sjis
