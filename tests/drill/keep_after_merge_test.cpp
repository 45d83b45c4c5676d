#include "drill_fixture.h"

#include <algorithm>

namespace {

class KeepAfterMerge : public DrillFixture {};

TEST_F(KeepAfterMerge, ThePassKeepsItsCardsAndPlace) {
    const struct {
        const char *name;
        const char *drop;  // a card the merge took away, or ""
        const char *added; // a due card the merge brought, or ""
        bool fDue;         // the other side made F due
        const char *queue;
        const char *current; // after the redraw's adoption
    } cases[] = {
        {"a card behind the current one goes", "D", "", false, "A B C E", "B"},
        {"the current card goes: the next stands in", "B", "", false, "A C D E", "C"},
        {"a card already asked goes", "A", "", false, "B C D E", "B"},
        {"a new due card joins at the end", "", "G", false, "A B C D E G", "B"},
        {"a card made due elsewhere joins at the end", "", "", true, "A B C D E F", "B"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        deck.ReplaceCards({});
        AddDue({"A", "B", "C", "D", "E"});
        Add("F", kToday + 5);
        Open();
        drill.AdvanceQueue(); // the drill stands on B
        ASSERT_EQ(Current(), "B");
        CardOwnerList cards = deck.ReplaceCards({});
        std::erase_if(cards, [&](const auto &card) { return card->Mondai() == c.drop; });
        deck.ReplaceCards(std::move(cards));
        if (*c.added)
            Add(c.added);
        if (c.fDue)
            Card("F")->Jikan = 0;

        drill.KeepAfterMerge();
        EXPECT_EQ(Queue(), c.queue);
        EXPECT_EQ(Current(), c.current);
        EXPECT_EQ(drill.Queue().at(size_t(drill.QueuePos() - 1)), drill.Current());
    }
}

} // namespace
