#include "exchange/text_source.h"

#include "deck/deck_encoding.h"
#include "deck/sjis_codec.h"
#include "exchange/sjis_table.h"

#include <QStringDecoder>

namespace exchange {

namespace {

constexpr QByteArrayView kUtf8Bom("\xEF\xBB\xBF", 3);
constexpr QByteArrayView kUtf16LEBom("\xFF\xFE", 2);
constexpr QByteArrayView kUtf16BEBom("\xFE\xFF", 2);

// Without a mark, UTF-16 shows itself by NUL bytes in the ASCII it holds: counted over the
// start of the file, at even and at odd offsets.
std::optional<SourceEncoding> Utf16WithoutMark(QByteArrayView bytes) {
    const qsizetype probe = std::min<qsizetype>(bytes.size() & ~qsizetype(1), 512);
    if (probe < 4)
        return std::nullopt;
    qsizetype evenNul = 0;
    qsizetype oddNul = 0;
    for (qsizetype i = 0; i < probe; i += 2) {
        evenNul += bytes[i] == '\0';
        oddNul += bytes[i + 1] == '\0';
    }
    const qsizetype units = probe / 2;
    if (oddNul * 2 > units && evenNul == 0)
        return SourceEncoding::Utf16LE;
    if (evenNul * 2 > units && oddNul == 0)
        return SourceEncoding::Utf16BE;
    return std::nullopt;
}

QString DecodeWith(QStringConverter::Encoding encoding, QByteArrayView bytes) {
    QStringDecoder decoder(encoding, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

ShiftJisText FromEncoded(sjis::Encoded encoded) {
    return {std::move(encoded.bytes), std::move(encoded.unencodable)};
}

ShiftJisText FromUnicode(const QString &text) {
    return FromEncoded(EncodeShiftJis(text));
}

} // namespace

SourceEncoding DetectEncoding(QByteArrayView bytes) {
    if (bytes.startsWith(kUtf8Bom))
        return SourceEncoding::Utf8;
    if (bytes.startsWith(kUtf16LEBom))
        return SourceEncoding::Utf16LE;
    if (bytes.startsWith(kUtf16BEBom))
        return SourceEncoding::Utf16BE;
    if (const auto wide = Utf16WithoutMark(bytes))
        return *wide;
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return uchar(c) < 0x80; });
    if (ascii || deck_encoding::LooksLikeUtf8(bytes))
        return SourceEncoding::Utf8;
    return SourceEncoding::ShiftJis;
}

QString EncodingName(SourceEncoding encoding) {
    switch (encoding) {
    case SourceEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case SourceEncoding::Utf16LE:
        return QStringLiteral("UTF-16 LE");
    case SourceEncoding::Utf16BE:
        return QStringLiteral("UTF-16 BE");
    case SourceEncoding::ShiftJis:
        break;
    }
    return QStringLiteral("Shift-JIS");
}

ShiftJisText ToShiftJis(QByteArrayView bytes, SourceEncoding encoding) {
    switch (encoding) {
    case SourceEncoding::Utf8:
        if (bytes.startsWith(kUtf8Bom))
            bytes = bytes.sliced(kUtf8Bom.size());
        // As Qt's decoders do, the conversion skips a second mark should one follow.
        return FromEncoded(Utf8ToShiftJis(bytes));
    case SourceEncoding::Utf16LE:
        if (bytes.startsWith(kUtf16LEBom))
            bytes = bytes.sliced(kUtf16LEBom.size());
        return FromUnicode(DecodeWith(QStringConverter::Utf16LE, bytes));
    case SourceEncoding::Utf16BE:
        if (bytes.startsWith(kUtf16BEBom))
            bytes = bytes.sliced(kUtf16BEBom.size());
        return FromUnicode(DecodeWith(QStringConverter::Utf16BE, bytes));
    case SourceEncoding::ShiftJis:
        break;
    }
    return {bytes.toByteArray(), {}};
}

} // namespace exchange
