#include "deck/card_search.h"

#include <algorithm>
#include <cstring>

namespace {

// Cards scanned between looks at the clock.
constexpr qsizetype kCardsPerSlice = 32768;

} // namespace

void CardSearch::Forget() {
    Clear();
    index_.Forget();
}

void CardSearch::Start(const QString &typed, bool kanaSame, textmatch::FieldSet fields,
                       qsizetype from) {
    loose_ = textmatch::Query(typed, true);
    exact_ = textmatch::Query(typed, kanaSame);
    fields_ = fields;
    active_ = exact_.CanMatch() && fields.Any();
    from_ = std::clamp<qsizetype>(from, 0, qsizetype(cards_.size()));
    after_.clear();
    before_.clear();
    sorted_.clear();
    phase_ = active_ ? Phase::Index : Phase::Done;
    if (active_)
        index_.Sync();
}

void CardSearch::Clear() {
    active_ = false;
    phase_ = Phase::Done;
    after_.clear();
    before_.clear();
    sorted_.clear();
}

bool CardSearch::Step(const QDeadlineTimer &deadline) {
    // Every call gets on by at least one slice, however late it is.
    while (phase_ != Phase::Done) {
        switch (phase_) {
        case Phase::Index:
            if (!index_.Extend(deadline))
                return false;
            cursor_ = from_;
            phase_ = Phase::After;
            break;
        case Phase::After:
            if (ScanSlice(index_.CardCount(), after_)) {
                cursor_ = 0;
                phase_ = Phase::Before;
            }
            break;
        case Phase::Before:
            if (ScanSlice(from_, before_))
                phase_ = Phase::Done;
            break;
        case Phase::Done:
            break;
        }
        if (phase_ != Phase::Done && deadline.hasExpired())
            return false;
    }
    return true;
}

bool CardSearch::ScanSlice(qsizetype end, std::vector<qsizetype> &found) {
    const qsizetype stop = std::min(end, cursor_ + kCardsPerSlice);
    const QByteArray &blob = index_.Blob();
    const QByteArray &needle = loose_.Folded();
    qsizetype pos = index_.EntryStart(cursor_);
    const qsizetype limit = index_.EntryStart(stop);
    while (pos < limit) {
        const void *hit = memmem(blob.constData() + pos, std::size_t(limit - pos),
                                 needle.constData(), std::size_t(needle.size()));
        if (!hit)
            break;
        const qsizetype at = static_cast<const char *>(hit) - blob.constData();
        const qsizetype card = index_.CardAt(at);
        if (Accept(card, at, &pos))
            found.push_back(card);
    }
    cursor_ = stop;
    return stop == end;
}

bool CardSearch::Accept(qsizetype card, qsizetype at, qsizetype *resumeAt) const {
    const QByteArray &blob = index_.Blob();
    const qsizetype nextCard = index_.EntryStart(card + 1);
    // Which field the hit lies in, and that field's bounds (the reference ends with the entry).
    qsizetype fieldStart = index_.EntryStart(card);
    int field = 0;
    qsizetype fieldEnd = nextCard;
    for (; field < 2; ++field) {
        const auto *end = static_cast<const char *>(
            std::memchr(blob.constData() + fieldStart, textmatch::kFieldEnd[field],
                        std::size_t(nextCard - fieldStart)));
        fieldEnd = end ? end - blob.constData() : nextCard;
        if (at < fieldEnd)
            break;
        fieldStart = fieldEnd + 1;
        fieldEnd = nextCard;
    }
    *resumeAt = field < 2 ? fieldEnd + 1 : nextCard;
    if (!fields_.Has(field))
        return false;
    const QByteArrayView text(blob.constData() + fieldStart, fieldEnd - fieldStart);
    if (loose_.FindIn(text, at - fieldStart) < 0)
        return false;
    *resumeAt = nextCard;
    return exact_.KanaSame() || exact_.MatchesCard(*index_.Card(card), fields_);
}

qsizetype CardSearch::FirstMatch() const {
    if (!after_.empty())
        return after_.front();
    if (phase_ == Phase::Done && !before_.empty())
        return before_.front();
    return -1;
}

const std::vector<qsizetype> &CardSearch::Sorted() const {
    if (sorted_.size() != after_.size() + before_.size()) {
        sorted_ = before_;
        sorted_.insert(sorted_.end(), after_.begin(), after_.end());
    }
    return sorted_;
}

bool CardSearch::IsMatch(qsizetype card) const {
    return std::binary_search(after_.begin(), after_.end(), card) ||
           std::binary_search(before_.begin(), before_.end(), card);
}

qsizetype CardSearch::Neighbour(qsizetype card, bool backwards, bool *wrapped) const {
    const std::vector<qsizetype> &all = Sorted();
    *wrapped = false;
    if (all.empty())
        return -1;
    if (!backwards) {
        const auto next = std::upper_bound(all.begin(), all.end(), card);
        if (next != all.end())
            return *next;
        *wrapped = true;
        return all.front();
    }
    const auto next = std::lower_bound(all.begin(), all.end(), card);
    if (next != all.begin())
        return *(next - 1);
    *wrapped = true;
    return all.back();
}

qsizetype CardSearch::Rank(qsizetype card) const {
    const std::vector<qsizetype> &all = Sorted();
    const auto at = std::lower_bound(all.begin(), all.end(), card);
    return at != all.end() && *at == card ? (at - all.begin()) + 1 : 0;
}
