#include "drill_fixture.h"
#include "support/drill_state.h"

namespace {

// Adding a card: where it goes in both lists and where the drill stands afterwards.
class DrillInsert : public DrillFixture {
protected:
    void SetUp() override {
        AddDue({"A", "B", "C", "D"});
        Open();
    }
    bool Insert(InsertPosition position, bool move, CardTarget target) {
        host.Take();
        auto card = std::make_unique<TMondaiSet>(QByteArray("N"), "", "", 0, 0, 0, "");
        return drill.InsertCard(std::move(card), position, move, target);
    }
    void SubPatternAt(int currentPos) { // sub pattern with the card at `currentPos` current
        drill.SetPattern(PatternSub, 5);
        drill.BackToStart();
        for (int i = 0; i < currentPos; ++i)
            drill.GoNext();
    }
};

TEST_F(DrillInsert, FirstGoesToTheFrontOfBoth) {
    ASSERT_TRUE(Insert(InsertFirst, false, CardTarget::Row(0)));
    EXPECT_EQ(List(), "N A B C D");
    EXPECT_EQ(Queue(), "N A B C D");
    EXPECT_EQ(Current(), "A");
    EXPECT_EQ(host.Take(), "RefreshView");
}

TEST_F(DrillInsert, FirstAndMoveRestartsThePassFromTheNewCard) {
    drill.GoNext();
    drill.GoNext();
    Insert(InsertFirst, true, CardTarget::Row(0));
    EXPECT_EQ(Current(), "N");
    EXPECT_EQ(drill.QueuePos(), 1);
    EXPECT_EQ(host.Take(), "AutoSpeak RefreshView RefreshView");
}

TEST_F(DrillInsert, LastAppendsToBoth) {
    Insert(InsertLast, false, CardTarget::Row(0));
    EXPECT_EQ(List(), "A B C D N");
    EXPECT_EQ(Queue(), "A B C D N");
    EXPECT_EQ(Current(), "A");
}

TEST_F(DrillInsert, LastAndMoveMakesTheNewCardTheNextOne) {
    drill.GoNext();
    drill.GoDone(); // A done: its flag must not pass on to the card that becomes current
    Insert(InsertLast, true, CardTarget::Row(0));
    EXPECT_EQ(Current(), "D");
    EXPECT_EQ(drill.QueuePos(), 3);
    EXPECT_FALSE(drill.DoneFlag());
    drill.GoNext();
    drill.GoNext();
    EXPECT_EQ(Current(), "N");
}

TEST_F(DrillInsert, CurrentInTheMainViewShowsTheNewCardWithItsAnswer) {
    Insert(InsertCurrent, false, CardTarget::Row(0));
    EXPECT_EQ(List(), "N A B C D");
    EXPECT_EQ(Queue(), "N A B C D");
    EXPECT_EQ(Current(), "N");
    EXPECT_TRUE(drill.AnswerShown());
    drill.GoNext();
    EXPECT_EQ(Card("N")->Fuseikai, 1);
    EXPECT_EQ(Current(), "A");
}

TEST_F(DrillInsert, CurrentInTheMainViewAfterADoneMark) {
    drill.GoNext();
    drill.GoDone(); // B C D, QueuePos 0
    Insert(InsertCurrent, false, CardTarget::Row(0));
    EXPECT_EQ(List(), "N A B C D");
    EXPECT_EQ(Queue(), "N B C D");
    EXPECT_EQ(Current(), "N");
    EXPECT_EQ(drill.QueuePos(), 1);
    EXPECT_TRUE(drill.AnswerShown());
    EXPECT_FALSE(drill.DoneFlag());
}

TEST_F(DrillInsert, CurrentWithoutACurrentCardGoesToTheFront) {
    SubPatternAt(0);
    Insert(InsertCurrent, false, CardTarget::Row(2));
    EXPECT_EQ(List(), "N A B C D");
    EXPECT_EQ(Queue(), "N A B C D");
    EXPECT_EQ(drill.Current(), nullptr);
    EXPECT_EQ(Names({drill.CardOfRow(2)}), "N");
}

TEST_F(DrillInsert, CurrentInSubRowOneGoesInFrontOfTheCurrentCard) {
    SubPatternAt(2); // B current
    Insert(InsertCurrent, false, CardTarget::Row(1));
    EXPECT_EQ(List(), "A N B C D");
    EXPECT_EQ(Queue(), "A N B C D");
    EXPECT_EQ(drill.QueuePos(), 2);
    EXPECT_EQ(Current(), "B");
    EXPECT_EQ(Names({drill.CardOfRow(2)}), "B"); // asked again next
}

TEST_F(DrillInsert, CurrentInSubRowOneAfterADoneMarkKeepsTheRowsBelow) {
    SubPatternAt(2);
    drill.GoDone(); // A C D, QueuePos 1
    const std::string rowsBefore = Names({drill.CardOfRow(2), drill.CardOfRow(3)});
    Insert(InsertCurrent, false, CardTarget::Row(1));
    EXPECT_EQ(Queue(), "A N C D");
    EXPECT_EQ(drill.QueuePos(), 2);
    EXPECT_EQ(Current(), "B");
    EXPECT_TRUE(drill.DoneFlag());
    EXPECT_EQ(Names({drill.CardOfRow(2), drill.CardOfRow(3)}), rowsBefore);
}

TEST_F(DrillInsert, CurrentInALowerSubRowTakesThatRowsPlace) {
    SubPatternAt(1); // A current
    Insert(InsertCurrent, false, CardTarget::Row(3));
    EXPECT_EQ(List(), "A B N C D");
    EXPECT_EQ(Queue(), "A B N C D");
    EXPECT_EQ(Current(), "A");
    EXPECT_EQ(Names({drill.CardOfRow(2), drill.CardOfRow(3), drill.CardOfRow(4)}), "B N C");
}

TEST_F(DrillInsert, CurrentInTheListWithoutPopupRow) {
    drill.SetPattern(PatternList, 5);
    drill.GoNext(); // B current
    Insert(InsertCurrent, false, CardTarget::List(-1));
    EXPECT_EQ(List(), "A N B C D");
    EXPECT_EQ(Queue(), "A N B C D");
    EXPECT_EQ(Current(), "B");

    drill.GoDone(); // B leaves the queue: the next card goes to the end of it
    Insert(InsertCurrent, false, CardTarget::List(-1));
    EXPECT_EQ(List(), "A N N B C D");
    EXPECT_EQ(Queue(), "A N C D N");
}

TEST_F(DrillInsert, CurrentInTheListAtAPopupRow) {
    Card("B")->Jikan = kToday + 9;
    Card("C")->Jikan = kToday + 9;
    Open(); // queue A D
    drill.SetPattern(PatternList, 5);
    Insert(InsertCurrent, false, CardTarget::List(2)); // grid row 2 = B, not due
    EXPECT_EQ(List(), "A N B C D");
    EXPECT_EQ(Queue(), "A N D");
    EXPECT_EQ(Current(), "A");

    Card("D")->Jikan = kToday + 9;
    DrillStateForTests::SetQueue(drill, {Card("A")});
    Insert(InsertCurrent, false, CardTarget::List(4)); // nothing due below: the end
    EXPECT_EQ(List(), "A N B N C D");
    EXPECT_EQ(Queue(), "A N");
}

TEST_F(DrillInsert, NothingIsAddedWhenThePassIsOver) {
    DrillStateForTests::Queue(drill).clear();
    EXPECT_FALSE(Insert(InsertLast, false, CardTarget::Row(0)));
    EXPECT_EQ(List(), "A B C D");
    EXPECT_EQ(host.Take(), "");
}

TEST_F(DrillInsert, CardNumbersFollowTheInsertion) {
    drill.GoNext();
    drill.GoNext(); // B current, number 2
    EXPECT_EQ(drill.CurrentCardNumber(), 2);
    Insert(InsertFirst, false, CardTarget::Row(0));
    EXPECT_EQ(drill.CurrentCardNumber(), 3);
    EXPECT_EQ(drill.CardNumber(Card("N")), 1);
    EXPECT_EQ(drill.CardNumber(Card("D")), 5);
}

} // namespace
