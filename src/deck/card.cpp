#include "deck/card.h"

#include "deck/sjis_text.h"
#include "deck/text_buffers.h"

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

// The text of a column, or -1 for a number column.
int TextOfColumn(int column) {
    switch (column) {
    case 1:
        return TMondaiSet::kMondai;
    case 2:
        return TMondaiSet::kKaitou;
    case 3:
        return TMondaiSet::kSankou;
    case 7:
        return TMondaiSet::kRireki;
    default:
        return -1;
    }
}

QByteArray *OwnText(quint64 raw) {
    return reinterpret_cast<QByteArray *>(raw);
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

// A million cards take 48 MB; every further byte here costs a megabyte.
static_assert(sizeof(TMondaiSet) == 48);

void KeepLineReadable(TMondaiSet &card) {
    for (int i = 0; i < 3; ++i) {
        const auto which = TMondaiSet::Text(i);
        const QByteArray field = card.GetText(which);
        if (!OpensWithoutClosing(field))
            continue;
        QByteArray rest;
        for (int j = i + 1; j < 3; ++j)
            rest += ',' + card.GetText(TMondaiSet::Text(j));
        rest += ",0,0,0," + card.Rireki(); // the number columns never hold a quote
        if (!OpenFieldReadsBack(field, rest))
            card.SetText(which, '"' + field + '"');
    }
}

TMondaiSet::TMondaiSet(QByteArray mondai, QByteArray kaitou, QByteArray sankou, qint32 jikan,
                       qint32 seikai, qint32 fuseikai, QByteArray rireki)
    : Jikan(jikan), Seikai(seikai), Fuseikai(fuseikai) {
    SetText(kMondai, std::move(mondai));
    SetText(kKaitou, std::move(kaitou));
    SetText(kSankou, std::move(sankou));
    SetText(kRireki, std::move(rireki));
}

TMondaiSet::TMondaiSet(const TMondaiSet &other)
    : Jikan(other.Jikan), Seikai(other.Seikai), Fuseikai(other.Fuseikai), source_(other.source_) {
    if (source_)
        text_buffers::Retain(source_);
    for (int i = 0; i < 4; ++i) {
        const quint64 raw = other.texts_[i];
        texts_[i] = (raw & 1) || raw == 0 ? raw : quint64(new QByteArray(*OwnText(raw)));
    }
}

TMondaiSet &TMondaiSet::operator=(const TMondaiSet &other) {
    if (this != &other) {
        TMondaiSet copy(other);
        DropTexts();
        Jikan = copy.Jikan;
        Seikai = copy.Seikai;
        Fuseikai = copy.Fuseikai;
        std::swap(source_, copy.source_);
        std::swap(texts_, copy.texts_);
    }
    return *this;
}

TMondaiSet::~TMondaiSet() {
    DropTexts();
}

void TMondaiSet::DropTexts() {
    for (quint64 &raw : texts_) {
        if (raw && !(raw & 1))
            delete OwnText(raw);
        raw = 0;
    }
    if (source_)
        text_buffers::Release(source_);
    source_ = 0;
}

namespace {

QByteArrayView TextAt(quint64 raw, const char *source) {
    if (raw == 0)
        return {};
    if (raw & 1)
        return QByteArrayView(source + ((raw & 0xffffffffu) >> 1), qsizetype(raw >> 32));
    return *OwnText(raw);
}

} // namespace

QByteArrayView TMondaiSet::View(Text which) const {
    return TextAt(texts_[which], source_ ? text_buffers::Bytes(source_) : nullptr);
}

std::array<QByteArrayView, 4> TMondaiSet::Views() const {
    const char *source = source_ ? text_buffers::Bytes(source_) : nullptr;
    return {TextAt(texts_[0], source), TextAt(texts_[1], source), TextAt(texts_[2], source),
            TextAt(texts_[3], source)};
}

const QByteArray TMondaiSet::GetText(Text which) const {
    const quint64 raw = texts_[which];
    if (raw == 0)
        return {};
    if (!(raw & 1))
        return *OwnText(raw);
    // A slice shares the source's bytes and holds a reference on them, like any shared
    // QByteArray; unlike most, it is not NUL-terminated.
    const QByteArray &buffer = text_buffers::Buffer(source_);
    QArrayData *header = const_cast<QByteArray &>(buffer).data_ptr().d_ptr();
    const QByteArrayView text = View(which);
    if (!header)
        return text.toByteArray();
    header->ref_.ref();
    using Header = QTypedArrayData<char>;
    return QByteArray(QByteArray::DataPointer(static_cast<Header *>(header),
                                              const_cast<char *>(text.data()), text.size()));
}

void TMondaiSet::SetText(Text which, QByteArray text) {
    quint64 &raw = texts_[which];
    if (raw && !(raw & 1)) {
        if (text.isEmpty()) {
            delete OwnText(raw);
            raw = 0;
        } else {
            *OwnText(raw) = std::move(text);
        }
        return;
    }
    raw = text.isEmpty() ? 0 : quint64(new QByteArray(std::move(text)));
}

bool TMondaiSet::SetField(int column, const QByteArray &value) {
    if (qint32 *number = NumberField(*this, column))
        return ParseInt32(value, number);
    const int text = TextOfColumn(column);
    if (text < 0)
        return true;
    const auto which = Text(text);
    QByteArray v = SeparateQuoteCommas(value);
    // Once quoted, a field stays quoted; a comma needs quotes, and so does a text that opens
    // with a quote it does not close.
    if ((!IsQuoted(v) && (v.contains(',') || IsQuoted(GetText(which)))) || OpensWithoutClosing(v))
        v = '"' + v + '"';
    if (v == "\"\"")
        v.clear();
    SetText(which, v);
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
    const QByteArray q = card.Mondai();
    if (q.size() >= 2 && q.front() == '"' && q.back() == '"')
        card.SetMondai('"' + SioriMark() + q.mid(1));
    else
        card.SetMondai(SioriMark() + q);
}

bool RemoveSioriMark(TMondaiSet &card) {
    const QByteArray mark = SioriMark();
    QByteArray q = card.Mondai();
    const qsizetype at = sjis::IndexOf(q, mark);
    if (at < 0)
        return true;
    q.remove(at, mark.size());
    // Cutting the marker out of ‹"a"[しおり],b"› must not leave a quote before a comma (an
    // opening quote at the very start is no closing one).
    if (at >= 2 && q[at - 1] == '"' && at < q.size() && q[at] == ',')
        q.insert(at, ' ');
    card.SetMondai(std::move(q));
    KeepLineReadable(card);
    return false;
}

bool HasSioriMark(const TMondaiSet &card) {
    // A byte search first: the walk over characters is needed only where the bytes occur, and
    // looking through a million questions for the bookmark is part of opening a deck.
    const QByteArray mark = SioriMark();
    return card.View(TMondaiSet::kMondai).contains(mark) && sjis::IndexOf(card.Mondai(), mark) >= 0;
}
