#include "drill_fixture.h"
#include "support/drill_state.h"

namespace {

// Deleting a card: what leaves which list and where the drill stands afterwards.
class DrillDelete : public DrillFixture {
protected:
    void SetUp() override {
        AddDue({"A", "B", "C", "D"});
        Open();
    }
    void MainAt(int pos) { // main pattern, card at `pos` current, question shown
        for (int i = 1; i < pos; ++i) {
            drill.GoNext();
            drill.GoNext();
        }
        host.Take();
    }
    void SubAt(int pos) {
        drill.SetPattern(PatternSub, 5);
        drill.BackToStart();
        for (int i = 0; i < pos; ++i)
            drill.GoNext();
        host.Take();
    }
    void MarkDone() {
        DrillStateForTests::SetAnswerShown(drill, true);
        drill.GoDone();
        host.Take();
    }
};

TEST_F(DrillDelete, RowZeroOrOneWithoutACurrentCardDoesNothing) {
    SubAt(0);
    EXPECT_FALSE(drill.DeleteCard(CardTarget::Row(1)));
    EXPECT_FALSE(drill.DeleteCard(CardTarget::Row(0)));
    EXPECT_FALSE(drill.DeleteCard(CardTarget::List(-1)));
    EXPECT_EQ(List(), "A B C D");
    EXPECT_EQ(host.Take(), "");
}

TEST_F(DrillDelete, MainViewShowsTheNextCard) {
    MainAt(2);
    DrillStateForTests::SetAnswerShown(drill, true);
    ASSERT_TRUE(drill.DeleteCard(CardTarget::Row(0)));
    EXPECT_EQ(List(), "A C D");
    EXPECT_EQ(Queue(), "A C D");
    EXPECT_EQ(drill.QueuePos(), 2);
    EXPECT_EQ(Current(), "C");
    EXPECT_FALSE(drill.AnswerShown());
    EXPECT_EQ(host.Take(), "RefreshView");
}

TEST_F(DrillDelete, MainViewAfterADoneMark) {
    MainAt(2);
    MarkDone(); // A C D, QueuePos 1
    drill.DeleteCard(CardTarget::Row(0));
    EXPECT_EQ(List(), "A C D");
    EXPECT_EQ(Queue(), "A C D");
    EXPECT_EQ(drill.QueuePos(), 2);
    EXPECT_EQ(Current(), "C");
    EXPECT_FALSE(drill.DoneFlag());
}

TEST_F(DrillDelete, MainViewLastDoneCardRestartsThePass) {
    MainAt(4);
    MarkDone();
    drill.DeleteCard(CardTarget::Row(0));
    EXPECT_EQ(host.Take(), "AutoSpeak RefreshView RefreshView");
    EXPECT_EQ(List(), "A B C");
    EXPECT_EQ(Current(), "A");
    EXPECT_EQ(drill.QueuePos(), 1);
}

TEST_F(DrillDelete, SubRowOneShowsTheCardInFront) {
    SubAt(2);
    drill.DeleteCard(CardTarget::Row(1));
    EXPECT_EQ(Queue(), "A C D");
    EXPECT_EQ(drill.QueuePos(), 1);
    EXPECT_EQ(Names({drill.CardOfRow(1), drill.CardOfRow(2), drill.CardOfRow(3)}), "A C D");
}

TEST_F(DrillDelete, SubRowOneOnTheFirstCardLeavesRowOneEmpty) {
    SubAt(1);
    drill.DeleteCard(CardTarget::Row(1));
    EXPECT_EQ(drill.QueuePos(), 0);
    EXPECT_EQ(drill.Current(), nullptr);
    EXPECT_EQ(Names({drill.CardOfRow(2)}), "B");
}

TEST_F(DrillDelete, SubRowOneAfterADoneMark) {
    SubAt(2);
    MarkDone(); // A C D, QueuePos 1
    drill.DeleteCard(CardTarget::Row(1));
    EXPECT_EQ(List(), "A C D");
    EXPECT_EQ(drill.QueuePos(), 1);
    EXPECT_EQ(Current(), "A");
    EXPECT_FALSE(drill.DoneFlag());
    EXPECT_EQ(Names({drill.CardOfRow(2)}), "C");
}

TEST_F(DrillDelete, LowerSubRowKeepsTheCurrentCardAndItsMarks) {
    SubAt(1);
    MarkDone(); // B C D, QueuePos 0, A current and done
    DrillStateForTests::SetAnswerShown(drill, true);
    drill.DeleteCard(CardTarget::Row(3)); // the card at QueuePos + 2: C
    EXPECT_EQ(List(), "A B D");
    EXPECT_EQ(Queue(), "B D");
    EXPECT_EQ(Current(), "A");
    EXPECT_TRUE(drill.DoneFlag());
    EXPECT_TRUE(drill.AnswerShown());
    drill.GoNext(); // a card already marked right is not also marked wrong
    EXPECT_EQ(Card("A")->Fuseikai, 0);
    EXPECT_FALSE(drill.DeleteCard(CardTarget::Row(5))); // an empty row
}

TEST_F(DrillDelete, ListWithoutPopupRowStepsBack) {
    drill.SetPattern(PatternList, 5);
    drill.GoNext(); // B current, QueuePos 2
    drill.DeleteCard(CardTarget::List(-1));
    EXPECT_EQ(Queue(), "A C D");
    EXPECT_EQ(Current(), "A");
    EXPECT_EQ(drill.QueuePos(), 1);
}

TEST_F(DrillDelete, ListWithoutPopupRowAfterADoneMarkOnTheFirstCard) {
    drill.SetPattern(PatternList, 5);
    MarkDone(); // B C D, QueuePos 0
    drill.DeleteCard(CardTarget::List(-1));
    EXPECT_EQ(List(), "B C D");
    EXPECT_EQ(drill.QueuePos(), 3);
    EXPECT_EQ(Current(), "D");
}

TEST_F(DrillDelete, ListAtAPopupRowRetakesTheCurrentCardFromItsPosition) {
    drill.SetPattern(PatternList, 5);
    drill.GoNext();                        // B current, QueuePos 2
    MarkDone();                            // A C D, QueuePos 1
    drill.DeleteCard(CardTarget::List(4)); // D
    EXPECT_EQ(List(), "A B C");
    EXPECT_EQ(Queue(), "A C");
    EXPECT_EQ(Current(), "A");
    EXPECT_FALSE(drill.DoneFlag());
    EXPECT_FALSE(drill.DeleteCard(CardTarget::List(9)));
}

TEST_F(DrillDelete, DeletingEveryCardEmptiesBothLists) {
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(drill.DeleteCard(CardTarget::Row(0)));
    EXPECT_TRUE(deck.Cards().empty());
    EXPECT_TRUE(drill.Queue().empty());
    EXPECT_EQ(drill.Current(), nullptr);
    EXPECT_FALSE(drill.DeleteCard(CardTarget::List(1)));
}

TEST_F(DrillDelete, DeletingTheBookmarkedCardDropsTheBookmark) {
    drill.SetBookmark(Card("C"));
    drill.DeleteCard(CardTarget::List(3));
    EXPECT_EQ(drill.BookmarkCard(), nullptr);
    host.Take();
    drill.MoveToBookmark();
    EXPECT_EQ(host.Take(), "");
}

TEST_F(DrillDelete, CardNumbersFollowTheDeletion) {
    MainAt(3); // C
    EXPECT_EQ(drill.CurrentCardNumber(), 3);
    drill.DeleteCard(CardTarget::List(1));
    EXPECT_EQ(drill.CardNumber(Card("C")), 2);
    EXPECT_EQ(drill.CardNumber(Card("D")), 3);
}

} // namespace
