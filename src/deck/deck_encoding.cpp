#include "deck/deck_encoding.h"

#include "deck/sjis_codec.h"
#include "deck/sjis_text.h"

#include <QStringDecoder>

#include <algorithm>

namespace deck_encoding {

namespace {

constexpr char kBom[] = "\xEF\xBB\xBF";

bool HasBom(QByteArrayView bytes) {
    return bytes.startsWith(QByteArrayView(kBom, 3));
}

QByteArrayView WithoutBom(QByteArrayView bytes) {
    return HasBom(bytes) ? bytes.sliced(3) : bytes;
}

bool HasNonAscii(QByteArrayView bytes) {
    return std::any_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) >= 0x80; });
}

// Whether the bytes are valid UTF-8, decoded a piece at a time so that no text of the whole
// file is ever built and a Shift-JIS file is given up within its first non-ASCII characters.
bool IsValidUtf8(QByteArrayView bytes) {
    constexpr qsizetype kPiece = 64 * 1024;
    for (qsizetype from = 0; from < bytes.size();) {
        qsizetype to = std::min(bytes.size(), from + kPiece);
        // A piece ends before a character, not inside one: continuation bytes are 10xxxxxx,
        // and a character has at most three of them.
        for (int back = 0; back < 3 && to < bytes.size() && (uchar(bytes[to]) & 0xC0) == 0x80;
             ++back)
            --to;
        QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        const QString piece = decoder.decode(bytes.sliced(from, to - from));
        if (decoder.hasError())
            return false;
        from = to;
    }
    return true;
}

// Half-width katakana and characters of lead bytes 0xE0 and above make up half or more of the
// non-ASCII characters of the Shift-JIS reading.
bool ImprobableShiftJis(QByteArrayView bytes) {
    qsizetype nonAscii = 0;
    qsizetype rare = 0;
    for (qsizetype pos = 0; pos < bytes.size();) {
        const uchar b = uchar(bytes[pos]);
        const qsizetype length = sjis::CharLength(bytes, pos);
        if (b >= 0x80) {
            ++nonAscii;
            const bool halfWidthKana = length == 1 && b >= 0xA1 && b <= 0xDF;
            if (halfWidthKana || (length == 2 && b >= 0xE0))
                ++rare;
        }
        pos += length;
    }
    return rare * 2 >= nonAscii;
}

} // namespace

bool LooksLikeUtf8(QByteArrayView bytes) {
    const QByteArrayView body = WithoutBom(bytes);
    if (!IsValidUtf8(body))
        return false;
    if (HasBom(bytes))
        return true;
    if (!HasNonAscii(body))
        return false;
    return sjis::ToDisplay(body.toByteArray()).invalidBytes || ImprobableShiftJis(body);
}

Converted Utf8ToShiftJis(QByteArrayView bytes) {
    // Bytes that are not UTF-8 after all come through as U+FFFD, which is then listed as dropped.
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    const QString text = decoder.decode(WithoutBom(bytes));
    sjis::Encoded encoded = sjis::FromDisplay(text);
    return {std::move(encoded.bytes), std::move(encoded.unencodable)};
}

} // namespace deck_encoding
