// A buffer stays exactly as long as a card takes a text from it, and no longer.
#include "deck/card_source.h"
#include "deck/deck.h"
#include "deck/text_buffers.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

TEST(CardSource, BuffersLiveExactlyAsLongAsTheirCards) {
    const qsizetype before = text_buffers::LiveCount();
    QByteArray bytes("question,answer,note,1,2,3,history\r\n");
    std::unique_ptr<TMondaiSet> card;
    std::unique_ptr<TMondaiSet> copy;
    const QByteArray outside("elsewhere");
    {
        const CardSource source(bytes);
        card = source.NewCard(
            {QByteArrayView(bytes).sliced(0, 8), QByteArrayView(bytes).sliced(9, 6), outside, {}},
            1, 2, 3);
    }
    bytes = "overwritten, every byte of it";
    // The card's buffer outlives the source object and the caller's own copy of the bytes.
    EXPECT_EQ(text_buffers::LiveCount(), before + 1);
    EXPECT_EQ(card->Mondai(), "question");
    EXPECT_EQ(card->Kaitou(), "answer");
    EXPECT_EQ(card->Sankou(), "elsewhere"); // copied: it lay outside the buffer
    EXPECT_TRUE(card->Rireki().isEmpty());

    copy = std::make_unique<TMondaiSet>(*card);
    const QByteArray handedOut = card->Mondai();
    card->SetMondai("edited");
    card.reset();
    EXPECT_EQ(text_buffers::LiveCount(), before + 1); // the copy still refers to it
    EXPECT_EQ(copy->Mondai(), "question");
    copy.reset();
    EXPECT_EQ(text_buffers::LiveCount(), before);
    EXPECT_EQ(handedOut, "question"); // a text handed out keeps its bytes
}

TEST(CardSource, ASavedDeckLetsGoOfTheBytesItWasReadFrom) {
    const qsizetype before = text_buffers::LiveCount();
    Deck deck;
    deck.SavedLines = DeckLines::FromFileBytes("q1,a1,s1,1,2,3,r1\r\nq2,a2,,0,0,0,\r\n");
    CardRefList queue;
    ParseDeck(deck, 0, queue);
    deck.SavedLines = DeckLines();
    EXPECT_EQ(text_buffers::LiveCount(), before + 1);
    // One card edited, one as read: after the move, both take nothing from the first buffer.
    deck.CardList[0]->SetField(2, "new");
    ASSERT_EQ(RenderDeckLines(deck), 0);
    ResliceCards(deck.CardList, deck.RenderedLines);
    deck.RenderedLines = DeckLines();
    EXPECT_EQ(text_buffers::LiveCount(), before + 1);
    EXPECT_EQ(deck.CardList[0]->Kaitou(), "new");
    EXPECT_EQ(deck.CardList[1]->Mondai(), "q2");
    EXPECT_EQ(deck.CardList[0]->Rireki(), "r1");
    deck.CardList.clear();
    EXPECT_EQ(text_buffers::LiveCount(), before);
}

} // namespace
