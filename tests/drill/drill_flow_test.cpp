#include "drill_fixture.h"
#include "support/drill_state.h"

#include <algorithm>

namespace {

class DrillFlow : public DrillFixture {};

TEST_F(DrillFlow, OpeningShowsTheFirstDueCard) {
    Add("A");
    Add("later", kToday + 5);
    Add("B");
    DrillStateForTests::SetQueue(drill, {Card("A"), Card("B")});
    drill.StartNewDeck();
    EXPECT_EQ(host.Take(), "OrderApplied:0 AutoSpeak RefreshView RefreshView");
    EXPECT_EQ(Queue(), "A B");
    EXPECT_EQ(Current(), "A");
    EXPECT_EQ(drill.QueuePos(), 1);
    EXPECT_FALSE(drill.AnswerShown());
}

TEST_F(DrillFlow, ThreeDueCardsInTheMainPattern) {
    AddDue({"A", "B", "C"});
    Open();
    drill.GoNext(); // reveal A
    EXPECT_TRUE(drill.AnswerShown());
    EXPECT_EQ(host.Take(), "RefreshView AutoSpeak");

    drill.GoDone();
    EXPECT_EQ(host.Take(), "RefreshView");
    EXPECT_EQ(Queue(), "B C");
    EXPECT_EQ(drill.QueuePos(), 0);
    EXPECT_EQ(Current(), "A");
    EXPECT_TRUE(drill.DoneFlag());
    EXPECT_EQ(Card("A")->Jikan, kToday + 2);

    drill.GoNext(); // B's question, A not marked wrong
    EXPECT_EQ(Current(), "B");
    EXPECT_FALSE(drill.AnswerShown());
    EXPECT_FALSE(drill.DoneFlag());
    EXPECT_EQ(Card("A")->Fuseikai, 0);
    EXPECT_EQ(host.Take(), "RefreshView AutoSpeak");

    drill.GoNext();
    drill.GoNext(); // B wrong, C shown
    EXPECT_EQ(Card("B")->Fuseikai, 1);
    EXPECT_EQ(Current(), "C");
    drill.GoNext();
    drill.GoNext(); // C wrong, wraps to B
    EXPECT_EQ(Card("C")->Fuseikai, 1);
    EXPECT_EQ(Current(), "B");
    EXPECT_EQ(drill.QueuePos(), 1);
    EXPECT_EQ(Queue(), "B C");
    EXPECT_EQ(Card("B")->Fuseikai, 1); // the wrap itself marks nothing
}

TEST_F(DrillFlow, DoneTwiceCountsTwiceButLeavesTheQueueOnce) {
    AddDue({"A", "B", "C"});
    Open();
    drill.GoNext();
    drill.GoDone();
    const qint32 firstDue = Card("A")->Jikan;
    drill.GoDone();
    EXPECT_EQ(Card("A")->Seikai, 2);
    EXPECT_EQ(Card("A")->Jikan, kToday + 27);
    EXPECT_NE(Card("A")->Jikan, firstDue);
    EXPECT_EQ(Queue(), "B C");
    EXPECT_EQ(drill.QueuePos(), 0);
}

TEST_F(DrillFlow, DoneIsIgnoredBeforeTheAnswerIsShown) {
    AddDue({"A", "B"});
    Open();
    drill.GoDone();
    drill.GoUndo();
    EXPECT_EQ(host.Take(), "");
    EXPECT_EQ(Card("A")->Seikai, 0);
    EXPECT_EQ(Queue(), "A B");
}

TEST_F(DrillFlow, TakeBackPutsTheCardBackAndNextMarksItWrong) {
    AddDue({"A", "B", "C"});
    Open();
    drill.GoNext();
    drill.GoNext(); // A wrong, B shown
    drill.GoNext();
    drill.GoDone();
    EXPECT_EQ(Queue(), "A C");
    host.Take();
    drill.GoUndo();
    EXPECT_EQ(host.Take(), "RefreshView");
    EXPECT_EQ(Queue(), "A B C");
    EXPECT_EQ(drill.QueuePos(), 2);
    EXPECT_FALSE(drill.DoneFlag());
    EXPECT_EQ(Card("B")->Seikai, 0);
    EXPECT_EQ(Card("B")->Jikan, 0);
    drill.GoNext();
    EXPECT_EQ(Card("B")->Fuseikai, 1);
    EXPECT_EQ(Current(), "C");
}

TEST_F(DrillFlow, TakeBackOfAnEarlierDaysMarkLeavesTheQueue) {
    Add("A");
    Add("B");
    Card("A")->Seikai = 3;
    Card("A")->SetRireki("\x90\xb3");
    Open();
    drill.GoNext();
    drill.GoUndo();
    EXPECT_EQ(Card("A")->Seikai, 2);
    EXPECT_EQ(Card("A")->Rireki(), "");
    EXPECT_EQ(Queue(), "A B");
    EXPECT_EQ(drill.QueuePos(), 1);
}

TEST_F(DrillFlow, EndOfStudyCancelLeavesTheDrillEmpty) {
    AddDue({"A"});
    Open();
    drill.GoNext();
    drill.GoDone();
    EXPECT_TRUE(drill.Queue().empty());
    host.Take();
    host.restartAnswer = false;
    drill.GoNext();
    EXPECT_EQ(host.Take(), "RefreshView AskRestartStudy");
    EXPECT_EQ(drill.Current(), nullptr);
    EXPECT_EQ(drill.CurrentCardNumber(), 0);
    EXPECT_FALSE(drill.DoneFlag());
    drill.GoNext(); // asks again
    EXPECT_EQ(host.Take(), "RefreshView AskRestartStudy");
}

TEST_F(DrillFlow, EndOfStudyYesStartsOverWithEveryCard) {
    AddDue({"A", "B"});
    Card("B")->Jikan = kToday + 100;
    Open();
    DrillStateForTests::SetJyun(drill, 1); // even in random order the restart is in deck order
    drill.GoNext();
    drill.GoDone();
    host.Take();
    host.restartAnswer = true;
    drill.GoNext();
    EXPECT_EQ(host.Take(), "RefreshView AskRestartStudy AutoSpeak RefreshView");
    EXPECT_EQ(Queue(), "A B");
    EXPECT_EQ(Current(), "A");
    EXPECT_EQ(Card("B")->Jikan, 0);
    EXPECT_EQ(Card("A")->Seikai, 1);
}

TEST_F(DrillFlow, ResetCommandAsksFirst) {
    AddDue({"A", "B"});
    Card("B")->Jikan = kToday + 100;
    Open();
    host.resetAnswer = false;
    drill.ResetAllCommand();
    EXPECT_EQ(host.Take(), "ConfirmResetAll");
    EXPECT_EQ(Queue(), "A");
    host.resetAnswer = true;
    drill.ResetAllCommand();
    EXPECT_EQ(host.Take(), "ConfirmResetAll AutoSpeak RefreshView");
    EXPECT_EQ(Queue(), "A B");
}

TEST_F(DrillFlow, DeckWithNoDueCard) {
    Add("A", kToday + 3);
    Open();
    EXPECT_EQ(drill.Current(), nullptr);
    EXPECT_TRUE(drill.Queue().empty());
    host.restartAnswer = false;
    drill.GoNext();
    EXPECT_EQ(host.Take(), "RefreshView AskRestartStudy");
}

TEST_F(DrillFlow, EmptyDeckIgnoresEveryCommand) {
    Open();
    drill.GoNext();
    drill.GoDone();
    drill.GoUndo();
    drill.BackToStart();
    drill.ResetAllCommand();
    drill.MoveToBookmark();
    EXPECT_FALSE(drill.DeleteCard(CardTarget::Row(0)));
    EXPECT_FALSE(
        drill.InsertCard(std::make_unique<TMondaiSet>(), InsertFirst, false, CardTarget::Row(0)));
    EXPECT_EQ(host.Take(), "");
}

TEST_F(DrillFlow, SubPatternStartsBeforeTheFirstCard) {
    AddDue({"A", "B", "C", "D", "E"});
    Open();
    drill.SetPattern(PatternSub, 5);
    drill.BackToStart();
    EXPECT_EQ(drill.Current(), nullptr);
    EXPECT_EQ(drill.QueuePos(), 0);
    EXPECT_EQ(drill.CardOfRow(1), nullptr);
    EXPECT_EQ(
        Names({drill.CardOfRow(2), drill.CardOfRow(3), drill.CardOfRow(4), drill.CardOfRow(5)}),
        "A B C D");
    host.Take();
    drill.GoNext(); // no reveal step, nothing marked
    EXPECT_EQ(host.Take(), "RefreshView AutoSpeak");
    EXPECT_EQ(Current(), "A");
    EXPECT_EQ(drill.QueuePos(), 1);
    for (const auto &card : deck.Cards())
        EXPECT_EQ(card->Fuseikai, 0);
    drill.GoDone(); // allowed at once outside the main pattern
    EXPECT_EQ(Queue(), "B C D E");
}

TEST_F(DrillFlow, RandomAndNormalOrder) {
    AddDue({"A", "B", "C", "D", "E", "F", "G", "H"});
    Open();
    drill.GoNext();
    drill.GoDone(); // A leaves the pass
    drill.SetRandomEngine(std::mt19937(7));
    host.Take();
    drill.SetOrder(1);
    EXPECT_EQ(host.Take(), "OrderApplied:1 AutoSpeak RefreshView");
    std::string shuffled = Queue();
    EXPECT_EQ(shuffled.find('A'), std::string::npos); // not rebuilt
    std::erase(shuffled, ' ');
    std::sort(shuffled.begin(), shuffled.end());
    EXPECT_EQ(shuffled, "BCDEFGH");
    EXPECT_EQ(drill.QueuePos(), 1);
    EXPECT_EQ(drill.Current(), drill.Queue().front());

    const std::string before = Queue();
    drill.SetOrder(1); // already random: nothing
    EXPECT_EQ(host.Take(), "");
    EXPECT_EQ(Queue(), before);

    drill.SetOrder(0); // rebuilt from every due card in deck order
    EXPECT_EQ(host.Take(), "OrderApplied:0 AutoSpeak RefreshView");
    EXPECT_EQ(Queue(), "B C D E F G H"); // A rests until its due day
}

TEST_F(DrillFlow, ShuffleIsTheExchangeShuffle) {
    AddDue({"A", "B", "C", "D", "E"});
    Open();
    drill.SetRandomEngine(std::mt19937(42));
    drill.ShuffleQueue();
    // The same draws, by hand.
    std::mt19937 engine(42);
    CardRefList expected;
    for (const auto &card : deck.Cards())
        expected.push_back(card.get());
    std::uniform_int_distribution<std::size_t> draw(0, expected.size() - 1);
    for (std::size_t i = 0; i < expected.size(); ++i)
        std::swap(expected[i], expected[draw(engine)]);
    EXPECT_EQ(drill.Queue(), expected);
}

TEST_F(DrillFlow, RandomOrderReshufflesAtTheWrap) {
    AddDue({"A", "B", "C", "D", "E", "F"});
    Open();
    drill.SetPattern(PatternList, 5);
    drill.SetRandomEngine(std::mt19937(3));
    drill.SetOrder(1);
    const CardRefList firstPass = drill.Queue();
    for (int i = 0; i < 6; ++i)
        drill.GoNext();
    EXPECT_NE(drill.Queue(), firstPass);
    EXPECT_EQ(drill.QueuePos(), 1);
}

TEST_F(DrillFlow, BackToStartClearsTheFirstCardsDueDay) {
    Add("A", 100);
    Add("B");
    Open();
    EXPECT_EQ(Card("A")->Jikan, 0);
    drill.GoNext();
    drill.GoNext();
    EXPECT_EQ(Current(), "B");
    drill.BackToStart();
    EXPECT_EQ(Current(), "A");
    EXPECT_EQ(drill.QueuePos(), 1);
}

} // namespace
