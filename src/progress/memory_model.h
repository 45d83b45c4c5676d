#pragma once

#include "drill/new_cards.h"
#include "progress/card_memory_table.h"
#include "progress/review_log.h"

#include <array>
#include <optional>

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

// The parameters together with what the formulas derive from them alone, worked out once: a
// log of a million answers is replayed with the same parameters throughout.
class Model {
public:
    explicit Model(const Parameters &w);
    const Parameters &Weights() const { return w_; }
    Memory First(Grade grade) const;
    // The memory after an answer `elapsedDays` after the previous one (0: the same day).
    Memory Next(Memory memory, qint32 elapsedDays, Grade grade) const;

private:
    double NextDifficulty(double difficulty, Grade grade) const;
    double RecallStability(Memory m, double recall, Grade grade) const;
    double ForgetStability(Memory m, double recall) const;

    Parameters w_;
    double expW8_;                  // e^w8
    double easyDifficulty_;         // the difficulty of a first Easy, before clamping
    double forgetCap_;              // e^(w17·w18)
    std::array<double, 5> sameDay_; // by grade: e^(w17·(grade - 3 + w18))
};

Memory FirstMemory(const Parameters &w, Grade grade);
Memory NextMemory(const Parameters &w, Memory memory, qint32 elapsedDays, Grade grade);

} // namespace fsrs

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

    void SetParameters(const fsrs::Parameters &w) { fsrs_ = fsrs::Model(w); }
    const fsrs::Parameters &Parameters() const { return fsrs_.Weights(); }
    // 0.70..0.97.
    void SetRetention(double retention);
    double Retention() const { return retention_; }

    void Clear();
    // Takes the memories `other` rebuilt (keeping this model's parameters and retention).
    void TakeMemories(MemoryModel &other) {
        memories_ = std::move(other.memories_);
        hasNarrowKeys_ = other.hasNarrowKeys_;
    }
    // One step of the rebuild: an entry of the log, in the log's order.
    void Replay(const ReviewEntry &entry);
    // Fetches ahead what replaying `entry` will look at.
    void PrefetchFor(const ReviewEntry &entry) const { memories_.Prefetch(entry.cardKey); }
    // The drill's answer, already recorded in `card`; `dueBefore` as the drill tells it.
    void Answered(const TMondaiSet &card, AnswerKind kind, qint32 today, qint32 dueBefore);
    // The card's memory today, by the rule above; nothing for a new card.
    std::optional<CardMemory> MemoryOf(const TMondaiSet &card, qint32 today) const;
    std::size_t Known() const { return memories_.Size(); }
    std::size_t MemoryBytes() const { return memories_.Bytes(); }

    qint32 DueAfter(const TMondaiSet &card, AnswerKind kind, qint32 today,
                    qint32 dueBefore) override;

private:
    friend ReviewHistory RebuildMemory(const QString &path, MemoryModel &model, qint64 upTo);

    const CardMemory *Find(quint64 wideKey) const;
    CardMemory Initial(const TMondaiSet &card, qint32 today) const;
    // Where an answer starts from: the memory kept, else the record before the answer, else
    // nothing (*known false) for a card the answer found new.
    CardMemory Before(const TMondaiSet &card, AnswerKind kind, qint32 today, qint32 dueBefore,
                      bool *known) const;
    void Apply(CardMemory &memory, bool known, AnswerKind kind, qint32 day) const;
    CardMemory &Slot(quint64 key, bool wide, bool *known);

    fsrs::Model fsrs_;
    double retention_ = 0.9;
    // By the key as the log wrote it; 32-bit keys of older logs are moved to the 64-bit key
    // on the card's first newer line.
    CardMemoryTable memories_;
    // Whether an older log put 32-bit keys in: until then no look-up needs a second try.
    bool hasNarrowKeys_ = false;
};

// Reads the review log at `path` (no further than `upTo` bytes) and rebuilds `model`'s memories
// from it in one pass.
ReviewHistory RebuildMemory(const QString &path, MemoryModel &model,
                            qint64 upTo = MaxReviewLogBytes);

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
