#include "exchange/sjis_table.h"

#include "deck/sjis_text.h"

#include <array>
#include <vector>

namespace exchange {

namespace {

constexpr char16_t kInvalid = 0xFFFF; // no character of the table is U+FFFF

struct Tables {
    std::array<char16_t, 256> single{}; // bytes standing alone
    std::vector<char16_t> pairs;        // lead * 256 + trail
    std::vector<quint16> encode;        // character -> code (1 or 2 bytes), 0 when none

    Tables() : pairs(size_t(256) * 256, kInvalid), encode(size_t(0x10000), 0) {
        for (int b = 0; b < 256; ++b)
            single[size_t(b)] = DecodeOne(QByteArray(1, char(b)));
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!sjis::IsLeadByte(uchar(lead)))
                continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail)
                if (sjis::IsTrailByte(uchar(trail)))
                    pairs[size_t(lead * 256 + trail)] =
                        DecodeOne(QByteArray(1, char(lead)) + char(trail));
        }
        // Characters that several codes decode to are encoded as the codec encodes them.
        for (int code = 0x80; code < 0x10000; ++code) {
            const char16_t c = code < 0x100 ? single[size_t(code)] : pairs[size_t(code)];
            if (c == kInvalid || c < 0x80 || encode[c] != 0)
                continue;
            const QByteArray bytes = sjis::FromDisplay(QString(QChar(c))).bytes;
            if (bytes.size() == 1)
                encode[c] = uchar(bytes[0]);
            else if (bytes.size() == 2)
                encode[c] = quint16(uchar(bytes[0]) << 8 | uchar(bytes[1]));
        }
    }

    static char16_t DecodeOne(const QByteArray &bytes) {
        const sjis::Decoded decoded = sjis::ToDisplay(bytes);
        if (decoded.invalidBytes || decoded.text.size() != 1)
            return kInvalid;
        return decoded.text[0].unicode();
    }
};

const Tables &TheTables() {
    static const Tables tables;
    return tables;
}

} // namespace

QString DecodeShiftJis(QByteArrayView bytes) {
    const Tables &t = TheTables();
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    qsizetype n = 0;
    for (qsizetype pos = 0; pos < bytes.size();) {
        const uchar b = uchar(bytes[pos]);
        if (b < 0x80) {
            out[n++] = b;
            ++pos;
            continue;
        }
        const bool pair = sjis::CharLength(bytes, pos) == 2;
        const char16_t c = pair ? t.pairs[size_t(b * 256 + uchar(bytes[pos + 1]))] : t.single[b];
        // What the codec makes of invalid bytes depends on what came before them: it decides.
        if (c == kInvalid)
            return sjis::ToDisplay(bytes.toByteArray()).text;
        out[n++] = c;
        pos += pair ? 2 : 1;
    }
    text.truncate(n);
    return text;
}

QByteArray ShiftJisToUtf8(QByteArrayView bytes) {
    const Tables &t = TheTables();
    QByteArray utf8(bytes.size() * 3 / 2 + 16, Qt::Uninitialized);
    qsizetype n = 0;
    for (qsizetype pos = 0; pos < bytes.size();) {
        if (utf8.size() - n < 4)
            utf8.resize(utf8.size() * 2);
        char *out = utf8.data();
        const uchar b = uchar(bytes[pos]);
        if (b < 0x80) {
            out[n++] = char(b);
            ++pos;
            continue;
        }
        const bool pair = sjis::CharLength(bytes, pos) == 2;
        const char16_t c = pair ? t.pairs[size_t(b * 256 + uchar(bytes[pos + 1]))] : t.single[b];
        if (c == kInvalid)
            return sjis::ToDisplay(bytes.toByteArray()).text.toUtf8();
        if (c < 0x800) {
            out[n++] = char(0xC0 | c >> 6);
        } else {
            out[n++] = char(0xE0 | c >> 12);
            out[n++] = char(0x80 | (c >> 6 & 0x3F));
        }
        out[n++] = char(0x80 | (c & 0x3F));
        pos += pair ? 2 : 1;
    }
    utf8.truncate(n);
    return utf8;
}

sjis::Encoded EncodeShiftJis(QStringView text) {
    const Tables &t = TheTables();
    sjis::Encoded out;
    out.bytes.resize(text.size() * 2);
    char *bytes = out.bytes.data();
    qsizetype n = 0;
    for (qsizetype pos = 0; pos < text.size(); ++pos) {
        const char16_t c = text[pos].unicode();
        if (c < 0x80) {
            bytes[n++] = char(c);
            continue;
        }
        const quint16 code = t.encode[c];
        if (code > 0xFF) {
            bytes[n++] = char(code >> 8);
            bytes[n++] = char(code & 0xFF);
        } else if (code != 0) {
            bytes[n++] = char(code);
        } else {
            const qsizetype len =
                QChar::isHighSurrogate(c) && pos + 1 < text.size() && text[pos + 1].isLowSurrogate()
                    ? 2
                    : 1;
            const QStringView character = text.sliced(pos, len);
            if (!out.unencodable.contains(character))
                out.unencodable.append(character);
            pos += len - 1;
        }
    }
    out.bytes.truncate(n);
    return out;
}

} // namespace exchange
