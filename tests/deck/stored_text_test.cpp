// Texts typed by the user must come back as themselves after a save and a new open.
#include "deck/card.h"
#include "deck/deck.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(StoredText, QuoteBeforeCommaGetsASpace) {
    TMondaiSet card("q", "a", "s", 0, 0, 0, "");
    card.SetField(1, "He said \"no\", then");
    EXPECT_EQ(card.Mondai(), "\"He said \"no\" , then\"");
    card.SetField(2, "a\",b\",c");
    EXPECT_EQ(card.Kaitou(), "\"a\" ,b\" ,c\"");
    card.SetField(7, "\",x");
    EXPECT_EQ(card.Rireki(), "\"\" ,x\"");
    // Already wrapped by the user: the pair inside is separated all the same.
    card.SetField(3, "\"a\",\"b\"");
    EXPECT_EQ(card.Sankou(), "\"a\" ,\"b\"");
    EXPECT_EQ(SeparateQuoteCommas("\"\",,\","), "\"\" ,,\" ,");
}

TEST(StoredText, TextOpeningWithAQuoteItDoesNotCloseIsEnclosed) {
    TMondaiSet card("q", "a", "s", 0, 0, 0, "");
    card.SetField(1, "\"break a leg\" \x82\xcc\x88\xd3\x96\xa1"); // の意味
    EXPECT_EQ(card.Mondai(), "\"\"break a leg\" \x82\xcc\x88\xd3\x96\xa1\"");
    EXPECT_EQ(DisplayForm(card.Mondai()), "\"break a leg\" \x82\xcc\x88\xd3\x96\xa1");
    card.SetField(2, "\"");
    EXPECT_EQ(card.Kaitou(), "\"\"\"");
    EXPECT_EQ(DisplayForm(card.Kaitou()), "\"");
    card.SetField(3, "\"x\""); // closed: kept as typed
    EXPECT_EQ(card.Sankou(), "\"x\"");
}

TEST(StoredText, BookmarkMarkerNeverLeavesAnUnreadableQuestion) {
    const QByteArray mark = SioriMark();
    // A lone quote is no quoted text: the marker goes in front of it.
    TMondaiSet card("\"", "a", "", 0, 0, 0, "");
    AddSioriMark(card);
    EXPECT_EQ(card.Mondai(), mark + "\"");
    // Taking the marker out would join a quote to a comma.
    card.SetMondai("\"a\"" + mark + ",b\"");
    EXPECT_FALSE(RemoveSioriMark(card));
    EXPECT_EQ(card.Mondai(), "\"a\" ,b\"");
    // Right after the opening quote nothing needs separating.
    card.SetMondai("\"" + mark + ",b\"");
    RemoveSioriMark(card);
    EXPECT_EQ(card.Mondai(), "\",b\"");
}

// Every awkward text, stored through SetField in every text column, saved to a real file and
// read again: the same stored texts, the same learning record, an unchanged deck.
TEST(StoredText, SaveAndReopenGivesBackEveryField) {
    const QList<QByteArray> typed = {
        "He said \"no\", then",
        "\"break a leg\" \x82\xcc\x88\xd3\x96\xa1",
        "\"",
        "\",",
        ",\"",
        "a\",b\",c\"",
        "\"a\",\"b\"",
        "\"idiom\"",
        "\"x\\ny",
        "plain",
        "",
    };
    QTemporaryDir dir;
    Deck deck;
    deck.SetFileName(dir.filePath(QStringLiteral("quotes.csv")));
    for (const QByteArray &text : typed) {
        for (int column : {1, 2, 3, 7}) {
            // A quoted reference after the text is what a runaway quote would swallow.
            auto card = std::make_unique<TMondaiSet>("q", "a", "\"ref\"", 40001, 3, 2, "\"r\"");
            card->SetField(column, text);
            deck.AddCard(std::move(card));
        }
    }
    ASSERT_TRUE(SaveDeck(deck).ok);

    Deck again;
    DeckLines lines;
    ASSERT_TRUE(ReadDeckFile(deck.FileName(), &lines).ok);
    again.SetSavedLines(std::move(lines));
    CardRefList queue;
    ParseDeck(again, 40000, queue);
    ASSERT_EQ(again.Cards().size(), deck.Cards().size());
    for (std::size_t i = 0; i < deck.Cards().size(); ++i) {
        const TMondaiSet &want = *deck.Cards()[i];
        const TMondaiSet &got = *again.Cards()[i];
        const std::string which = typed[qsizetype(i / 4)].toStdString();
        EXPECT_EQ(got.Mondai(), want.Mondai()) << which;
        EXPECT_EQ(got.Kaitou(), want.Kaitou()) << which;
        EXPECT_EQ(got.Sankou(), want.Sankou()) << which;
        EXPECT_EQ(got.Rireki(), want.Rireki()) << which;
        EXPECT_EQ(got.Jikan, 40001) << which;
        EXPECT_EQ(got.Seikai, 3) << which;
        EXPECT_EQ(got.Fuseikai, 2) << which;
    }
    EXPECT_FALSE(IsDeckChanged(again));
}

} // namespace
