// A buffer stays exactly as long as a card takes a text from it, and no longer.
#include "deck/card_source.h"
#include "deck/deck.h"
#include "deck/text_buffers.h"
#include "support/file_bytes.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
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

// A save holds no second copy of the deck: the cards keep their texts where they were read,
// and lines other than those read are known by size and hash, which still tell every change.
TEST(CardSource, ASaveKeepsTheCardsWhereTheyAreAndStillTellsChanges) {
    QTemporaryDir dir;
    const qsizetype before = text_buffers::LiveCount();
    Deck deck;
    deck.SetSavedLines(DeckLines::FromFileBytes("q1,a1,s1,1,2,3,r1\r\nq2,a2,,0,0,0,\r\n"));
    CardRefList queue;
    ParseDeck(deck, 0, queue);
    deck.SetFileName(dir.filePath(QStringLiteral("deck.csv")));
    const QByteArray read = deck.SavedLines().Bytes();
    const struct {
        const char *what;
        std::function<void()> change;
        bool changed;
    } steps[] = {
        {"unchanged", [] {}, false},
        {"an answer edited", [&] { deck.Cards()[0]->SetField(2, "new"); }, true},
        {"a number set to what it was", [&] { deck.Cards()[1]->SetField(4, "0"); }, false},
        {"a card removed", [&] { deck.TakeCard(qsizetype(deck.Cards().size()) - 1); }, true},
        {"the same bytes in another card", [&] { deck.Cards()[0]->SetField(7, "r1"); }, false},
    };
    for (const auto &step : steps) {
        step.change();
        EXPECT_EQ(IsDeckChanged(deck), step.changed) << step.what;
        ASSERT_TRUE(SaveDeck(deck).ok) << step.what;
        EXPECT_FALSE(IsDeckChanged(deck)) << step.what;
        deck.Cards()[0]->SetField(3, "x"); // any change shows, whatever the saved lines are
        EXPECT_TRUE(IsDeckChanged(deck)) << step.what;
        deck.Cards()[0]->SetField(3, "s1");
        EXPECT_FALSE(IsDeckChanged(deck)) << step.what;
    }
    EXPECT_EQ(FileBytes(deck.FileName()), "q1,new,s1,1,2,3,r1\r\n");
    EXPECT_TRUE(deck.SavedLines().KnownByHash());
    EXPECT_EQ(text_buffers::LiveCount(), before + 1); // the bytes read, and nothing else
    EXPECT_EQ(deck.Cards()[0]->Rireki(), "r1");
    deck.ReplaceCards({});
    EXPECT_EQ(text_buffers::LiveCount(), before);
    EXPECT_EQ(read, "q1,a1,s1,1,2,3,r1\r\nq2,a2,,0,0,0,\r\n");
}

} // namespace
