#include "deck/card_source.h"
#include "deck/deck.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(CardTexts, TextsHandedOutAreOrdinaryIndependentTexts) {
    QByteArray buffer = QByteArray("first,second,") + QByteArray(5000, 'L');
    QByteArray a;
    QByteArray b;
    QByteArray c;
    {
        const CardSource source(buffer);
        const QByteArrayView bytes(buffer);
        const auto card =
            source.NewCard({bytes.first(5), bytes.sliced(6, 6), bytes.sliced(13), {}}, 0, 0, 0);
        a = card->Mondai();
        b = card->Kaitou();
        c = card->Sankou();
        EXPECT_TRUE(card->Rireki().isEmpty());
    }
    EXPECT_EQ(a.constData(), buffer.constData()); // no copy was made
    buffer = "replaced";                          // the slices keep the bytes alive
    a.append("+more text that needs room");
    EXPECT_EQ(b, "second");
    b[0] = 'S';
    b.prepend("<");
    EXPECT_EQ(a, "first+more text that needs room");
    EXPECT_EQ(b, "<Second");
    EXPECT_EQ(c, QByteArray(5000, 'L'));
}

TEST(TextBlock, EditedCardsDoNotTouchTheirNeighbours) {
    Deck deck;
    deck.SetSavedLines(DeckLines::FromFileBytes("q1,a1,s1,1,2,3,r1\r\nq2,a2,s2,4,5,6,r2\r\n"));
    CardRefList queue;
    ParseDeck(deck, 0, queue);
    TMondaiSet &first = *deck.Cards()[0];
    first.SetKaitou(first.Kaitou() + QByteArray(100, 'x'));
    first.SetMondai(first.Mondai().mid(1));
    AddSioriMark(first);
    EXPECT_EQ(first.Sankou(), "s1");
    EXPECT_EQ(deck.Cards()[1]->Mondai(), "q2");
    // Once every other text of its block is gone, a text may grow in place.
    QByteArray last = deck.Cards()[1]->Rireki();
    deck.ReplaceCards({});
    last.append("-grown");
    EXPECT_EQ(last, "r2-grown");
    deck.SetSavedLines(DeckLines::FromFileBytes("n,m\r\n"));
    ParseDeck(deck, 0, queue);
    EXPECT_EQ(deck.Cards()[0]->Kaitou(), "m");
    EXPECT_EQ(last, "r2-grown");
}

TEST(CardPool, CardsAreReusedAfterADeckIsReplaced) {
    Deck deck;
    CardRefList queue;
    for (const int count : {3000, 10, 20000, 1}) {
        QByteArray bytes;
        for (int i = 0; i < count; ++i)
            bytes += "q" + QByteArray::number(i) + ",a,,0,0,0,\r\n";
        deck.SetSavedLines(DeckLines::FromFileBytes(bytes));
        ParseDeck(deck, 1, queue);
        ASSERT_EQ(deck.Cards().size(), size_t(count));
        EXPECT_EQ(deck.Cards().back()->Mondai(), "q" + QByteArray::number(count - 1));
        EXPECT_FALSE(IsDeckChanged(deck));
    }
    auto extra = std::make_unique<TMondaiSet>();
    extra->SetField(1, "x,y");
    EXPECT_EQ(extra->Mondai(), "\"x,y\"");
}

TEST(CardPool, ACardOutlivingItsDeckDoesNotKeepTheOldDecksMemoryUnused) {
    QByteArray bytes;
    for (int i = 0; i < 5000; ++i)
        bytes += "q" + QByteArray::number(i) + ",a,,0,0,0,\r\n";
    Deck deck;
    deck.SetSavedLines(DeckLines::FromFileBytes(bytes));
    CardRefList queue;
    for (const int parts : {1, 2}) {
        ParseDeckInParts(deck, 1, queue, parts);
        std::set<const void *> oldPlaces;
        for (const auto &card : deck.Cards())
            oldPlaces.insert(card.get());
        // As a card kept for taking back a delete does while another deck is opened.
        CardOwnerList cards = deck.ReplaceCards({});
        const std::unique_ptr<TMondaiSet> kept = std::move(cards.front());
        deck.ReplaceCards(std::move(cards));
        ParseDeckInParts(deck, 1, queue, parts);
        std::size_t reused = 0;
        for (const auto &card : deck.Cards())
            reused += oldPlaces.count(card.get());
        // Every place but the one the kept card still holds.
        EXPECT_EQ(reused, deck.Cards().size() - 1) << parts << " parts";
        EXPECT_EQ(kept->Mondai(), "q0");
        deck.ReplaceCards({});
    }
}

} // namespace
