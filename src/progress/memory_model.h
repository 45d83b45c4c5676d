#pragma once

#include "drill/new_cards.h"
#include "progress/review_log.h"

#include <array>
#include <optional>
#include <unordered_map>

// The FSRS memory model (version 5, with its published default parameters): a card's memory
// is its stability S (days until recall falls to 90 %) and its difficulty D (1..10); recall
// after t days is R = (1 + F·t/S)^-0.5 with F = 19/81. The program has two answers: できた is
// rated Good (3), a pass Again (1).
namespace fsrs {

constexpr int kParameterCount = 19;
using Parameters = std::array<double, kParameterCount>;
const Parameters &DefaultParameters();

enum Grade { Again = 1, Hard = 2, Good = 3, Easy = 4 };

struct Memory {
    double stability = 0;
    double difficulty = 0;
};

constexpr double kMinStability = 0.01;
constexpr double kMaxIntervalDays = 36500;

double Recall(double elapsedDays, double stability);
// Days after which recall falls to `retention` (0..1), not rounded.
double IntervalFor(double stability, double retention);
// Whole days, at least 1 and at most kMaxIntervalDays.
qint32 RoundedInterval(double stability, double retention);
Memory FirstMemory(const Parameters &w, Grade grade);
// The memory after an answer `elapsedDays` after the previous one (0: the same day).
Memory NextMemory(const Parameters &w, Memory memory, qint32 elapsedDays, Grade grade);

} // namespace fsrs

// The memory of one card in the running program: where it stands and where it stood before
// its last できた (a take-back returns there).
struct CardMemory {
    float stability = 0;
    float difficulty = 0;
    qint32 lastDay = 0;
    float previousStability = 0;
    float previousDifficulty = 0;
    qint32 previousDay = 0;
    bool hasPrevious = false;
};

// The memory of every card, rebuilt from the deck's review log in one pass and following each
// answer; kept in memory only. A card the log does not know starts from its record:
//   - a new card (never answered) has no memory until its first answer;
//   - otherwise D = D0(Good) + (10 - D0(Good)) · wrong / (right + wrong), and S the days the
//     card still rests (its due day minus today) when it rests, else S0(Good) · (right + 1) /
//     (wrong + 1); its last review is taken to be today when it rests, else S days ago (so that
//     recall is at 90 % now).
class MemoryModel : public RestPlanner {
public:
    MemoryModel();

    void SetParameters(const fsrs::Parameters &w) { w_ = w; }
    const fsrs::Parameters &Parameters() const { return w_; }
    // 0.70..0.97.
    void SetRetention(double retention);
    double Retention() const { return retention_; }

    void Clear();
    // Takes the memories `other` rebuilt (keeping this model's parameters and retention).
    void TakeMemories(MemoryModel &other) { memories_ = std::move(other.memories_); }
    void Reserve(std::size_t cards) { memories_.reserve(cards); }
    // One step of the rebuild: an entry of the log, in the log's order.
    void Replay(const ReviewEntry &entry);
    // The drill's answer, already recorded in `card`; `dueBefore` as the drill tells it.
    void Answered(const TMondaiSet &card, AnswerKind kind, qint32 today, qint32 dueBefore);
    // The card's memory today, by the rule above; nothing for a new card.
    std::optional<CardMemory> MemoryOf(const TMondaiSet &card, qint32 today) const;
    std::size_t Known() const { return memories_.size(); }

    qint32 DueAfter(const TMondaiSet &card, AnswerKind kind, qint32 today,
                    qint32 dueBefore) override;

private:
    const CardMemory *Find(quint64 wideKey) const;
    CardMemory Initial(const TMondaiSet &card, qint32 today) const;
    // Where an answer starts from: the memory kept, else the record before the answer, else
    // nothing (*known false) for a card the answer found new.
    CardMemory Before(const TMondaiSet &card, AnswerKind kind, qint32 today, qint32 dueBefore,
                      bool *known) const;
    void Apply(CardMemory &memory, bool known, AnswerKind kind, qint32 day) const;
    CardMemory &Slot(quint64 key, bool wide, bool *known);

    fsrs::Parameters w_;
    double retention_ = 0.9;
    // By the key as the log wrote it; 32-bit keys of older logs are moved to the 64-bit key
    // on the card's first newer line.
    std::unordered_map<quint64, CardMemory> memories_;
};

// What the model predicts for the deck today: mean recall of the cards it has a memory of, and
// how many of them are below the desired retention.
struct RecallFigures {
    qint64 cards = 0;
    double recallSum = 0;
    qint64 belowRetention = 0;
    double retention = 0.9;
    double MeanRecall() const { return cards > 0 ? recallSum / double(cards) : 0; }
};
RecallFigures ComputeRecallFigures(const CardOwnerList &cards, const MemoryModel &model,
                                   qint32 today);
