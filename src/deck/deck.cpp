#include "deck/deck.h"

#include "deck/large_memory.h"
#include "deck/text_block.h"

#include <algorithm>
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

char *PutFileLine(char *out, const TMondaiSet &card) {
    out = PutLine(out, card);
    *out++ = '\r';
    *out++ = '\n';
    return out;
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
    const DeckLines &lines = deck.SavedLines;
    deck.CardList.reserve(size_t(lines.Count()));
    askQueue.reserve(size_t(lines.Count()));
    TextSlicer texts(lines.Bytes(), 4 * lines.Count());
    lines.ForEach([&](QByteArrayView line) {
        const LineFields f = SplitFields(line);
        auto card = std::make_unique<TMondaiSet>(
            texts.Slice(f[0]), texts.Slice(f[1]), texts.Slice(f[2]), FieldToInt(f[3]),
            FieldToInt(f[4]), FieldToInt(f[5]), texts.Slice(f[6]));
        if (card->Jikan < today)
            askQueue.push_back(card.get());
        deck.CardList.push_back(std::move(card));
    });
}

void ResliceCards(const CardOwnerList &cards, const DeckLines &lines) {
    if (qsizetype(cards.size()) != lines.Count())
        return;
    TextSlicer texts(lines.Bytes(), 4 * lines.Count());
    auto card = cards.begin();
    lines.ForEach([&](QByteArrayView line) {
        const LineFields f = SplitFields(line);
        TMondaiSet &c = **card++;
        // Only a text that reads back as itself moves over; anything else stays as it is.
        for (auto [field, text] : {std::pair{&c.Mondai, f[0]},
                                   {&c.Kaitou, f[1]},
                                   {&c.Sankou, f[2]},
                                   {&c.Rireki, f[6]}}) {
            if (!text.isEmpty() && *field == text)
                *field = texts.Slice(text);
        }
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
    QByteArray bytes =
        large_memory::UninitializedBytes(DeckRenderer(deck.CardList, deck.SavedLines).TotalBytes());
    char *out = bytes.data();
    for (const auto &card : deck.CardList)
        out = PutFileLine(out, *card);
    deck.RenderedLines =
        DeckLines::FromBytesWithCrLf(std::move(bytes), qsizetype(deck.CardList.size()));
    return 0;
}

DeckRenderer::DeckRenderer(const CardOwnerList &cards, const DeckLines &saved)
    : cards_(cards), next_(cards.begin()), saved_(saved.Bytes()) {}

QByteArrayView DeckRenderer::Next() {
    offset_ += block_.size();
    block_.resize(0);
    block_.reserve(kBlockBytes + 4096);
    while (next_ != cards_.end() && block_.size() < kBlockBytes) {
        const qsizetype length = LineLength(**next_) + 2;
        const qsizetype at = block_.size();
        block_.resize(at + length); // keeps its capacity, so this allocates once per save
        PutFileLine(block_.data() + at, **next_);
        ++next_;
    }
    Compare(block_);
    return block_;
}

void DeckRenderer::Compare(QByteArrayView block) {
    if (!same_)
        return;
    const QByteArrayView old = saved_.sliced(std::min(offset_, saved_.size()));
    same_ = old.size() >= block.size() &&
            std::memcmp(old.data(), block.data(), size_t(block.size())) == 0;
}

bool DeckRenderer::SameAsSaved() const {
    return same_ && next_ == cards_.end() && offset_ + block_.size() == saved_.size();
}

qsizetype DeckRenderer::TotalBytes() const {
    qsizetype size = 0;
    for (const auto &card : cards_)
        size += LineLength(*card) + 2;
    return size;
}

bool IsDeckChanged(Deck &deck) {
    // An empty deck is never written, so what counts is the rendering last made.
    if (deck.CardList.empty())
        return !(deck.RenderedLines == deck.SavedLines);
    DeckRenderer renderer(deck.CardList, deck.SavedLines);
    while (!renderer.Next().isEmpty() && renderer.SameSoFar()) {
    }
    return !renderer.SameAsSaved();
}
