#include "drill_fixture.h"
#include "support/drill_state.h"

namespace {

class Bookmarks : public DrillFixture {
protected:
    int MarkerCount() const {
        int count = 0;
        for (const auto &card : deck.Cards())
            count += HasSioriMark(*card) ? 1 : 0;
        return count;
    }
};

TEST_F(Bookmarks, SettingASecondBookmarkMovesTheMarker) {
    AddDue({"apple", "pear"});
    Open();
    TMondaiSet *apple = Card("apple");
    TMondaiSet *pear = Card("pear");
    drill.SetBookmark(apple);
    EXPECT_EQ(apple->Mondai(), SioriMark() + "apple");
    EXPECT_EQ(drill.BookmarkCard(), apple);
    EXPECT_EQ(host.Take(), "RefreshView");

    drill.SetBookmark(pear);
    EXPECT_EQ(host.Take(), "RefreshView RefreshView"); // the old one cleared, the new one set
    EXPECT_EQ(apple->Mondai(), "apple");
    EXPECT_EQ(drill.BookmarkCard(), pear);
    EXPECT_EQ(MarkerCount(), 1);

    drill.ClearBookmark();
    EXPECT_EQ(pear->Mondai(), "pear");
    EXPECT_EQ(drill.BookmarkCard(), nullptr);
}

TEST_F(Bookmarks, OpeningFindsTheFirstMarkedDueCard) {
    TMondaiSet *resting = Add("resting", kToday + 4);
    TMondaiSet *first = Add("first");
    TMondaiSet *second = Add("second");
    for (TMondaiSet *card : {resting, first, second})
        AddSioriMark(*card);
    Open();
    EXPECT_EQ(drill.BookmarkCard(), first);
    EXPECT_TRUE(HasSioriMark(*second)); // kept as plain text

    drill.SetRandomEngine(std::mt19937(1));
    DrillStateForTests::SetJyun(drill, 1);
    Open(); // the bookmark is found before the queue is shuffled
    EXPECT_EQ(drill.BookmarkCard(), first);
}

TEST_F(Bookmarks, TheBookmarkedCardIsExemptFromScoring) {
    AddDue({"A", "B"});
    Open();
    TMondaiSet *a = Card("A");
    a->Seikai = 1;
    drill.SetBookmark(a);
    drill.GoNext(); // reveal
    host.Take();

    drill.GoDone();
    EXPECT_EQ(host.Take(), "ShowBookmarkExempt");
    EXPECT_EQ(a->Seikai, 1);
    EXPECT_EQ(Queue(), Names({a, Card("B")}));
    EXPECT_FALSE(drill.DoneFlag());

    drill.GoUndo();
    EXPECT_EQ(host.Take(), "");
    EXPECT_EQ(a->Seikai, 1);

    drill.GoNext();
    EXPECT_EQ(a->Fuseikai, 0);
    EXPECT_EQ(a->Rireki(), "");
    EXPECT_EQ(Current(), "B");
}

TEST_F(Bookmarks, JumpShowsTheBookmarkedCardWithItsAnswer) {
    AddDue({"A", "B", "C"});
    Open();
    TMondaiSet *b = Card("B");
    drill.SetBookmark(b);
    host.Take();
    drill.MoveToBookmark();
    EXPECT_EQ(host.Take(), "RefreshView"); // nothing spoken
    EXPECT_EQ(drill.Current(), b);
    EXPECT_EQ(drill.QueuePos(), 2);
    EXPECT_TRUE(drill.AnswerShown());
    EXPECT_FALSE(drill.DoneFlag());
    drill.GoNext();
    EXPECT_EQ(Current(), "C");
    EXPECT_EQ(b->Fuseikai, 0);
}

TEST_F(Bookmarks, JumpToACardOutsideTheQueueChangesNothing) {
    AddDue({"A", "B", "C"});
    Open();
    drill.GoNext();
    drill.GoDone(); // A is out of the queue and still current
    drill.SetBookmark(Card("A"));
    host.Take();
    drill.MoveToBookmark();
    EXPECT_EQ(host.Take(), "BookmarkNotInQueue");
    EXPECT_EQ(drill.QueuePos(), 0);
    EXPECT_TRUE(drill.DoneFlag());
    EXPECT_TRUE(drill.AnswerShown());
    EXPECT_EQ(Queue(), "B C");
}

TEST_F(Bookmarks, MarkerEditedByHand) {
    AddDue({"A", "B", "C"});
    Open();
    TMondaiSet *a = Card("A");
    TMondaiSet *b = Card("B");
    TMondaiSet *c = Card("C");

    // Typed while there is no bookmark: stays plain text until the deck is opened again.
    b->SetMondai(SioriMark() + "B");
    drill.AfterQuestionEdit(b);
    EXPECT_EQ(drill.BookmarkCard(), nullptr);
    Open();
    EXPECT_EQ(drill.BookmarkCard(), b);

    // Typed on another card: it takes the bookmark and the old marker goes.
    c->SetMondai("C" + SioriMark());
    drill.AfterQuestionEdit(c);
    EXPECT_EQ(drill.BookmarkCard(), c);
    EXPECT_EQ(b->Mondai(), "B");
    EXPECT_EQ(MarkerCount(), 1);

    // An edit that keeps the marker changes nothing.
    host.Take();
    drill.AfterQuestionEdit(c);
    drill.AfterQuestionEdit(a);
    EXPECT_EQ(drill.BookmarkCard(), c);
    EXPECT_EQ(host.Take(), "");

    // Deleted by hand: the bookmark is gone.
    c->SetMondai("C");
    drill.AfterQuestionEdit(c);
    EXPECT_EQ(drill.BookmarkCard(), nullptr);
    EXPECT_EQ(host.Take(), "RefreshView");
}

} // namespace
