// Cards refer to their texts as slices of the file's bytes; what a card holds must never depend
// on that, whatever happens to the card, the deck and the file.
#include "deck/deck.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <vector>

namespace {

using Texts = std::array<QByteArray, 4>; // Mondai, Kaitou, Sankou, Rireki

Texts TextsOf(const TMondaiSet &card) {
    return {card.Mondai(), card.Kaitou(), card.Sankou(), card.Rireki()};
}

constexpr char kFile[] = "\"a,1\",b1,s1,1,2,3,r1\r\n"
                         "q2,\"x\\ny\",,0,0,0,\r\n"
                         "q3,b3,s3,5,6,7,r3\n"         // a lone LF: the lines are rebuilt
                         "\x82\xa0,\x95\x5c,,9,9,9,o"; // no line end at all

class CardSlicesTest : public ::testing::Test {
protected:
    void SetUp() override {
        path_ = dir_.filePath(QStringLiteral("deck.csv"));
        Write(kFile);
        Open(deck_);
        for (const auto &card : deck_.Cards())
            expected_.push_back(TextsOf(*card));
    }

    void Write(const QByteArray &bytes) {
        QFile file(path_);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    void Open(Deck &deck) {
        DeckFileRead read = ReadDeckForOpening(path_);
        ASSERT_TRUE(read.result.ok);
        CardRefList queue;
        OpenReadDeck(deck, std::move(read), 1, queue);
    }

    void ExpectCards(const Deck &deck, const char *step) {
        ASSERT_EQ(deck.Cards().size(), expected_.size()) << step;
        for (size_t i = 0; i < expected_.size(); ++i)
            EXPECT_EQ(TextsOf(*deck.Cards()[i]), expected_[i]) << step << ", card " << i;
    }

    QTemporaryDir dir_;
    QString path_;
    Deck deck_;
    std::vector<Texts> expected_;
};

TEST_F(CardSlicesTest, CardsHoldTheirTextsThroughEditsUndoSavesAndReopening) {
    ASSERT_EQ(expected_.size(), 4u);
    EXPECT_EQ(expected_[0][0], "\"a,1\"");
    EXPECT_EQ(expected_[3][1], "\x95\x5c");
    // What an undo keeps: copies of texts as they were, taken before any change.
    const std::vector<Texts> before = expected_;
    TMondaiSet &first = *deck_.Cards()[0];
    TMondaiSet &second = *deck_.Cards()[1];
    const std::vector<std::pair<const char *, std::function<void()>>> steps = {
        {"edit a text", [&] { first.SetField(2, "longer answer, with a comma"); }},
        {"edit in place", [&] { second.SetMondai(second.Mondai() + "+"); }},
        {"bookmark", [&] { AddSioriMark(second); }},
        {"remove the bookmark", [&] { RemoveSioriMark(second); }},
        {"save", [&] { ASSERT_TRUE(SaveDeck(deck_).ok); }},
        {"undo the edit", [&] { first.SetKaitou(before[0][1]); }},
        {"save again", [&] { ASSERT_TRUE(SaveDeck(deck_).ok); }},
        {"empty a text", [&] { first.SetField(3, ""); }},
        {"save a third time", [&] { ASSERT_TRUE(SaveDeck(deck_).ok); }},
    };
    for (const auto &[name, step] : steps) {
        step();
        expected_[0] = TextsOf(first);
        expected_[1] = TextsOf(second);
        ExpectCards(deck_, name);
        EXPECT_FALSE(IsDeckChanged(deck_) && QByteArray(name).startsWith("save")) << name;
    }
    EXPECT_EQ(expected_[0][1], "b1");
    EXPECT_EQ(expected_[1][0], "q2+");
    EXPECT_TRUE(expected_[0][2].isEmpty());

    Deck reopened;
    Open(reopened);
    ExpectCards(reopened, "reopen");
    deck_ = Deck(); // every buffer the first deck read or wrote may go now
    Write("other,deck\r\n");
    Open(reopened);
    EXPECT_EQ(reopened.Cards()[0]->Kaitou(), "deck");
    // The copies an undo keeps are untouched by all of it.
    EXPECT_EQ(before[0], (Texts{"\"a,1\"", "b1", "s1", "r1"}));
    EXPECT_EQ(before[1], (Texts{"q2", "\"x\\ny\"", "", ""}));
    EXPECT_EQ(before[3][0], "\x82\xa0");
}

} // namespace
