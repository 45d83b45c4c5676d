#include "deck/deck.h"

#include "deck/large_memory.h"
#include "deck/text_block.h"

#include <charconv>
#include <cstring>
#include <utility>

namespace {

const char *FindByte(const char *from, const char *end, char c) {
    return static_cast<const char *>(std::memchr(from, c, size_t(end - from)));
}

// The closing quote of a quoted field starting at `open`: the first quote after it that is
// followed by a comma, or nullptr. (Quotes and commas are never the second byte of a
// double-byte character, so a byte search is a character search.)
const char *ClosingQuote(const char *open, const char *end) {
    for (const char *p = open + 1; (p = FindByte(p, end, '"')); ++p) {
        if (p + 1 < end && p[1] == ',')
            return p;
    }
    return nullptr;
}

int DigitCount(qint32 value) {
    char buffer[16];
    return int(std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer);
}

char *Put(char *out, const QByteArray &text) {
    std::memcpy(out, text.constData(), size_t(text.size()));
    return out + text.size();
}

char *Put(char *out, qint32 value) {
    return std::to_chars(out, out + 16, value).ptr;
}

qsizetype LineLength(const TMondaiSet &card) {
    return card.Mondai.size() + card.Kaitou.size() + card.Sankou.size() + card.Rireki.size() +
           DigitCount(card.Jikan) + DigitCount(card.Seikai) + DigitCount(card.Fuseikai) + 6;
}

char *PutLine(char *out, const TMondaiSet &card) {
    out = Put(out, card.Mondai);
    *out++ = ',';
    out = Put(out, card.Kaitou);
    *out++ = ',';
    out = Put(out, card.Sankou);
    *out++ = ',';
    out = Put(out, card.Jikan);
    *out++ = ',';
    out = Put(out, card.Seikai);
    *out++ = ',';
    out = Put(out, card.Fuseikai);
    *out++ = ',';
    return Put(out, card.Rireki);
}

bool HasComma(QByteArrayView line) {
    return line.contains(',');
}

} // namespace

LineFields SplitFields(QByteArrayView line) {
    LineFields fields;
    const char *pos = line.data();
    const char *const end = pos + line.size();
    for (QByteArrayView &field : fields) {
        if (pos >= end)
            break;
        if (*pos == '"') {
            if (const char *close = ClosingQuote(pos, end)) {
                field = QByteArrayView(pos, close + 1 - pos);
                pos = close + 2;
                continue;
            }
            if (end[-1] == '"') {
                field = QByteArrayView(pos, end - pos);
                pos = end;
                continue;
            }
            // No end by the quoting rules: it ends like any other field.
        }
        const char *comma = FindByte(pos, end, ',');
        const char *stop = comma ? comma : end;
        field = QByteArrayView(pos, stop - pos);
        pos = comma ? comma + 1 : end;
    }
    return fields;
}

QByteArray ExtractField(QByteArrayView line, int n) {
    if (n < 1 || n > 7)
        return {};
    return SplitFields(line)[size_t(n - 1)].toByteArray();
}

qint32 FieldToInt(QByteArrayView field) {
    qint32 value = 0;
    return ParseInt32(field, &value) ? value : 0;
}

bool IsUnsuitable(const DeckLines &lines) {
    const qsizetype count = lines.Count();
    return !(count > 0 && HasComma(lines.Line(0))) && !(count > 1 && HasComma(lines.Line(1)));
}

void ParseDeck(Deck &deck, qint32 today, CardRefList &askQueue) {
    deck.CardList.clear();
    askQueue.clear();
    deck.CardList.reserve(size_t(deck.SavedLines.Count()));
    askQueue.reserve(size_t(deck.SavedLines.Count()));
    TextBlock texts(deck.SavedLines.Bytes().size());
    deck.SavedLines.ForEach([&](QByteArrayView line) {
        const LineFields f = SplitFields(line);
        auto card = std::make_unique<TMondaiSet>(
            texts.Copy(f[0]), texts.Copy(f[1]), texts.Copy(f[2]), FieldToInt(f[3]),
            FieldToInt(f[4]), FieldToInt(f[5]), texts.Copy(f[6]));
        if (card->Jikan < today)
            askQueue.push_back(card.get());
        deck.CardList.push_back(std::move(card));
    });
}

QByteArray RenderCardLine(const TMondaiSet &card) {
    QByteArray line(LineLength(card), Qt::Uninitialized);
    PutLine(line.data(), card);
    return line;
}

int RenderDeckLines(Deck &deck) {
    if (deck.CardList.empty())
        return 1;
    qsizetype size = 0;
    for (const auto &card : deck.CardList)
        size += LineLength(*card) + 2;
    QByteArray bytes = large_memory::UninitializedBytes(size);
    char *out = bytes.data();
    for (const auto &card : deck.CardList) {
        out = PutLine(out, *card);
        *out++ = '\r';
        *out++ = '\n';
    }
    deck.RenderedLines =
        DeckLines::FromBytesWithCrLf(std::move(bytes), qsizetype(deck.CardList.size()));
    return 0;
}

bool IsDeckChanged(Deck &deck) {
    RenderDeckLines(deck);
    return !(deck.RenderedLines == deck.SavedLines);
}
