#include "drill_fixture.h"

#include <functional>

namespace {

// Steps that leave the drill without a current card where its position names one. The drill
// takes that card up itself before it asks for a redraw, so the window's redraw only reads.
struct Step {
    const char *name;
    std::function<void(Drill &, Deck &)> run;
    const char *current;
};

std::unique_ptr<TMondaiSet> NewCard() {
    return std::make_unique<TMondaiSet>("N", "a", "", 0, 0, 0, "");
}

const Step kSteps[] = {
    {"DeleteCurrent",
     [](Drill &d, Deck &) {
         d.GoNext(); // the answer of A
         d.DeleteCard(CardTarget::Row(0));
     },
     "B"},
    {"DeleteCurrentFromTheList",
     [](Drill &d, Deck &) {
         d.GoNext();
         d.GoNext(); // on B
         d.DeleteCard(CardTarget::List(-1));
     },
     "A"},
    {"InsertInFrontOfTheCurrent",
     [](Drill &d, Deck &) { d.InsertCard(NewCard(), InsertCurrent, false, CardTarget::Row(0)); },
     "N"},
    {"InsertLastAndMoveThere",
     [](Drill &d, Deck &) { d.InsertCard(NewCard(), InsertLast, true, CardTarget::Row(0)); }, "E"},
    {"MergeTakesTheCurrentAway",
     [](Drill &d, Deck &deck) {
         d.AdvanceQueue(); // on B
         CardOwnerList cards = deck.ReplaceCards({});
         std::erase_if(cards, [](const auto &card) { return card->Mondai() == "B"; });
         deck.ReplaceCards(std::move(cards));
         d.KeepAfterMerge();
     },
     "C"},
    {"ImportAfterTheLastCardWasDeleted",
     [](Drill &d, Deck &deck) {
         for (int i = 0; i < 8; ++i)
             d.GoNext(); // on to E
         d.DeleteCard(CardTarget::Row(0));
         CardOwnerList imported;
         imported.push_back(NewCard());
         const CardRefList added{imported.front().get()};
         deck.AppendCards(std::move(imported));
         d.QueueAppended(added);
     },
     "N"},
};

class CurrentCardAfterStep : public DrillFixture, public ::testing::WithParamInterface<Step> {
protected:
    void SetUp() override {
        AddDue({"A", "B", "C", "D", "E"});
        Open();
    }
};

TEST_P(CurrentCardAfterStep, StandsOnTheCardAtItsPosition) {
    GetParam().run(drill, deck);
    ASSERT_GE(drill.QueuePos(), 1);
    ASSERT_LE(drill.QueuePos(), qsizetype(drill.Queue().size()));
    EXPECT_EQ(drill.Current(), drill.Queue()[std::size_t(drill.QueuePos() - 1)]);
    EXPECT_EQ(Current(), GetParam().current);
    EXPECT_FALSE(host.calls.contains(QStringLiteral("UnadoptedRedraw"))) << host.Take();
}

INSTANTIATE_TEST_SUITE_P(Steps, CurrentCardAfterStep, ::testing::ValuesIn(kSteps),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace
