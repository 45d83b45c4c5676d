#include "deck/deck.h"

#include "deck/file_access.h"
#include "deck/large_memory.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <utility>

namespace {

int DigitCount(qint32 value) {
    char buffer[16];
    return int(std::to_chars(buffer, buffer + sizeof buffer, value).ptr - buffer);
}

char *Put(char *out, QByteArrayView text) {
    if (text.isEmpty())
        return out;
    std::memcpy(out, text.constData(), size_t(text.size()));
    return out + text.size();
}

char *Put(char *out, qint32 value) {
    return std::to_chars(out, out + 16, value).ptr;
}

qsizetype LineLength(const TMondaiSet &card) {
    qsizetype length =
        DigitCount(card.Jikan) + DigitCount(card.Seikai) + DigitCount(card.Fuseikai) + 6;
    for (const QByteArrayView text : card.Views())
        length += text.size();
    return length;
}

char *PutLine(char *out, const TMondaiSet &card) {
    const auto texts = card.Views();
    out = Put(out, texts[TMondaiSet::kMondai]);
    *out++ = ',';
    out = Put(out, texts[TMondaiSet::kKaitou]);
    *out++ = ',';
    out = Put(out, texts[TMondaiSet::kSankou]);
    *out++ = ',';
    out = Put(out, card.Jikan);
    *out++ = ',';
    out = Put(out, card.Seikai);
    *out++ = ',';
    out = Put(out, card.Fuseikai);
    *out++ = ',';
    return Put(out, texts[TMondaiSet::kRireki]);
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

QByteArray RenderCardLine(const TMondaiSet &card) {
    QByteArray line(LineLength(card), Qt::Uninitialized);
    PutLine(line.data(), card);
    return line;
}

void Deck::TakeParsed(Deck &&parsed, FileStamp stamp) {
    *this = std::move(parsed);
    diskStamp_ = std::move(stamp);
}

void Deck::StartUnsaved(CardOwnerList cards) {
    cards_ = std::move(cards);
    fileName_.clear();
    savedLines_ = DeckLines();
    renderedLines_ = DeckLines();
    diskStamp_ = FileStamp();
    savedBase_.reset();
}

void Deck::AppendCards(CardOwnerList cards) {
    cards_.reserve(cards_.size() + cards.size());
    for (auto &card : cards)
        cards_.push_back(std::move(card));
}

void Deck::InsertCard(qsizetype at, std::unique_ptr<TMondaiSet> card) {
    cards_.insert(cards_.begin() + at, std::move(card));
}

std::unique_ptr<TMondaiSet> Deck::TakeCard(qsizetype at) {
    std::unique_ptr<TMondaiSet> card = std::move(cards_[std::size_t(at)]);
    cards_.erase(cards_.begin() + at);
    return card;
}

CardOwnerList Deck::ReplaceCards(CardOwnerList cards) {
    cards_.swap(cards);
    return cards;
}

int RenderDeckLines(Deck &deck) {
    if (deck.cards_.empty())
        return 1;
    QByteArray bytes =
        large_memory::UninitializedBytes(DeckRenderer(deck.cards_, deck.savedLines_).TotalBytes());
    char *out = bytes.data();
    for (const auto &card : deck.cards_)
        out = PutFileLine(out, *card);
    deck.renderedLines_ =
        DeckLines::FromBytesWithCrLf(std::move(bytes), qsizetype(deck.cards_.size()));
    return 0;
}

DeckRenderer::DeckRenderer(const CardOwnerList &cards, const DeckLines &saved, bool hashAll)
    : cards_(cards), next_(cards.begin()), saved_(saved) {
    if (hashAll || saved.KnownByHash())
        hash_ = std::make_unique<file_access::ContentHasher>();
}

DeckRenderer::~DeckRenderer() = default;

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
    if (hash_)
        hash_->Add(block);
    if (!same_ || saved_.KnownByHash())
        return;
    const QByteArrayView saved(saved_.Bytes());
    const QByteArrayView old = saved.sliced(std::min(offset_, saved.size()));
    same_ = old.size() >= block.size() &&
            std::memcmp(old.data(), block.data(), size_t(block.size())) == 0;
}

bool DeckRenderer::SameAsSaved() const {
    if (!same_ || next_ != cards_.end() || offset_ + block_.size() != saved_.Size())
        return false;
    return !saved_.KnownByHash() ||
           (qsizetype(cards_.size()) == saved_.Count() && hash_->Value() == saved_.Hash());
}

quint64 DeckRenderer::Hash() const {
    return hash_ ? hash_->Value() : 0;
}

qsizetype DeckRenderer::TotalBytes() const {
    qsizetype size = 0;
    for (const auto &card : cards_)
        size += LineLength(*card) + 2;
    return size;
}

bool IsDeckChanged(Deck &deck) {
    // An empty deck is never written, so what counts is the rendering last made.
    if (deck.Cards().empty())
        return !(deck.RenderedLines() == deck.SavedLines());
    DeckRenderer renderer(deck.Cards(), deck.SavedLines());
    while (!renderer.Next().isEmpty() && renderer.SameSoFar()) {
    }
    return !renderer.SameAsSaved();
}
