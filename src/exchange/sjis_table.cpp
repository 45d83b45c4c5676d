#include "exchange/sjis_table.h"

#include "deck/large_memory.h"
#include "deck/sjis_text.h"

#include <array>
#include <cstring>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// One character in UTF-8 (no surrogates come from the tables).
inline char *PutUtf8(char16_t c, char *out) {
    if (c < 0x80) {
        *out++ = char(c);
    } else if (c < 0x800) {
        *out++ = char(0xC0 | c >> 6);
        *out++ = char(0x80 | (c & 0x3F));
    } else {
        *out++ = char(0xE0 | c >> 12);
        *out++ = char(0x80 | (c >> 6 & 0x3F));
        *out++ = char(0x80 | (c & 0x3F));
    }
    return out;
}

inline bool IsContinuation(uchar b) {
    return (b & 0xC0) == 0x80;
}

// The character of the well-formed UTF-8 sequence at `in` and its length in bytes, or 0 for
// a byte that starts none: overlong forms, surrogates and code points past U+10FFFF are no
// characters. `in` points at a byte of 0x80 or above.
inline int DecodeUtf8(const uchar *in, const uchar *end, char32_t *c) {
    const uchar b = in[0];
    const qsizetype left = end - in;
    // Japanese text is mostly three-byte characters.
    if (b >= 0xE0 && b <= 0xEF) {
        if (left < 3 || !IsContinuation(in[1]) || !IsContinuation(in[2]))
            return 0;
        if ((b == 0xE0 && in[1] < 0xA0) || (b == 0xED && in[1] > 0x9F))
            return 0;
        *c = char32_t(b & 0x0F) << 12 | char32_t(in[1] & 0x3F) << 6 | (in[2] & 0x3F);
        return 3;
    }
    if (b >= 0xC2 && b <= 0xDF) {
        if (left < 2 || !IsContinuation(in[1]))
            return 0;
        *c = char32_t(b & 0x1F) << 6 | (in[1] & 0x3F);
        return 2;
    }
    if (b >= 0xF0 && b <= 0xF4) {
        if (left < 4 || !IsContinuation(in[1]) || !IsContinuation(in[2]) || !IsContinuation(in[3]))
            return 0;
        if ((b == 0xF0 && in[1] < 0x90) || (b == 0xF4 && in[1] > 0x8F))
            return 0;
        *c = char32_t(b & 0x07) << 18 | char32_t(in[1] & 0x3F) << 12 | char32_t(in[2] & 0x3F) << 6 |
             (in[3] & 0x3F);
        return 4;
    }
    return 0;
}

// Each character once, in the order first met, as EncodeShiftJis lists them.
void NoteUnencodable(QString &list, char32_t c) {
    char16_t units[2];
    qsizetype size = 1;
    if (c < 0x10000) {
        units[0] = char16_t(c);
    } else {
        units[0] = QChar::highSurrogate(c);
        units[1] = QChar::lowSurrogate(c);
        size = 2;
    }
    const QStringView character(units, size);
    if (!list.contains(character))
        list.append(character);
}

// Copies the run of ASCII at `in` to `out` and returns its length. Sixteen bytes go at a time
// while sixteen are left, so `out` must have room for as many bytes as `in` has left.
inline qsizetype CopyAscii(const uchar *in, const uchar *end, char *out) {
    const uchar *const start = in;
#if defined(__SSE2__)
    while (end - in >= 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i *>(in));
        _mm_storeu_si128(reinterpret_cast<__m128i *>(out), chunk);
        const int high = _mm_movemask_epi8(chunk);
        if (high != 0)
            return in - start + __builtin_ctz(unsigned(high));
        in += 16;
        out += 16;
    }
#endif
    while (in < end && *in < 0x80)
        *out++ = char(*in++);
    return in - start;
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
        n = PutUtf8(c, out + n) - out;
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

sjis::Encoded Utf8ToShiftJis(QByteArrayView utf8) {
    if (utf8.startsWith(QByteArrayView("\xEF\xBB\xBF", 3)))
        utf8 = utf8.sliced(3);
    const Tables &t = TheTables();
    sjis::Encoded out;
    // No character takes more bytes in Shift-JIS than in UTF-8, so the output never overtakes
    // the input, and has room for as many bytes as the input has left.
    out.bytes = large_memory::UninitializedBytes(utf8.size());
    char *const start = out.bytes.data();
    char *o = start;
    const uchar *in = reinterpret_cast<const uchar *>(utf8.data());
    const uchar *const end = in + utf8.size();
    while (in < end) {
        const qsizetype ascii = CopyAscii(in, end, o);
        in += ascii;
        o += ascii;
        while (in < end && *in >= 0x80) {
            char32_t c = 0xFFFD;
            int length = DecodeUtf8(in, end, &c);
            if (length == 0) {
                c = 0xFFFD; // the decoder gives one for each byte of a broken sequence
                length = 1;
            }
            in += length;
            const quint16 code = c < 0x10000 ? t.encode[c] : 0;
            if (code > 0xFF) {
                *o++ = char(code >> 8);
                *o++ = char(code & 0xFF);
            } else if (code != 0) {
                *o++ = char(code);
            } else {
                NoteUnencodable(out.unencodable, c);
            }
        }
    }
    out.bytes.truncate(o - start);
    return out;
}

char *WriteAsUtf8(QByteArrayView bytes, char *out) {
    const Tables &t = TheTables();
    const uchar *in = reinterpret_cast<const uchar *>(bytes.data());
    const uchar *const end = in + bytes.size();
    while (in < end) {
        const qsizetype ascii = CopyAscii(in, end, out);
        in += ascii;
        out += ascii;
        if (in == end)
            break;
        const uchar b = *in;
        const bool pair = end - in >= 2 && sjis::IsLeadByte(b) && sjis::IsTrailByte(in[1]);
        const char16_t c = pair ? t.pairs[size_t(b * 256 + in[1])] : t.single[b];
        if (c == kInvalid)
            return nullptr;
        out = PutUtf8(c, out);
        in += pair ? 2 : 1;
    }
    return out;
}

} // namespace exchange
