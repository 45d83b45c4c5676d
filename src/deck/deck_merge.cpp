// Merging two versions of a deck card by card.
//
// Each card gets a key: the hash of its texts, mixed with how many cards of the same texts come
// before it, so that keys are unique on each side and duplicates match by occurrence. A side is
// matched against the base (or, without a base, the two sides against each other) by key; the
// longest run of matches in the same order on both gives the anchors. Between two anchors, the
// cards a side lost and the cards it gained pair up in order as edits; matches out of order are
// moves. Every card of the result is then an identity (a base card, kept, edited or moved) or an
// insert. Identities keep the base order; inserts and moved cards follow the anchor before them
// on their side, runs from the two sides at one place ordered by their content, so the result
// does not depend on which side is which.
#include "deck/deck_merge.h"

#include "deck/file_access.h"

#include <QDataStream>
#include <QDir>

#include <algorithm>
#include <bit>
#include <future>
#include <limits>
#include <system_error>
#include <utility>

namespace {

quint64 Mix(quint64 a, quint64 b) {
    quint64 h = (a ^ (b + 0x9E3779B97F4A7C15ull + (a << 6) + (a >> 2))) * 0xBF58476D1CE4E5B9ull;
    return h ^ (h >> 31);
}

quint64 HistoryHash(const TMondaiSet &card) {
    return file_access::ContentHash(card.View(TMondaiSet::kRireki));
}

// An open-addressing table from non-zero 64-bit keys to indices, sized once.
class KeyTable {
public:
    explicit KeyTable(size_t count) {
        const size_t capacity = std::bit_ceil(std::max<size_t>(16, count * 2));
        shift_ = 64 - std::countr_zero(capacity);
        slots_.resize(capacity);
    }
    // The value of `key`, inserted as `value` when absent.
    qint32 &Insert(quint64 key, qint32 value) {
        Slot &slot = Find(key);
        if (slot.key == 0)
            slot = {Fixed(key), value};
        return slot.value;
    }
    qint32 Get(quint64 key) const {
        const Slot &slot = const_cast<KeyTable *>(this)->Find(key);
        return slot.key == 0 ? -1 : slot.value;
    }

private:
    struct Slot {
        quint64 key = 0;
        qint32 value = 0;
    };
    static quint64 Fixed(quint64 key) { return key == 0 ? 1 : key; }
    Slot &Find(quint64 key) {
        key = Fixed(key);
        const size_t mask = slots_.size() - 1;
        for (size_t i = size_t((key * 0x9E3779B97F4A7C15ull) >> shift_);; i = (i + 1) & mask)
            if (slots_[i].key == key || slots_[i].key == 0)
                return slots_[i];
    }
    std::vector<Slot> slots_;
    int shift_ = 0;
};

// Keys unique on one side: the n-th card of equal texts gets its texts' hash mixed with n.
std::vector<quint64> OccurrenceKeys(const std::vector<quint64> &texts) {
    KeyTable seen(texts.size());
    std::vector<quint64> keys(texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        const qint32 n = seen.Insert(texts[i], 0)++;
        keys[i] = n == 0 ? texts[i] : Mix(texts[i], quint64(n));
    }
    return keys;
}

// The positions of the longest strictly increasing run of `values` (-1: no value).
std::vector<char> LongestIncreasing(const std::vector<qint32> &values) {
    std::vector<qint32> tailValue, tailAt, before(values.size(), -1);
    for (size_t i = 0; i < values.size(); ++i) {
        const qint32 v = values[i];
        if (v < 0)
            continue;
        size_t pos = tailValue.size();
        if (!tailValue.empty() && v <= tailValue.back())
            pos =
                size_t(std::lower_bound(tailValue.begin(), tailValue.end(), v) - tailValue.begin());
        before[i] = pos > 0 ? tailAt[pos - 1] : -1;
        if (pos == tailValue.size()) {
            tailValue.push_back(v);
            tailAt.push_back(qint32(i));
        } else {
            tailValue[pos] = v;
            tailAt[pos] = qint32(i);
        }
    }
    std::vector<char> in(values.size(), 0);
    for (qint32 i = tailAt.empty() ? -1 : tailAt.back(); i >= 0; i = before[size_t(i)])
        in[size_t(i)] = 1;
    return in;
}

// One side's cards against the identities.
struct Side {
    const CardOwnerList *cards = nullptr;
    std::vector<quint64> texts;  // CardTextHash per card
    std::vector<qint32> id;      // per card: its identity, or -1 for an insert
    std::vector<char> anchored;  // per card: an identity in the base order
    std::vector<qint32> at;      // per identity: the card, or -1 where this side has none
    std::vector<qint32> matched; // per card: the identity matched by key, -1 for none
};

std::vector<quint64> TextHashes(const CardOwnerList &cards) {
    std::vector<quint64> texts(cards.size());
    for (size_t i = 0; i < cards.size(); ++i)
        texts[i] = CardTextHash(*cards[i]);
    return texts;
}

// How far ahead a side and the base are searched for the place where they run alike again, at
// first; the search widens until it finds one or reaches the ends.
constexpr size_t kResyncWindow = 64;
// Cards that must follow alike for a place to count as where the two run alike again, so that
// a lone duplicate text does not tie them at the wrong place.
constexpr size_t kResyncRun = 4;

// Whether base[b..] and side[i..] run alike for kResyncRun cards, or to the end of either.
bool RunAlike(const std::vector<quint64> &base, size_t b, const std::vector<quint64> &side,
              size_t i) {
    for (size_t k = 0; k < kResyncRun; ++k, ++b, ++i) {
        if (b == base.size() || i == side.size())
            return true;
        if (base[b] != side[i])
            return false;
    }
    return true;
}

// From where base[b] and side[i] first differ, the nearest place ahead where they run alike
// again: the first base card of such a run, found among the side cards ahead. Nothing when
// none is found before the ends.
std::optional<std::pair<size_t, size_t>> Resync(const std::vector<quint64> &base, size_t b,
                                                const std::vector<quint64> &side, size_t i) {
    for (size_t window = kResyncWindow;; window *= 2) {
        const size_t baseEnd = std::min(base.size(), b + window);
        const size_t sideEnd = std::min(side.size(), i + window);
        KeyTable ahead(sideEnd - i);
        for (size_t k = i; k < sideEnd; ++k)
            ahead.Insert(side[k], qint32(k - i));
        for (size_t k = b; k < baseEnd; ++k) {
            const qint32 at = ahead.Get(base[k]);
            if (at >= 0 && RunAlike(base, k, side, i + size_t(at)))
                return std::pair{k, i + size_t(at)};
        }
        if (baseEnd == base.size() && sideEnd == side.size())
            return std::nullopt;
    }
}

// A text found where the side and the base part may have been matched in step at another of
// its occurrences, so that the n-th card of it no longer meets the n-th: every card of such a
// text goes with the cards apart, to be matched by occurrence among them.
void TakeApartTextsApart(Side &side, const std::vector<quint64> &base,
                         std::vector<qint32> &apartBase, std::vector<qint32> &apartSide) {
    if (apartBase.empty() && apartSide.empty())
        return;
    KeyTable apartTexts(apartBase.size() + apartSide.size());
    for (qint32 b : apartBase)
        apartTexts.Insert(base[size_t(b)], 0);
    for (qint32 i : apartSide)
        apartTexts.Insert(side.texts[size_t(i)], 0);
    apartSide.clear();
    for (size_t i = 0; i < side.texts.size(); ++i) {
        if (side.matched[i] >= 0 && apartTexts.Get(side.texts[i]) >= 0) {
            side.at[size_t(side.matched[i])] = -1;
            side.matched[i] = -1;
        }
        if (side.matched[i] < 0)
            apartSide.push_back(qint32(i));
    }
    apartBase.clear();
    for (size_t b = 0; b < base.size(); ++b)
        if (side.at[b] < 0)
            apartBase.push_back(qint32(b));
}

// Matches a side with the base: where they run alike, card by card in step (a compare each);
// the cards of the places where they part are then matched by key among themselves, the n-th
// card of equal texts with the n-th. The longest run in order are anchors.
void MatchWithBaseInStep(Side &side, const std::vector<quint64> &base) {
    const std::vector<quint64> &texts = side.texts;
    side.matched.assign(texts.size(), -1);
    side.at.assign(base.size(), -1);
    std::vector<qint32> apartBase, apartSide;
    size_t b = 0, i = 0;
    while (b < base.size() && i < texts.size()) {
        if (base[b] == texts[i]) {
            side.matched[i] = qint32(b);
            side.at[b] = qint32(i);
            ++b, ++i;
            continue;
        }
        const auto next = Resync(base, b, texts, i);
        const size_t nextB = next ? next->first : base.size();
        const size_t nextI = next ? next->second : texts.size();
        for (; b < nextB; ++b)
            apartBase.push_back(qint32(b));
        for (; i < nextI; ++i)
            apartSide.push_back(qint32(i));
    }
    for (; b < base.size(); ++b)
        apartBase.push_back(qint32(b));
    for (; i < texts.size(); ++i)
        apartSide.push_back(qint32(i));
    TakeApartTextsApart(side, base, apartBase, apartSide);
    if (!apartBase.empty() && !apartSide.empty()) {
        auto keysOf = [](const std::vector<quint64> &all, const std::vector<qint32> &which) {
            std::vector<quint64> picked(which.size());
            for (size_t k = 0; k < which.size(); ++k)
                picked[k] = all[size_t(which[k])];
            return OccurrenceKeys(picked);
        };
        const std::vector<quint64> baseKeys = keysOf(base, apartBase);
        KeyTable table(baseKeys.size());
        for (size_t k = 0; k < baseKeys.size(); ++k)
            table.Insert(baseKeys[k], apartBase[k]);
        const std::vector<quint64> sideKeys = keysOf(texts, apartSide);
        for (size_t k = 0; k < sideKeys.size(); ++k) {
            const qint32 at = table.Get(sideKeys[k]);
            if (at >= 0) {
                side.matched[size_t(apartSide[k])] = at;
                side.at[size_t(at)] = apartSide[k];
            }
        }
    }
    side.anchored = LongestIncreasing(side.matched);
    side.id = side.matched;
}

// Matches a side's keys with the identities' keys; the longest run in order are anchors.
void MatchKeys(Side &side, const KeyTable &identities, qsizetype identityCount) {
    const std::vector<quint64> keys = OccurrenceKeys(side.texts);
    side.matched.assign(keys.size(), -1);
    side.at.assign(size_t(identityCount), -1);
    for (size_t i = 0; i < keys.size(); ++i) {
        const qint32 b = identities.Get(keys[i]);
        if (b >= 0 && side.at[size_t(b)] < 0) {
            side.matched[i] = b;
            side.at[size_t(b)] = qint32(i);
        }
    }
    side.anchored = LongestIncreasing(side.matched);
    side.id = side.matched;
}

// Between two anchors, identities the side lost and inserts it made pair up in order: edits.
void PairEdits(Side &side, qsizetype identityCount) {
    qint32 lastBase = -1;
    size_t gapStart = 0;
    auto pairGap = [&](size_t end, qint32 nextBase) {
        size_t i = gapStart;
        for (qint32 b = lastBase + 1; b < nextBase; ++b) {
            if (side.at[size_t(b)] >= 0)
                continue;
            while (i < end && side.matched[i] >= 0)
                ++i;
            if (i == end)
                return;
            side.id[i] = b;
            side.anchored[i] = 1;
            side.at[size_t(b)] = qint32(i);
            ++i;
        }
    };
    for (size_t i = 0; i < side.id.size(); ++i) {
        if (!side.anchored[i])
            continue;
        pairGap(i, side.matched[i]);
        lastBase = side.matched[i];
        gapStart = i + 1;
    }
    pairGap(side.id.size(), qint32(identityCount));
}

struct Record {
    qint32 jikan, seikai, fuseikai;
    quint64 history;
    bool operator==(const Record &) const = default;
};

Record RecordOf(const TMondaiSet &card) {
    return {card.Jikan, card.Seikai, card.Fuseikai, HistoryHash(card)};
}

Record RecordOf(const MergeBaseCard &card) {
    return {card.jikan, card.seikai, card.fuseikai, card.history};
}

// Two cards' records alike, without hashing their histories.
bool SameRecord(const TMondaiSet &a, const TMondaiSet &b) {
    return a.Jikan == b.Jikan && a.Seikai == b.Seikai && a.Fuseikai == b.Fuseikai &&
           a.View(TMondaiSet::kRireki) == b.View(TMondaiSet::kRireki);
}

qint32 Clamped(qint64 value) {
    return qint32(std::clamp<qint64>(value, std::numeric_limits<qint32>::min(),
                                     std::numeric_limits<qint32>::max()));
}

// Of two histories, the one of the side with more answers; a tie the same whichever side is
// which.
bool TakesOtherHistory(qint64 mine, qint64 other, const TMondaiSet &me, const TMondaiSet &them) {
    if (mine != other)
        return other > mine;
    return them.View(TMondaiSet::kRireki) > me.View(TMondaiSet::kRireki);
}

// A run of cards of one side that are not anchors, following the anchor `after`.
struct Run {
    qint32 after;
    quint64 content;
    int side;
    qint32 start;
    qint32 length;
    auto Order() const { return std::tie(after, content, length, side); }
};

class Merger {
public:
    Merger(const MergeBase *base, CardOwnerList &ours, CardOwnerList &theirs)
        : base_(base), owned_{&ours, &theirs} {
        sides_[0].cards = &ours;
        sides_[1].cards = &theirs;
        // The two sides are hashed side by side, as a large deck is parsed.
        std::future<std::vector<quint64>> theirTexts;
        try {
            theirTexts = std::async(std::launch::async, [&theirs] { return TextHashes(theirs); });
        } catch (const std::system_error &) {
            theirTexts =
                std::async(std::launch::deferred, [&theirs] { return TextHashes(theirs); });
        }
        sides_[0].texts = TextHashes(ours);
        sides_[1].texts = theirTexts.get();
    }

    MergeResult Run() {
        if (base_)
            MatchWithBase();
        else
            MatchWithEachOther();
        std::vector<::Run> runs;
        for (int s = 0; s < 2; ++s)
            CollectRuns(s, runs);
        std::sort(runs.begin(), runs.end(),
                  [](const ::Run &a, const ::Run &b) { return a.Order() < b.Order(); });
        emitted_.assign(size_t(identityCount_), 0);
        result_.cards.reserve(owned_[0]->size() + owned_[1]->size() / 64);
        auto run = runs.begin();
        auto emitRunsAfter = [&](qint32 anchor) {
            const auto first = run;
            while (run != runs.end() && run->after == anchor)
                ++run;
            EmitRuns(first, run);
        };
        emitRunsAfter(-1);
        for (qint32 b = 0; b < identityCount_; ++b) {
            if (!MovedOnEitherSide(b))
                EmitIdentity(b);
            emitRunsAfter(b);
        }
        return std::move(result_);
    }

private:
    void MatchWithBase() {
        const auto &cards = base_->cards;
        identityCount_ = qsizetype(cards.size());
        std::vector<quint64> texts(cards.size());
        for (size_t i = 0; i < cards.size(); ++i)
            texts[i] = cards[i].texts;
        for (Side &side : sides_) {
            MatchWithBaseInStep(side, texts);
            PairEdits(side, identityCount_);
        }
    }

    // Without a base, the cards ours and theirs share in the same order become the identities,
    // then those they share out of order; everything else is an insert.
    void MatchWithEachOther() {
        Side &ours = sides_[0];
        Side &theirs = sides_[1];
        const std::vector<quint64> keys = OccurrenceKeys(ours.texts);
        KeyTable table(keys.size());
        for (size_t i = 0; i < keys.size(); ++i)
            table.Insert(keys[i], qint32(i));
        MatchKeys(theirs, table, qsizetype(keys.size()));
        const std::vector<qint32> ourCardOf = theirs.matched; // per card of theirs
        const std::vector<qint32> theirCardOf = theirs.at;    // per card of ours
        const std::vector<char> inOrder = theirs.anchored;
        std::vector<qint32> identityOfOurs(keys.size(), -1);
        qint32 next = 0;
        for (size_t t = 0; t < ourCardOf.size(); ++t)
            if (inOrder[t])
                identityOfOurs[size_t(ourCardOf[t])] = next++;
        for (size_t o = 0; o < keys.size(); ++o)
            if (theirCardOf[o] >= 0 && identityOfOurs[o] < 0)
                identityOfOurs[o] = next++;
        identityCount_ = next;
        for (Side *side : {&ours, &theirs}) {
            side->at.assign(size_t(next), -1);
            side->id.assign(side->texts.size(), -1);
            side->anchored.assign(side->texts.size(), 0);
        }
        for (size_t o = 0; o < keys.size(); ++o) {
            const qint32 b = identityOfOurs[o];
            if (b < 0)
                continue;
            const qint32 t = theirCardOf[o];
            ours.id[o] = theirs.id[size_t(t)] = b;
            ours.at[size_t(b)] = qint32(o);
            theirs.at[size_t(b)] = t;
            ours.anchored[o] = theirs.anchored[size_t(t)] = inOrder[size_t(t)];
        }
    }

    void CollectRuns(int s, std::vector<::Run> &runs) const {
        const Side &side = sides_[s];
        qint32 after = -1;
        const qint32 n = qint32(side.id.size());
        for (qint32 i = 0; i < n;) {
            if (side.anchored[size_t(i)]) {
                after = side.id[size_t(i)];
                ++i;
                continue;
            }
            ::Run run{after, 0, s, i, 0};
            for (; i < n && !side.anchored[size_t(i)]; ++i) {
                const TMondaiSet &card = *(*side.cards)[size_t(i)];
                run.content = Mix(Mix(run.content, side.texts[size_t(i)]),
                                  Mix(quint64(quint32(card.Jikan)) << 32 | quint32(card.Seikai),
                                      quint64(quint32(card.Fuseikai)) ^ HistoryHash(card)));
                ++run.length;
            }
            runs.push_back(run);
        }
    }

    bool MovedOnEitherSide(qint32 b) const {
        for (const Side &side : sides_) {
            const qint32 i = side.at[size_t(b)];
            if (i >= 0 && !side.anchored[size_t(i)])
                return true;
        }
        return false;
    }

    // Runs after one anchor. Without a base, cards both sides have there and the other does not
    // are texts that went apart: all are kept and listed.
    void EmitRuns(std::vector<::Run>::const_iterator first,
                  std::vector<::Run>::const_iterator end) {
        bool inserts[2] = {false, false};
        for (auto run = first; run != end; ++run)
            for (qint32 i = run->start; i < run->start + run->length; ++i)
                inserts[run->side] |= sides_[run->side].id[size_t(i)] < 0;
        const bool apart = !base_ && inserts[0] && inserts[1];
        for (auto run = first; run != end; ++run) {
            const Side &side = sides_[run->side];
            for (qint32 i = run->start; i < run->start + run->length; ++i) {
                const qint32 b = side.id[size_t(i)];
                if (b >= 0) {
                    EmitIdentity(b);
                    continue;
                }
                if (apart)
                    result_.conflicts.push_back(qsizetype(result_.cards.size()));
                Emit(run->side, i, run->side == 1);
            }
        }
    }

    void Emit(int s, qint32 i, bool fromTheirs) {
        result_.cards.push_back(std::move((*owned_[s])[size_t(i)]));
        if (fromTheirs)
            ++result_.fromTheirs;
    }

    void EmitIdentity(qint32 b) {
        if (emitted_[size_t(b)])
            return;
        emitted_[size_t(b)] = 1;
        const qint32 o = sides_[0].at[size_t(b)];
        const qint32 t = sides_[1].at[size_t(b)];
        if (o < 0 && t < 0)
            return;
        if (o < 0 || t < 0) {
            EmitAgainstDelete(b, o < 0 ? 1 : 0, o < 0 ? t : o);
            return;
        }
        TMondaiSet &mine = *(*owned_[0])[size_t(o)];
        const TMondaiSet &their = *(*owned_[1])[size_t(t)];
        const quint64 myTexts = sides_[0].texts[size_t(o)];
        const quint64 theirTexts = sides_[1].texts[size_t(t)];
        const quint64 baseTexts = base_ ? base_->cards[size_t(b)].texts : myTexts;
        if (myTexts != theirTexts && myTexts != baseTexts && theirTexts != baseTexts) {
            // Edited apart: both versions, in an order of their own.
            const bool mineFirst = myTexts < theirTexts;
            for (int s : {mineFirst ? 0 : 1, mineFirst ? 1 : 0}) {
                result_.conflicts.push_back(qsizetype(result_.cards.size()));
                Emit(s, s == 0 ? o : t, s == 1);
            }
            return;
        }
        bool changed = false;
        if (myTexts == baseTexts && theirTexts != baseTexts) {
            for (auto which : {TMondaiSet::kMondai, TMondaiSet::kKaitou, TMondaiSet::kSankou})
                mine.SetText(which, their.GetText(which));
            changed = true;
        }
        changed |= MergeRecords(b, mine, their);
        Emit(0, o, false);
        if (changed)
            ++result_.fromTheirs;
    }

    // A card one side deleted: gone when the other side left it as it was, else kept and listed.
    void EmitAgainstDelete(qint32 b, int s, qint32 i) {
        const TMondaiSet &card = *(*owned_[s])[size_t(i)];
        const bool unchanged = base_ &&
                               sides_[s].texts[size_t(i)] == base_->cards[size_t(b)].texts &&
                               RecordOf(card) == RecordOf(base_->cards[size_t(b)]);
        if (unchanged) {
            if (s == 0)
                ++result_.removedByTheirs;
            return;
        }
        if (base_)
            result_.conflicts.push_back(qsizetype(result_.cards.size()));
        Emit(s, i, s == 1);
    }

    // Sets our card's record to the merged one; true when it changed.
    bool MergeRecords(qint32 b, TMondaiSet &mine, const TMondaiSet &their) const {
        // Most cards: nothing to work out. Alike on both sides but not as in the base, they are
        // answers given on each side, which all count.
        if (SameRecord(mine, their) &&
            (!base_ || (mine.Seikai == base_->cards[size_t(b)].seikai &&
                        mine.Fuseikai == base_->cards[size_t(b)].fuseikai)))
            return false;
        const Record my = RecordOf(mine);
        const Record other = RecordOf(their);
        Record base{};
        if (base_) {
            base = RecordOf(base_->cards[size_t(b)]);
            if (other == base)
                return false;
            if (my == base) {
                CopyRecord(mine, their);
                return true;
            }
        }
        const qint64 myAnswers = qint64(mine.Seikai) + mine.Fuseikai;
        const qint64 theirAnswers = qint64(their.Seikai) + their.Fuseikai;
        if (base_) {
            const qint64 baseAnswers = qint64(base.seikai) + base.fuseikai;
            const bool takeHistory =
                TakesOtherHistory(myAnswers - baseAnswers, theirAnswers - baseAnswers, mine, their);
            mine.Seikai = Clamped(qint64(mine.Seikai) + their.Seikai - base.seikai);
            mine.Fuseikai = Clamped(qint64(mine.Fuseikai) + their.Fuseikai - base.fuseikai);
            if (takeHistory)
                mine.SetRireki(their.Rireki());
        } else {
            if (TakesOtherHistory(myAnswers, theirAnswers, mine, their))
                mine.SetRireki(their.Rireki());
            mine.Seikai = std::max(mine.Seikai, their.Seikai);
            mine.Fuseikai = std::max(mine.Fuseikai, their.Fuseikai);
        }
        mine.Jikan = std::min(mine.Jikan, their.Jikan);
        return RecordOf(mine) != my;
    }

    static void CopyRecord(TMondaiSet &to, const TMondaiSet &from) {
        to.Jikan = from.Jikan;
        to.Seikai = from.Seikai;
        to.Fuseikai = from.Fuseikai;
        to.SetRireki(from.Rireki());
    }

    const MergeBase *base_;
    CardOwnerList *owned_[2];
    Side sides_[2];
    qsizetype identityCount_ = 0;
    std::vector<char> emitted_;
    MergeResult result_;
};

constexpr quint32 kBaseMagic = 0x4B444231; // "KDB1"

} // namespace

quint64 CardTextHash(const TMondaiSet &card) {
    quint64 h = file_access::ContentHash(card.View(TMondaiSet::kMondai));
    h = Mix(h, file_access::ContentHash(card.View(TMondaiSet::kKaitou)));
    return Mix(h, file_access::ContentHash(card.View(TMondaiSet::kSankou)));
}

MergeBase MergeBase::Of(const CardOwnerList &cards) {
    MergeBase base;
    base.cards.resize(cards.size());
    for (size_t i = 0; i < cards.size(); ++i) {
        const TMondaiSet &card = *cards[i];
        base.cards[i] = {CardTextHash(card), HistoryHash(card), card.Jikan, card.Seikai,
                         card.Fuseikai};
    }
    return base;
}

QByteArray MergeBase::ToBytes() const {
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << kBaseMagic << quint64(cards.size());
    for (const MergeBaseCard &card : cards)
        out << card.texts << card.history << card.jikan << card.seikai << card.fuseikai;
    return bytes;
}

std::optional<MergeBase> MergeBase::FromBytes(QByteArrayView bytes) {
    constexpr qsizetype kCardBytes = 8 + 8 + 4 * 3;
    QByteArray copy = bytes.toByteArray();
    QDataStream in(&copy, QIODevice::ReadOnly);
    quint32 magic = 0;
    quint64 count = 0;
    in >> magic >> count;
    if (in.status() != QDataStream::Ok || magic != kBaseMagic ||
        count != quint64(bytes.size() - 12) / kCardBytes || (bytes.size() - 12) % kCardBytes != 0)
        return std::nullopt;
    MergeBase base;
    base.cards.resize(size_t(count));
    for (MergeBaseCard &card : base.cards)
        in >> card.texts >> card.history >> card.jikan >> card.seikai >> card.fuseikai;
    if (in.status() != QDataStream::Ok)
        return std::nullopt;
    return base;
}

MergeResult MergeDecks(const MergeBase *base, CardOwnerList &ours, CardOwnerList &theirs) {
    return Merger(base, ours, theirs).Run();
}

std::optional<MergeBase> BaseOfDeck(const Deck &deck) {
    if (deck.SavedBase())
        return deck.SavedBase();
    if (deck.SavedLines().KnownByHash())
        return std::nullopt;
    Deck read;
    read.SetSavedLines(deck.SavedLines());
    CardRefList due;
    ParseDeck(read, 0, due);
    return MergeBase::Of(read.Cards());
}

bool CanHaveStartedFrom(const CardOwnerList &cards, const MergeBase &base) {
    std::vector<quint64> texts(base.cards.size());
    for (size_t i = 0; i < texts.size(); ++i)
        texts[i] = base.cards[i].texts;
    const std::vector<quint64> baseKeys = OccurrenceKeys(texts);
    KeyTable table(baseKeys.size());
    for (size_t i = 0; i < baseKeys.size(); ++i)
        table.Insert(baseKeys[i], qint32(i));
    const std::vector<quint64> keys = OccurrenceKeys(TextHashes(cards));
    for (size_t i = 0; i < keys.size(); ++i) {
        const qint32 b = table.Get(keys[i]);
        if (b < 0)
            continue;
        const MergeBaseCard &was = base.cards[size_t(b)];
        if (was.seikai > cards[i]->Seikai || was.fuseikai > cards[i]->Fuseikai)
            return false;
    }
    return true;
}

FileMerge MergeFileIntoDeck(Deck &deck, const QString &path,
                            const std::vector<DeckVersion> &known) {
    FileMerge out;
    DeckFileRead read = ReadDeckForOpening(path);
    if (!read.result.ok) {
        out.result = read.result;
        return out;
    }
    if (read.unsuitable || read.lines.IsEmpty() || read.utf8) {
        out.result = {false, QStringLiteral("統合できませんでした。\r%1\r"
                                            "このファイルはカードの一覧ではありません。")
                                 .arg(QDir::toNativeSeparators(path))};
        return out;
    }
    Deck theirs;
    theirs.savedLines_ = read.lines;
    CardRefList due;
    ParseDeck(theirs, 0, due);
    const bool ownFile = path == deck.fileName_;
    std::optional<MergeBase> theirBase;
    if (ownFile) // both sides hold the file's cards after the merge
        theirBase = MergeBase::Of(theirs.cards_);
    out.hash = read.stamp.Hash();
    const MergeBase *base = nullptr;
    for (const DeckVersion &version : known) {
        if (version.hash == out.hash) // no version starts from itself
            continue;
        if (CanHaveStartedFrom(deck.cards_, version.base) &&
            CanHaveStartedFrom(theirs.cards_, version.base)) {
            base = &version.base;
            break;
        }
    }
    MergeResult merged = MergeDecks(base, deck.cards_, theirs.cards_);
    deck.cards_ = std::move(merged.cards);
    out.fromTheirs = merged.fromTheirs;
    out.removedByTheirs = merged.removedByTheirs;
    for (qsizetype i : merged.conflicts)
        out.conflicts.push_back(deck.cards_[size_t(i)].get());
    if (ownFile) {
        deck.savedLines_ = std::move(read.lines);
        deck.diskStamp_ = std::move(read.stamp);
        deck.savedBase_ = std::move(theirBase);
    }
    return out;
}
