#pragma once

#include <QByteArray>

// Character-level helpers over Shift-JIS (code page 932) bytes. A lead byte (0x81-0x9F,
// 0xE0-0xFC) followed by any byte is one double-byte character, so a trail byte that happens
// to be '\\' or '"' never counts as that ASCII character.
namespace sjis {

inline bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Byte length of the character starting at `pos` (1 or 2; 1 for a lead byte at the very end).
inline qsizetype CharLength(const QByteArray &text, qsizetype pos) {
    return IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < text.size() ? 2 : 1;
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
