#include "drill_fixture.h"

namespace {

// A card inserted in front of the current card (sub row 1) leaves the current card one place
// further on in the queue; the commands must still act on the current card itself.
class InsertedInFront : public DrillFixture {
protected:
    void SetUp() override {
        AddDue({"A", "B", "C"});
        Open();
        drill.SetPattern(PatternSub, 5);
        drill.BackToStart();
        drill.GoNext();
        drill.GoNext(); // B current, QueuePos 2
        drill.InsertCard(std::make_unique<TMondaiSet>(QByteArray("N"), "", "", 0, 0, 0, ""),
                         InsertCurrent, false, CardTarget::Row(1));
        ASSERT_EQ(Queue(), "A N B C");
        ASSERT_EQ(drill.QueuePos(), 2);
    }
};

TEST_F(InsertedInFront, DoneTakesTheCurrentCardOutOfThePass) {
    drill.GoDone();
    EXPECT_EQ(Queue(), "A N C");
    EXPECT_EQ(drill.QueuePos(), 2);
    drill.GoUndo();
    EXPECT_EQ(Queue(), "A N B C");
    EXPECT_EQ(drill.QueuePos(), 3);
    EXPECT_EQ(Current(), "B");
    drill.GoDone();
    drill.GoNext();
    EXPECT_EQ(Current(), "C");
}

TEST_F(InsertedInFront, DeletingTheRowThatShowsTheCurrentCardLeavesNoDanglingCard) {
    ASSERT_EQ(drill.CardOfRow(2), drill.Current());
    ASSERT_TRUE(drill.DeleteCard(CardTarget::Row(2)));
    EXPECT_EQ(List(), "A N C");
    EXPECT_EQ(Queue(), "A N C");
    EXPECT_EQ(Current(), "N"); // taken again from QueuePos
}

} // namespace
