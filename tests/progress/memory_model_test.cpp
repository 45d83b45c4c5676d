#include "progress/memory_model.h"
#include "progress/review_recorder.h"

#include "../drill/drill_fixture.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

using fsrs::Again;
using fsrs::Good;

const fsrs::Parameters &W() {
    return fsrs::DefaultParameters();
}

// Reference values worked out by hand from the published FSRS-5 definitions with the default
// parameters: S0(G) = w[G-1]; D0(G) = w4 - e^(w5 (G-1)) + 1; R(t,S) = (1 + 19/81 t/S)^-0.5;
// after a recall S' = S (e^w8 (11-D) S^-w9 (e^(w10 (1-R)) - 1) + 1); after a lapse
// S' = min(w11 D^-w12 ((S+1)^w13 - 1) e^(w14 (1-R)), S / e^(w17 w18)); on the same day
// S' = S e^(w17 (G-3+w18)); D' = w7 D0(4) + (1-w7) (D - w6 (G-3) (10-D)/9).
TEST(FsrsFormulaTest, MemoryAfterEachKindOfAnswerMatchesTheDefinitions) {
    const fsrs::Memory firstGood = fsrs::FirstMemory(W(), Good);
    const fsrs::Memory firstAgain = fsrs::FirstMemory(W(), Again);
    struct Case {
        const char *name;
        fsrs::Memory memory;
        double stability;
        double difficulty;
    } cases[] = {
        {"first Good", firstGood, 3.173, 5.282434},
        {"first Again", firstAgain, 0.40255, 7.1949},
        {"Good 3 days after a first Good", fsrs::NextMemory(W(), firstGood, 3, Good), 10.738926,
         5.272968},
        {"Again 10 days after a first Good", fsrs::NextMemory(W(), firstGood, 10, Again), 1.471762,
         6.796933},
        {"Good the same day as a first Again", fsrs::NextMemory(W(), firstAgain, 0, Good), 0.566698,
         7.176636},
    };
    for (const Case &c : cases) {
        EXPECT_NEAR(c.memory.stability, c.stability, 1e-5) << c.name;
        EXPECT_NEAR(c.memory.difficulty, c.difficulty, 1e-5) << c.name;
    }
}

TEST(FsrsFormulaTest, RecallAndIntervalsFollowTheForgettingCurve) {
    EXPECT_NEAR(fsrs::Recall(3, 3.173), 0.904698, 1e-6);
    EXPECT_NEAR(fsrs::Recall(10, 10), 0.9, 1e-12);
    struct Case {
        double stability, retention, days;
        qint32 rounded;
    } cases[] = {
        {10, 0.90, 10.0, 10}, {10, 0.80, 23.980263, 24}, {10, 0.95, 4.605628, 5},
        {0.2, 0.90, 0.2, 1},  {1e9, 0.90, 1e9, 36500},
    };
    for (const Case &c : cases) {
        EXPECT_NEAR(fsrs::IntervalFor(c.stability, c.retention), c.days, 1e-5 * c.days);
        EXPECT_EQ(fsrs::RoundedInterval(c.stability, c.retention), c.rounded);
    }
}

constexpr qint32 kDay = 46000;

ReviewEntry Entry(qint32 day, AnswerKind kind, quint64 key, bool wide = true) {
    return {day, 0, kind, 0, 0, key, wide, false};
}

TEST(MemoryModelTest, RebuildFromALogFollowsEachCardAndItsTakeBacks) {
    const TMondaiSet dog("dog", "inu", "", 0, 2, 0, "");
    const TMondaiSet cat("cat", "neko", "", 0, 1, 1, "");
    const TMondaiSet owl("owl", "fukurou", "", 0, 1, 0, "");
    MemoryModel model;
    // dog: Good, Good 3 days later, a third Good taken back the same day.
    model.Replay(Entry(kDay, AnswerKind::Right, ReviewCardKey64(dog)));
    model.Replay(Entry(kDay + 3, AnswerKind::Right, ReviewCardKey64(dog)));
    model.Replay(Entry(kDay + 3, AnswerKind::Right, ReviewCardKey64(dog)));
    model.Replay(Entry(kDay + 3, AnswerKind::TakenBack, ReviewCardKey64(dog)));
    // cat: an older log's 32-bit key, then a newer line with the 64-bit key.
    model.Replay(Entry(kDay, AnswerKind::Wrong, ReviewCardKey(cat), false));
    model.Replay(Entry(kDay, AnswerKind::Right, ReviewCardKey64(cat)));
    // owl: its only できた taken back: no memory.
    model.Replay(Entry(kDay, AnswerKind::Right, ReviewCardKey64(owl)));
    model.Replay(Entry(kDay, AnswerKind::TakenBack, ReviewCardKey64(owl)));

    EXPECT_EQ(model.Known(), 2u);
    const std::optional<CardMemory> d = model.MemoryOf(dog, kDay + 3);
    ASSERT_TRUE(d);
    EXPECT_NEAR(d->stability, 10.738926, 1e-4);
    EXPECT_EQ(d->lastDay, kDay + 3);
    const std::optional<CardMemory> c = model.MemoryOf(cat, kDay);
    ASSERT_TRUE(c);
    EXPECT_NEAR(c->stability, 0.566698, 1e-5);
    // owl is not new (its record says one right answer), so it starts from its record.
    const std::optional<CardMemory> o = model.MemoryOf(owl, kDay);
    ASSERT_TRUE(o);
    EXPECT_NEAR(o->stability, 3.173 * 2, 1e-4);
}

TEST(MemoryModelTest, CardsWithoutHistoryStartFromTheirRecord) {
    const double good = 5.282434;
    struct Case {
        const char *name;
        TMondaiSet card;
        bool hasMemory;
        double stability, difficulty;
        qint32 lastDay;
    } cases[] = {
        {"new card", TMondaiSet("a", "b", "", 0, 0, 0, ""), false, 0, 0, 0},
        {"resting 20 more days", TMondaiSet("a", "b", "", kDay + 20, 3, 1, ""), true, 20,
         good + (10 - good) / 4, kDay},
        {"due, 3 right 1 wrong", TMondaiSet("a", "b", "", kDay - 5, 3, 1, ""), true, 3.173 * 2,
         good + (10 - good) / 4, kDay - 6},
        {"only wrong answers", TMondaiSet("a", "b", "", 0, 0, 3, ""), true, 3.173 / 4, 10,
         kDay - 1},
    };
    MemoryModel model;
    for (const Case &c : cases) {
        const std::optional<CardMemory> memory = model.MemoryOf(c.card, kDay);
        ASSERT_EQ(memory.has_value(), c.hasMemory) << c.name;
        if (!memory)
            continue;
        EXPECT_NEAR(memory->stability, c.stability, 1e-4) << c.name;
        EXPECT_NEAR(memory->difficulty, c.difficulty, 1e-4) << c.name;
        EXPECT_EQ(memory->lastDay, c.lastDay) << c.name;
    }
}

// The drill with the model on: できた gives the model's rest, and the model follows the answers.
class ModelDrillTest : public DrillFixture {
protected:
    QTemporaryDir dir;
    qint32 day = kToday;
    MemoryModel model;
    std::unique_ptr<ReviewRecorder> recorder;
    Drill dayDrill{deck, host, [this] { return day; }};

    void Start() {
        recorder = std::make_unique<ReviewRecorder>(
            deck, [this] { return day; },
            [this](const QString &) { return dir.filePath(QStringLiteral("deck.log")); });
        recorder->SetMemoryModel(&model);
        dayDrill.SetAnswerObserver(recorder.get());
        dayDrill.SetRestPlanner(recorder.get());
        deck.SetFileName(dir.filePath(QStringLiteral("deck.csv")));
        CardRefList due;
        for (const auto &card : deck.Cards())
            if (IsDue(*card, day))
                due.push_back(card.get());
        dayDrill.TakeDueCards(std::move(due));
        host.drill = &dayDrill;
        dayDrill.StartNewDeck();
    }
    void Right() {
        dayDrill.GoNext();
        dayDrill.GoDone();
        dayDrill.GoNext();
    }
};

TEST_F(ModelDrillTest, DueDaysComeFromTheModelAndSurviveARestart) {
    Add("A");
    Start();
    Right(); // first Good: S = 3.173, 3 days at 90 %
    EXPECT_EQ(Card("A")->Jikan, kToday + 3 - 1);
    EXPECT_EQ(Card("A")->Seikai, 1);
    day = kToday + 3;
    recorder.reset();
    model.Clear();
    Start(); // the memory comes back from the log alone
    dayDrill.GoNext();
    dayDrill.GoDone(); // S = 10.739: 11 days
    EXPECT_EQ(Card("A")->Jikan, kToday + 3 + 11 - 1);
    model.SetRetention(0.8);
    dayDrill.GoUndo(); // take back: due again, memory as before
    EXPECT_NEAR(model.MemoryOf(*Card("A"), day)->stability, 3.173, 1e-4);
    dayDrill.GoDone(); // at 80 %: S = 10.739 gives 26 days
    EXPECT_EQ(Card("A")->Jikan, kToday + 3 + 26 - 1);
}

} // namespace
