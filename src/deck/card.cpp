#include "deck/card.h"

#include "deck/sjis_text.h"

#include <limits>
#include <utility>

namespace {

bool IsQuoted(const QByteArray &text) {
    return !text.isEmpty() && text.front() == '"' && text.back() == '"';
}

// A text the reader takes as the start of a quoted field must also end as one, or the search
// for its closing quote runs on into the fields after it. A lone quote opens without closing.
bool OpensWithoutClosing(const QByteArray &text) {
    return text.startsWith('"') && (text.size() == 1 || text.back() != '"');
}

QByteArray *TextField(TMondaiSet &card, int column) {
    switch (column) {
    case 1:
        return &card.Mondai;
    case 2:
        return &card.Kaitou;
    case 3:
        return &card.Sankou;
    case 7:
        return &card.Rireki;
    default:
        return nullptr;
    }
}

qint32 *NumberField(TMondaiSet &card, int column) {
    switch (column) {
    case 4:
        return &card.Jikan;
    case 5:
        return &card.Seikai;
    case 6:
        return &card.Fuseikai;
    default:
        return nullptr;
    }
}

// The reader ends a field that opens with a quote at the first later quote followed by a comma,
// else at the line's end when the line ends in a quote, else at the next comma. An open field
// therefore reads back only when what follows it in the line gives neither of the first two.
bool OpenFieldReadsBack(const QByteArray &field, const QByteArray &rest) {
    const QByteArray line = field + rest;
    return line.indexOf("\",", 1) < 0 && !line.endsWith('"');
}

} // namespace

void KeepLineReadable(TMondaiSet &card) {
    QByteArray *const fields[] = {&card.Mondai, &card.Kaitou, &card.Sankou};
    for (int i = 0; i < 3; ++i) {
        QByteArray &field = *fields[i];
        if (!OpensWithoutClosing(field))
            continue;
        QByteArray rest;
        for (int j = i + 1; j < 3; ++j)
            rest += ',' + *fields[j];
        rest += ",0,0,0," + card.Rireki; // the number columns never hold a quote
        if (!OpenFieldReadsBack(field, rest))
            field = '"' + field + '"';
    }
}

TMondaiSet::TMondaiSet(QByteArray mondai, QByteArray kaitou, QByteArray sankou, qint32 jikan,
                       qint32 seikai, qint32 fuseikai, QByteArray rireki)
    : Mondai(std::move(mondai)), Kaitou(std::move(kaitou)), Sankou(std::move(sankou)), Jikan(jikan),
      Seikai(seikai), Fuseikai(fuseikai), Rireki(std::move(rireki)) {}

bool TMondaiSet::SetField(int column, const QByteArray &value) {
    if (qint32 *number = NumberField(*this, column))
        return ParseInt32(value, number);
    QByteArray *field = TextField(*this, column);
    if (!field)
        return true;
    QByteArray v = SeparateQuoteCommas(value);
    // Once quoted, a field stays quoted; a comma needs quotes, and so does a text that opens
    // with a quote it does not close.
    if ((!IsQuoted(v) && (v.contains(',') || IsQuoted(*field))) || OpensWithoutClosing(v))
        v = '"' + v + '"';
    if (v == "\"\"")
        v.clear();
    *field = v;
    KeepLineReadable(*this);
    return true;
}

QByteArray SeparateQuoteCommas(QByteArray text) {
    // Neither byte is ever the second byte of a double-byte character.
    return text.replace("\",", "\" ,");
}

QByteArray SioriMark() {
    return QByteArrayLiteral("[\x82\xb5\x82\xa8\x82\xe8]");
}

QByteArray Unquote(const QByteArray &text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.mid(1, text.size() - 2);
    return text;
}

QByteArray DecodeLineBreaks(const QByteArray &text) {
    if (!text.contains("\\n"))
        return text;
    // One walk over the characters: a backslash that is the second byte of a double-byte
    // character (表, ソ, 能 ...) never starts an escape.
    QByteArray out;
    out.reserve(text.size() + 8);
    qsizetype pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '\\' && pos + 1 < text.size() && text[pos + 1] == 'n') {
            out.append("\r\n", 2);
            pos += 2;
            continue;
        }
        const qsizetype len = sjis::CharLength(text, pos);
        out.append(text.constData() + pos, len);
        pos += len;
    }
    return out;
}

QByteArray EncodeLineBreaks(const QByteArray &text) {
    QByteArray out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') {
            out.append(c);
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        if (i + 1 < text.size()) // a break at the very end starts no further line
            out.append("\\n", 2);
    }
    return out;
}

bool ParseInt32(QByteArrayView text, qint32 *value) {
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i == text.size())
        return false;
    qint64 magnitude = 0;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c < '0' || c > '9')
            return false;
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > qint64(std::numeric_limits<qint32>::max()) + 1)
            return false;
    }
    const qint64 result = negative ? -magnitude : magnitude;
    if (result > std::numeric_limits<qint32>::max())
        return false;
    *value = qint32(result);
    return true;
}

void AddSioriMark(TMondaiSet &card) {
    QByteArray &q = card.Mondai;
    if (q.size() >= 2 && q.front() == '"' && q.back() == '"')
        q = '"' + SioriMark() + q.mid(1);
    else
        q = SioriMark() + q;
}

bool RemoveSioriMark(TMondaiSet &card) {
    const QByteArray mark = SioriMark();
    const qsizetype at = sjis::IndexOf(card.Mondai, mark);
    if (at < 0)
        return true;
    card.Mondai.remove(at, mark.size());
    // Cutting the marker out of ‹"a"[しおり],b"› must not leave a quote before a comma (an
    // opening quote at the very start is no closing one).
    if (at >= 2 && card.Mondai[at - 1] == '"' && at < card.Mondai.size() && card.Mondai[at] == ',')
        card.Mondai.insert(at, ' ');
    KeepLineReadable(card);
    return false;
}

bool HasSioriMark(const TMondaiSet &card) {
    // A byte search first: the walk over characters is needed only where the bytes occur, and
    // looking through a million questions for the bookmark is part of opening a deck.
    const QByteArray mark = SioriMark();
    return card.Mondai.contains(mark) && sjis::IndexOf(card.Mondai, mark) >= 0;
}
