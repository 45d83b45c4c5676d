#include "progress/memory_model.h"

#include "drill/new_cards.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace fsrs {

namespace {

constexpr double kDecay = -0.5;
constexpr double kFactor = 19.0 / 81.0; // 0.9^(1/decay) - 1: recall is 90 % after S days

double Clamp(double value, double low, double high) {
    return std::clamp(value, low, high);
}

double InitialDifficulty(const Parameters &w, Grade grade) {
    return w[4] - std::exp(w[5] * (int(grade) - 1)) + 1;
}

} // namespace

const Parameters &DefaultParameters() {
    static const Parameters w = {0.40255, 1.18385, 3.173,  15.69105, 7.1949, 0.5345, 1.4604,
                                 0.0046,  1.54575, 0.1192, 1.01925,  1.9395, 0.11,   0.29605,
                                 2.2698,  0.2315,  2.9898, 0.51655,  0.6621};
    return w;
}

double Recall(double elapsedDays, double stability) {
    // (1 + F·t/S)^-0.5, the power written as a square root.
    static_assert(kDecay == -0.5);
    return 1 / std::sqrt(1 + kFactor * std::max(elapsedDays, 0.0) / stability);
}

double IntervalFor(double stability, double retention) {
    return stability / kFactor * (std::pow(retention, 1 / kDecay) - 1);
}

qint32 RoundedInterval(double stability, double retention) {
    const double days = std::round(IntervalFor(stability, retention));
    return qint32(Clamp(std::isfinite(days) ? days : kMaxIntervalDays, 1, kMaxIntervalDays));
}

Model::Model(const Parameters &w)
    : w_(w), expW8_(std::exp(w[8])), easyDifficulty_(InitialDifficulty(w, Easy)),
      forgetCap_(std::exp(w[17] * w[18])), sameDay_{} {
    for (int grade = Again; grade <= Easy; ++grade)
        sameDay_[std::size_t(grade)] = std::exp(w[17] * (grade - 3 + w[18]));
}

double Model::NextDifficulty(double difficulty, Grade grade) const {
    const double delta = -w_[6] * (int(grade) - 3);
    // Linear damping: the closer to 10, the smaller a step up.
    const double damped = difficulty + delta * (10 - difficulty) / 9;
    // Mean reversion towards the difficulty of a first Easy.
    return Clamp(w_[7] * easyDifficulty_ + (1 - w_[7]) * damped, 1, 10);
}

double Model::RecallStability(Memory m, double recall, Grade grade) const {
    const double hard = grade == Hard ? w_[15] : 1;
    const double easy = grade == Easy ? w_[16] : 1;
    return m.stability * (expW8_ * (11 - m.difficulty) * std::pow(m.stability, -w_[9]) *
                              (std::exp(w_[10] * (1 - recall)) - 1) * hard * easy +
                          1);
}

double Model::ForgetStability(Memory m, double recall) const {
    const double forgotten = w_[11] * std::pow(m.difficulty, -w_[12]) *
                             (std::pow(m.stability + 1, w_[13]) - 1) *
                             std::exp(w_[14] * (1 - recall));
    return std::min(forgotten, m.stability / forgetCap_);
}

Memory Model::First(Grade grade) const {
    return {Clamp(w_[int(grade) - 1], kMinStability, kMaxIntervalDays),
            Clamp(InitialDifficulty(w_, grade), 1, 10)};
}

Memory Model::Next(Memory memory, qint32 elapsedDays, Grade grade) const {
    double stability;
    if (elapsedDays <= 0) {
        stability = memory.stability * sameDay_[std::size_t(grade)];
    } else {
        const double recall = Recall(elapsedDays, memory.stability);
        stability = grade == Again ? ForgetStability(memory, recall)
                                   : RecallStability(memory, recall, grade);
    }
    return {Clamp(stability, kMinStability, kMaxIntervalDays),
            NextDifficulty(memory.difficulty, grade)};
}

Memory FirstMemory(const Parameters &w, Grade grade) {
    return Model(w).First(grade);
}

Memory NextMemory(const Parameters &w, Memory memory, qint32 elapsedDays, Grade grade) {
    return Model(w).Next(memory, elapsedDays, grade);
}

} // namespace fsrs

namespace {

constexpr quint64 kNarrowMask = 0xffffffffu;

fsrs::Grade GradeOf(AnswerKind kind) {
    return kind == AnswerKind::Right ? fsrs::Good : fsrs::Again;
}

} // namespace

MemoryModel::MemoryModel() : fsrs_(fsrs::DefaultParameters()) {}

void MemoryModel::SetRetention(double retention) {
    retention_ = std::clamp(retention, 0.70, 0.97);
}

void MemoryModel::Clear() {
    memories_.Clear();
    hasNarrowKeys_ = false;
}

CardMemory &MemoryModel::Slot(quint64 key, bool wide, bool *known) {
    bool inserted = false;
    if (!wide)
        hasNarrowKeys_ = true;
    else if (hasNarrowKeys_ && !memories_.Find(key)) {
        // The card's older lines were written with the low half of its key.
        if (const CardMemory *narrow = memories_.Find(key & kNarrowMask)) {
            const CardMemory moved = *narrow;
            memories_.Erase(key & kNarrowMask);
            CardMemory &memory = memories_.FindOrInsert(key, &inserted);
            memory = moved;
            *known = true;
            return memory;
        }
    }
    CardMemory &memory = memories_.FindOrInsert(key, &inserted);
    *known = !inserted;
    return memory;
}

void MemoryModel::Apply(CardMemory &memory, bool known, AnswerKind kind, qint32 day) const {
    if (kind == AnswerKind::TakenBack) {
        memory.stability = memory.previousStability;
        memory.difficulty = memory.previousDifficulty;
        memory.lastDay = memory.previousDay;
        memory.hasPrevious = false;
        return;
    }
    const fsrs::Grade grade = GradeOf(kind);
    const fsrs::Memory next =
        known ? fsrs_.Next({memory.stability, memory.difficulty}, day - memory.lastDay, grade)
              : fsrs_.First(grade);
    memory.hasPrevious = known && kind == AnswerKind::Right;
    memory.previousStability = memory.stability;
    memory.previousDifficulty = memory.difficulty;
    memory.previousDay = memory.lastDay;
    memory.stability = float(next.stability);
    memory.difficulty = float(next.difficulty);
    memory.lastDay = day;
}

void MemoryModel::Replay(const ReviewEntry &entry) {
    bool known = false;
    CardMemory &memory = Slot(entry.cardKey, entry.wideKey, &known);
    // A take-back of a card's first できた leaves it without memory, as it was.
    if (entry.kind == AnswerKind::TakenBack && (!known || !memory.hasPrevious)) {
        memories_.Erase(entry.cardKey);
        return;
    }
    Apply(memory, known, entry.kind, entry.day);
}

const CardMemory *MemoryModel::Find(quint64 wideKey) const {
    if (const CardMemory *memory = memories_.Find(wideKey))
        return memory;
    return hasNarrowKeys_ ? memories_.Find(wideKey & kNarrowMask) : nullptr;
}

CardMemory MemoryModel::Initial(const TMondaiSet &card, qint32 today) const {
    const fsrs::Memory good = fsrs_.First(fsrs::Good);
    const double right = std::max(card.Seikai, 0);
    const double wrong = std::max(card.Fuseikai, 0);
    CardMemory memory;
    memory.difficulty =
        float(good.difficulty + (10 - good.difficulty) * wrong / std::max(right + wrong, 1.0));
    const qint64 rest = qint64(card.Jikan) - today;
    if (rest > 0) {
        memory.stability = float(std::min<double>(rest, fsrs::kMaxIntervalDays));
        memory.lastDay = today;
    } else {
        const double stability = good.stability * (right + 1) / (wrong + 1);
        memory.stability =
            float(std::clamp(stability, fsrs::kMinStability, fsrs::kMaxIntervalDays));
        memory.lastDay = today - qint32(std::lround(memory.stability));
    }
    return memory;
}

std::optional<CardMemory> MemoryModel::MemoryOf(const TMondaiSet &card, qint32 today) const {
    if (const CardMemory *memory = Find(ReviewCardKey64(card)))
        return *memory;
    if (IsNewCard(card))
        return std::nullopt;
    return Initial(card, today);
}

CardMemory MemoryModel::Before(const TMondaiSet &card, AnswerKind kind, qint32 today,
                               qint32 dueBefore, bool *known) const {
    if (const CardMemory *memory = Find(ReviewCardKey64(card))) {
        *known = true;
        return *memory;
    }
    *known = !AnswerTouchedNewCard(card, kind);
    if (!*known)
        return {};
    // The record as it stood before the answer: one right or wrong answer less, the old due day.
    TMondaiSet before(card.Mondai(), card.Kaitou(), {}, dueBefore, card.Seikai, card.Fuseikai, {});
    if (kind == AnswerKind::Right)
        before.Seikai = std::max(before.Seikai - 1, 0);
    else
        before.Fuseikai = std::max(before.Fuseikai - 1, 0);
    return Initial(before, today);
}

qint32 MemoryModel::DueAfter(const TMondaiSet &card, AnswerKind kind, qint32 today,
                             qint32 dueBefore) {
    bool known = false;
    CardMemory memory = Before(card, kind, today, dueBefore, &known);
    Apply(memory, known, kind, today);
    const qint64 due = qint64(today) + fsrs::RoundedInterval(memory.stability, retention_) - 1;
    return qint32(std::min<qint64>(due, std::numeric_limits<qint32>::max()));
}

void MemoryModel::Answered(const TMondaiSet &card, AnswerKind kind, qint32 today,
                           qint32 dueBefore) {
    const quint64 key = ReviewCardKey64(card);
    if (kind == AnswerKind::TakenBack) {
        bool known = false;
        CardMemory &memory = Slot(key, true, &known);
        if (known && memory.hasPrevious)
            Apply(memory, true, kind, today);
        else
            memories_.Erase(key);
        return;
    }
    bool known = false;
    const CardMemory start = Before(card, kind, today, dueBefore, &known);
    bool kept = false;
    CardMemory &memory = Slot(key, true, &kept);
    memory = start;
    Apply(memory, known, kind, today);
}

ReviewHistory RebuildMemory(const QString &path, MemoryModel &model, qint64 upTo) {
    model.Clear();
    // Each entry is replayed a few lines after it was read, its card's slot fetched meanwhile:
    // the look-ups, scattered over a table larger than the caches, then overlap instead of
    // waiting for memory one after the other.
    constexpr std::size_t kAhead = 16;
    model.memories_.SetFillingInBulk(true);
    std::array<ReviewEntry, kAhead> ahead;
    std::size_t read = 0;
    ReviewHistory history = ReadReviewLog(
        path,
        [&](const ReviewEntry &entry) {
            ReviewEntry &slot = ahead[read++ % kAhead];
            if (read > kAhead)
                model.Replay(slot);
            slot = entry;
            model.PrefetchFor(entry);
        },
        upTo);
    for (std::size_t i = read > kAhead ? read - kAhead : 0; i < read; ++i)
        model.Replay(ahead[i % kAhead]);
    model.memories_.SetFillingInBulk(false);
    return history;
}

RecallFigures ComputeRecallFigures(const CardOwnerList &cards, const MemoryModel &model,
                                   qint32 today) {
    RecallFigures figures;
    figures.retention = model.Retention();
    for (const auto &card : cards) {
        const std::optional<CardMemory> memory = model.MemoryOf(*card, today);
        if (!memory)
            continue;
        const double recall = fsrs::Recall(today - memory->lastDay, memory->stability);
        ++figures.cards;
        figures.recallSum += recall;
        if (recall < figures.retention)
            ++figures.belowRetention;
    }
    return figures;
}
