#include "deck/sjis_codec.h"

#include "deck/sjis_text.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <optional>

// Qt hands "windows-31j" to ICU, whose table swaps the control characters 0x1A, 0x1C and 0x7F
// and substitutes unmappable text silently (0xFCFC, U+001A) with only a sticky error flag to
// show for it. So ASCII is converted here as itself, and whenever ICU reports trouble the text
// is converted again one character at a time to find exactly what went wrong.
namespace sjis {

namespace {

constexpr const char *kCodec = "windows-31j";

bool IsAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
}

bool IsAscii(QStringView text) {
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// ASCII controls that ICU's table would swap.
bool HasSwappedControl(QByteArrayView bytes) {
    return std::any_of(bytes.begin(), bytes.end(),
                       [](char c) { return c == '\x1a' || c == '\x1c' || c == '\x7f'; });
}

bool HasSwappedControl(QStringView text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() == 0x1a || c.unicode() == 0x1c || c.unicode() == 0x7f;
    });
}

QStringDecoder NewDecoder() {
    return QStringDecoder(kCodec, QStringConverter::Flag::Stateless);
}

QStringEncoder NewEncoder() {
    return QStringEncoder(kCodec, QStringConverter::Flag::Stateless);
}

// One character through ICU; nullopt when it is not valid. The decoder's error flag stays set
// once raised, so it is replaced after a failure.
std::optional<QString> DecodeChar(QStringDecoder &decoder, QByteArrayView bytes) {
    QString text = decoder.decode(bytes);
    if (decoder.hasError() || text.contains(QChar::ReplacementCharacter)) {
        decoder = NewDecoder();
        return std::nullopt;
    }
    return text;
}

Decoded DecodeByCharacter(const QByteArray &bytes) {
    Decoded out;
    out.text.reserve(bytes.size());
    QStringDecoder decoder = NewDecoder();
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const uchar b = uchar(bytes[pos]);
        if (b < 0x80) {
            out.text.append(QChar(char16_t(b)));
            ++pos;
            continue;
        }
        const qsizetype len = CharLength(bytes, pos);
        if (const auto text = DecodeChar(decoder, QByteArrayView(bytes).sliced(pos, len))) {
            out.text.append(*text);
        } else {
            out.text.append(QChar::ReplacementCharacter);
            out.invalidBytes = true;
        }
        pos += len;
    }
    return out;
}

// One character (a code point) through ICU; nullopt when Shift-JIS cannot hold it. A character
// only counts as encodable when its bytes decode back to it.
std::optional<QByteArray> EncodeChar(QStringEncoder &encoder, QStringView character) {
    QByteArray bytes = encoder.encode(character);
    if (encoder.hasError() || bytes.isEmpty()) {
        encoder = NewEncoder();
        return std::nullopt;
    }
    QStringDecoder decoder = NewDecoder();
    const QString back = decoder.decode(bytes);
    if (decoder.hasError() || back != character)
        return std::nullopt;
    return bytes;
}

Encoded EncodeByCharacter(const QString &text) {
    Encoded out;
    out.bytes.reserve(text.size() * 2);
    QStringEncoder encoder = NewEncoder();
    qsizetype pos = 0;
    while (pos < text.size()) {
        const QChar c = text[pos];
        if (c.unicode() < 0x80) {
            out.bytes.append(char(c.unicode()));
            ++pos;
            continue;
        }
        const qsizetype len =
            c.isHighSurrogate() && pos + 1 < text.size() && text[pos + 1].isLowSurrogate() ? 2 : 1;
        const QStringView character = QStringView(text).sliced(pos, len);
        if (const auto bytes = EncodeChar(encoder, character))
            out.bytes.append(*bytes);
        else if (!out.unencodable.contains(character))
            out.unencodable.append(character);
        pos += len;
    }
    return out;
}

} // namespace

Decoded ToDisplay(const QByteArray &bytes) {
    if (IsAscii(bytes))
        return {QString::fromLatin1(bytes), false};
    if (!HasSwappedControl(bytes)) {
        QStringDecoder decoder = NewDecoder();
        QString text = decoder.decode(bytes);
        if (!decoder.hasError() && !text.contains(QChar::ReplacementCharacter))
            return {std::move(text), false};
    }
    return DecodeByCharacter(bytes);
}

Encoded FromDisplay(const QString &text) {
    if (IsAscii(text))
        return {text.toLatin1(), {}};
    if (!HasSwappedControl(text)) {
        QStringEncoder encoder = NewEncoder();
        QByteArray bytes = encoder.encode(text);
        if (!encoder.hasError()) {
            QStringDecoder decoder = NewDecoder();
            if (decoder.decode(bytes) == text && !decoder.hasError())
                return {std::move(bytes), {}};
        }
    }
    return EncodeByCharacter(text);
}

QString ToQString(const QByteArray &bytes) {
    return ToDisplay(bytes).text;
}

QByteArray FromQString(const QString &text) {
    return FromDisplay(text).bytes;
}

} // namespace sjis
