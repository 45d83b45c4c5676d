#include "drill_fixture.h"
#include "support/drill_state.h"

#include <functional>

namespace {

// Everything a take-back has to restore, as one comparable value.
struct Snapshot {
    std::string list, queue, current, bookmark, lines;
    int queuePos = 0;
    bool answerShown = false, doneFlag = false;
    bool operator==(const Snapshot &) const = default;
};

void PrintTo(const Snapshot &s, std::ostream *os) {
    *os << "list[" << s.list << "] queue[" << s.queue << "] pos " << s.queuePos << " current "
        << s.current << " answer " << s.answerShown << " done " << s.doneFlag << " bookmark "
        << s.bookmark;
}

class TakeBack : public DrillFixture {
public:
    // The scenes below arrange the drill through these.
    using DrillFixture::Card;
    using DrillFixture::drill;

    void SetUp() override {
        AddDue({"A", "B", "C", "D", "E"});
        Card("C")->SetRireki("ox");
        Card("C")->Seikai = 3;
        Card("C")->Fuseikai = 2;
        Add("F", kToday + 5); // not due: never in the pass
        Open();
    }
    Snapshot Take() const {
        Snapshot s{List(), Queue(),          Current(),           Names({drill.BookmarkCard()}),
                   {},     drill.QueuePos(), drill.AnswerShown(), drill.DoneFlag()};
        for (const auto &card : deck.Cards())
            s.lines += RenderCardLine(*card).toStdString() + "\n";
        return s;
    }
    // Steps through the pass the way the keys do.
    void Next(int times) {
        for (int i = 0; i < times; ++i)
            drill.GoNext();
    }
    void Done() {
        DrillStateForTests::SetAnswerShown(drill, true);
        drill.GoDone();
    }
};

struct Scene {
    const char *name;
    std::function<void(TakeBack &)> arrange;
    CardTarget target;
};

class TakeBackEveryPattern : public TakeBack, public ::testing::WithParamInterface<Scene> {};

// Delete, then take back at once: the deck file, the pass, the drill's place and the bookmark
// are as they were before the delete.
TEST_P(TakeBackEveryPattern, RestoresEverything) {
    GetParam().arrange(*this);
    const Snapshot before = Take();
    ASSERT_TRUE(drill.DeleteCard(GetParam().target));
    ASSERT_NE(Take(), before);
    host.Take();
    ASSERT_NE(drill.TakeBackDelete(), nullptr);
    EXPECT_EQ(Take(), before);
    EXPECT_EQ(host.Take(), "RefreshView");
    EXPECT_FALSE(drill.CanTakeBackDelete());
}

INSTANTIATE_TEST_SUITE_P(
    Scenes, TakeBackEveryPattern,
    ::testing::Values(
        Scene{"MainCurrentQuestion", [](TakeBack &t) { t.Next(2); }, CardTarget::Row(0)},
        Scene{"MainCurrentAnswer", [](TakeBack &t) { t.Next(5); }, CardTarget::Row(0)},
        Scene{"MainDoneCard",
              [](TakeBack &t) {
                  t.Next(4);
                  t.Done();
              },
              CardTarget::Row(0)},
        Scene{"MainLastDone",
              [](TakeBack &t) {
                  t.Next(8);
                  t.Done();
              },
              CardTarget::Row(0)},
        Scene{"MainBookmarked",
              [](TakeBack &t) {
                  t.drill.SetBookmark(t.Card("C"));
                  t.Next(4);
              },
              CardTarget::Row(0)},
        Scene{"SubRowOne",
              [](TakeBack &t) {
                  t.drill.SetPattern(PatternSub, 5);
                  t.drill.BackToStart();
                  t.Next(3);
              },
              CardTarget::Row(1)},
        Scene{"SubRowOneFirstCard",
              [](TakeBack &t) {
                  t.drill.SetPattern(PatternSub, 5);
                  t.drill.BackToStart();
                  t.Next(1);
              },
              CardTarget::Row(1)},
        Scene{"SubRowThreeKeepsDone",
              [](TakeBack &t) {
                  t.drill.SetPattern(PatternSub, 5);
                  t.drill.BackToStart();
                  t.Next(1);
                  t.Done();
              },
              CardTarget::Row(3)},
        Scene{"SubRowBookmarked",
              [](TakeBack &t) {
                  t.drill.SetBookmark(t.Card("D"));
                  t.drill.SetPattern(PatternSub, 5);
                  t.drill.BackToStart();
                  t.Next(2);
              },
              CardTarget::Row(3)},
        Scene{"ListPopupRowOfACardNotDue",
              [](TakeBack &t) {
                  t.drill.SetPattern(PatternList, 5);
                  t.Next(2);
              },
              CardTarget::List(6)},
        Scene{"ListPopupRowBeforeTheCurrentCard",
              [](TakeBack &t) {
                  t.drill.SetPattern(PatternList, 5);
                  t.Next(3);
              },
              CardTarget::List(1)},
        Scene{"ListCurrentCard",
              [](TakeBack &t) {
                  t.drill.SetPattern(PatternList, 5);
                  t.Next(2);
              },
              CardTarget::List(-1)},
        Scene{"ListDoneCardAtTheStart",
              [](TakeBack &t) {
                  t.drill.SetPattern(PatternList, 5);
                  t.Done();
              },
              CardTarget::List(-1)},
        Scene{"ListRecordedCard",
              [](TakeBack &t) {
                  t.drill.SetPattern(PatternList, 5);
                  t.drill.SetBookmark(t.Card("C"));
              },
              CardTarget::List(3)}),
    [](const ::testing::TestParamInfo<Scene> &info) { return std::string(info.param.name); });

TEST_F(TakeBack, NewestFirstBackToTheSameFile) {
    drill.SetPattern(PatternList, 5);
    const Snapshot before = Take();
    drill.DeleteCard(CardTarget::List(2)); // B
    drill.DeleteCard(CardTarget::List(4)); // E (row 4 after B left)
    drill.DeleteCard(CardTarget::List(1)); // A
    EXPECT_EQ(List(), "C D F");
    for (const char *name : {"A", "E", "B"}) {
        const TMondaiSet *back = drill.TakeBackDelete();
        ASSERT_NE(back, nullptr);
        EXPECT_EQ(back->Mondai(), name);
    }
    EXPECT_EQ(Take().lines, before.lines);
    EXPECT_EQ(Queue(), before.queue);
    EXPECT_EQ(drill.TakeBackDelete(), nullptr);
}

// When the drill moved on after the delete, it keeps its card; the card that comes back takes
// its old place in the pass.
TEST_F(TakeBack, DrillThatMovedOnKeepsItsCard) {
    Next(2); // B current
    drill.DeleteCard(CardTarget::Row(0));
    Next(2); // C's answer, then D
    ASSERT_EQ(Current(), "D");
    drill.TakeBackDelete();
    EXPECT_EQ(Queue(), "A B C D E");
    EXPECT_EQ(Current(), "D");
    EXPECT_EQ(drill.QueuePos(), 4);
    EXPECT_EQ(List(), "A B C D E F");
}

// A bookmark set on another card since the delete stays; the returning card's marker is then
// plain text, as when a deck holding two markers is opened.
TEST_F(TakeBack, BookmarkReturnsOnlyWhenNoOtherCardHoldsOne) {
    TMondaiSet *b = Card("B");
    TMondaiSet *d = Card("D");
    drill.SetBookmark(b);
    Next(2);
    drill.DeleteCard(CardTarget::Row(0));
    EXPECT_EQ(drill.BookmarkCard(), nullptr);
    drill.SetBookmark(d);
    EXPECT_EQ(drill.TakeBackDelete(), b);
    EXPECT_EQ(drill.BookmarkCard(), d);
    EXPECT_TRUE(HasSioriMark(*b));
}

TEST_F(TakeBack, KeepsTheLastHundredUntilAnotherDeckOpens) {
    for (int i = 0; i < 120; ++i)
        Add("X");
    Open();
    drill.SetPattern(PatternList, 5);
    for (int i = 0; i < 101; ++i)
        ASSERT_TRUE(drill.DeleteCard(CardTarget::List(1)));
    int takenBack = 0;
    while (drill.TakeBackDelete())
        ++takenBack;
    EXPECT_EQ(takenBack, 100);
    EXPECT_EQ(deck.Cards().size(), 6u + 120u - 1u);
    drill.DeleteCard(CardTarget::List(1));
    Open();
    EXPECT_FALSE(drill.CanTakeBackDelete());
    host.Take();
    EXPECT_EQ(drill.TakeBackDelete(), nullptr);
    EXPECT_EQ(host.Take(), "");
}

} // namespace
