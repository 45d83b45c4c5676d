#include "deck/search_index.h"

#include "deck/text_match.h"

#include <algorithm>

namespace {

// Edits beyond this many are cheaper to fold again from scratch.
constexpr std::size_t kEditsPatchedOneByOne = 64;
// Cards indexed between looks at the clock.
constexpr qsizetype kCardsPerClockLook = 2048;

// A card's identity in 32 bits: a different card at a position almost surely has another tag.
quint32 Tag(const TMondaiSet *card) {
    quint64 v = quint64(quintptr(card));
    v ^= v >> 31;
    v *= 0xbf58476d1ce4e5b9ULL;
    v ^= v >> 29;
    return quint32(v >> 32);
}

// One card's entry: question, end byte, answer, end byte, reference; `ends` gets its end.
void AppendEntry(QByteArray &blob, std::vector<quint32> &ends, const TMondaiSet &card) {
    // Views, not texts: a reference taken and dropped per text adds up over a million cards.
    const auto texts = card.Views();
    textmatch::AppendFoldedStored(blob, texts[TMondaiSet::kMondai], true);
    blob.append(textmatch::kFieldEnd[0]);
    textmatch::AppendFoldedStored(blob, texts[TMondaiSet::kKaitou], true);
    blob.append(textmatch::kFieldEnd[1]);
    textmatch::AppendFoldedStored(blob, texts[TMondaiSet::kSankou], true);
    ends.push_back(quint32(blob.size()));
}

} // namespace

void SearchIndex::NoteEdited(const TMondaiSet *card) {
    if (tags_.empty() || std::find(edited_.begin(), edited_.end(), card) != edited_.end())
        return;
    edited_.push_back(card);
    if (edited_.size() > kEditsPatchedOneByOne)
        Forget(); // cheaper to fold everything again at the next search
}

void SearchIndex::Forget() {
    Truncate(0);
    edited_.clear();
    blob_.squeeze();
    tags_.shrink_to_fit();
    starts_.shrink_to_fit();
}

qsizetype SearchIndex::FirstDifference() const {
    const std::size_t common = std::min(tags_.size(), source_.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (tags_[i] != Tag(source_[i].get()))
            return qsizetype(i);
    }
    return qsizetype(common);
}

bool SearchIndex::OutOfStep() const {
    if (!edited_.empty())
        return true;
    if (complete_ && tags_.size() != source_.size())
        return true;
    return FirstDifference() != CardCount();
}

void SearchIndex::Sync() {
    const qsizetype front = FirstDifference();
    const qsizetype deckSize = qsizetype(source_.size());
    if (!complete_) {
        Truncate(front); // the rest is built by Extend
    } else if (front < CardCount() || CardCount() != deckSize) {
        // Match the tails too, so that only the cards that changed are folded again.
        qsizetype tail = 0;
        const qsizetype room = std::min(CardCount(), deckSize) - front;
        while (tail < room && tags_[tags_.size() - 1 - std::size_t(tail)] ==
                                  Tag(source_[source_.size() - 1 - std::size_t(tail)].get()))
            ++tail;
        Replace(front, CardCount() - tail, deckSize - tail);
    }
    for (const TMondaiSet *card : edited_) {
        const auto at =
            std::find_if(source_.begin(), source_.end(),
                         [card](const std::unique_ptr<TMondaiSet> &c) { return c.get() == card; });
        const qsizetype index = at - source_.begin();
        if (index < CardCount())
            Replace(index, index + 1, index + 1);
    }
    edited_.clear();
}

bool SearchIndex::Extend(const QDeadlineTimer &deadline) {
    while (tags_.size() < source_.size()) {
        const std::size_t stop =
            std::min(source_.size(), tags_.size() + std::size_t(kCardsPerClockLook));
        for (std::size_t i = tags_.size(); i < stop; ++i) {
            AppendEntry(blob_, starts_, *source_[i]);
            tags_.push_back(Tag(source_[i].get()));
        }
        if (deadline.hasExpired() && tags_.size() < source_.size())
            return false;
    }
    if (!complete_) {
        complete_ = true;
        blob_.squeeze();
        tags_.shrink_to_fit();
        starts_.shrink_to_fit();
    }
    return edited_.empty();
}

void SearchIndex::Truncate(qsizetype cards) {
    complete_ = false;
    tags_.resize(std::size_t(cards));
    starts_.resize(std::size_t(cards) + 1);
    blob_.truncate(qsizetype(starts_.back()));
}

void SearchIndex::Replace(qsizetype first, qsizetype last, qsizetype newLast) {
    const qsizetype from = EntryStart(first);
    const qsizetype to = EntryStart(last);
    QByteArray fresh;
    std::vector<quint32> freshEnds; // entry ends within `fresh`
    for (qsizetype i = first; i < newLast; ++i)
        AppendEntry(fresh, freshEnds, *source_[std::size_t(i)]);
    blob_.replace(from, to - from, fresh);

    const qint64 shift = qint64(fresh.size()) - (to - from);
    std::vector<quint32> starts;
    starts.reserve(starts_.size() + std::size_t(std::max<qsizetype>(0, newLast - last)));
    starts.insert(starts.end(), starts_.begin(), starts_.begin() + first + 1);
    for (const quint32 end : freshEnds)
        starts.push_back(quint32(from + qsizetype(end)));
    for (auto it = starts_.begin() + last + 1; it != starts_.end(); ++it)
        starts.push_back(quint32(qint64(*it) + shift));
    starts_ = std::move(starts);

    std::vector<quint32> tags;
    tags.reserve(starts_.size() - 1);
    tags.insert(tags.end(), tags_.begin(), tags_.begin() + first);
    for (qsizetype i = first; i < newLast; ++i)
        tags.push_back(Tag(source_[std::size_t(i)].get()));
    tags.insert(tags.end(), tags_.begin() + last, tags_.end());
    tags_ = std::move(tags);
}

qsizetype SearchIndex::CardAt(qsizetype offset) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), quint32(offset));
    return qsizetype(after - starts_.begin()) - 1;
}

qsizetype SearchIndex::MemoryBytes() const {
    return blob_.capacity() + qsizetype((tags_.capacity() + starts_.capacity()) * sizeof(quint32));
}
