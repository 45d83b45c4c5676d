#include "deck/deck.h"

#include <gtest/gtest.h>

#include <map>

namespace {

QByteArray Fields(QByteArrayView line) {
    QByteArray out;
    for (QByteArrayView field : SplitFields(line))
        out += field.toByteArray() + '|';
    return out;
}

Deck DeckOf(const QByteArray &fileBytes) {
    Deck deck;
    deck.SetSavedLines(DeckLines::FromFileBytes(fileBytes));
    return deck;
}

TEST(SplitFields, PlainQuotedShortAndLongLines) {
    EXPECT_EQ(Fields("q,a,s,46000,2,1,r"), "q|a|s|46000|2|1|r|");
    EXPECT_EQ(Fields("\"q,1\",a,\"s\",1,2,3,\"r,x\""), "\"q,1\"|a|\"s\"|1|2|3|\"r,x\"|");
    EXPECT_EQ(Fields("q,a"), "q|a||||||");
    EXPECT_EQ(Fields(""), "|||||||");
    EXPECT_EQ(Fields("q,a,s,1,2,3,r,extra,more"), "q|a|s|1|2|3|r|");
    EXPECT_EQ(Fields(" q , a ,"), " q | a ||||||");
    EXPECT_EQ(Fields("a,b,c,d,e,f,"), "a|b|c|d|e|f||");
}

TEST(SplitFields, ClosingQuoteIsSearchedAfterTheOpeningOne) {
    // An answer that is a lone comma, stored quoted, must not swallow the rest of the line.
    EXPECT_EQ(Fields("q,\",\",s,1,2,3,r"), "q|\",\"|s|1|2|3|r|");
    EXPECT_EQ(Fields("\",x\",a"), "\",x\"|a||||||");
    EXPECT_EQ(Fields("\"\",a"), "\"\"|a||||||");
}

TEST(SplitFields, QuotesInsideAndAtTheEnd) {
    EXPECT_EQ(Fields("\"a\"\"b\",c"), "\"a\"\"b\"|c||||||");
    EXPECT_EQ(Fields("a\"b,c"), "a\"b|c||||||");
    // A quoted last field without a following comma runs to the end of the line.
    EXPECT_EQ(Fields("q,a,s,1,2,3,\"r,x\""), "q|a|s|1|2|3|\"r,x\"|");
    EXPECT_EQ(Fields("q,\"a,b\""), "q|\"a,b\"||||||");
    EXPECT_EQ(Fields("q,\""), "q|\"||||||");
    // The end is the first quote followed by a comma, even in a later column.
    EXPECT_EQ(Fields("\"a,b\"c\",d"), "\"a,b\"c\"|d||||||");
}

TEST(SplitFields, QuotedFieldWithoutAnEndStopsAtTheNextComma) {
    EXPECT_EQ(Fields("\"abc,def,1,2,3,r"), "\"abc|def|1|2|3|r||");
    EXPECT_EQ(Fields("q,\"abc"), "q|\"abc||||||");
    EXPECT_EQ(Fields("\"abc,x,y,1,2,3,r\"z"), "\"abc|x|y|1|2|3|r\"z|");
}

TEST(SplitFields, DoubleByteCharactersAreNotSplit) {
    // 表 (0x95 0x5C) and ソ (0x83 0x5C) end in a backslash byte; nothing special happens.
    const QByteArray line = "\x95\x5c,\"\x83\x5c,\x83\x5c\",x";
    EXPECT_EQ(Fields(line), "\x95\x5c|\"\x83\x5c,\x83\x5c\"|x|||||");
}

TEST(ExtractField, NumbersOutsideOneToSevenAreEmpty) {
    EXPECT_EQ(ExtractField("q,a,s,1,2,3,r", 7), "r");
    EXPECT_EQ(ExtractField("q,a,s,1,2,3,r", 1), "q");
    EXPECT_EQ(ExtractField("q,a,s,1,2,3,r,x", 8), "");
    EXPECT_EQ(ExtractField("q,a", 0), "");
}

TEST(FieldToInt, OnlyPlainDecimalIn32Bits) {
    EXPECT_EQ(FieldToInt("46000"), 46000);
    EXPECT_EQ(FieldToInt("-4"), -4);
    EXPECT_EQ(FieldToInt("+5"), 5);
    EXPECT_EQ(FieldToInt("007"), 7);
    EXPECT_EQ(FieldToInt("2147483647"), 2147483647);
    EXPECT_EQ(FieldToInt("-2147483648"), -2147483647 - 1);
    for (const char *bad : {"", "x", "1x", "0x10", " 1", "1 ", "2147483648", "-2147483649",
                            "99999999999999999999999", "+", "-", "1.0", "\x82\x50"})
        EXPECT_EQ(FieldToInt(bad), 0) << bad;
}

TEST(ParseDeck, BuildsCardsAndQueuesTheDueOnesInFileOrder) {
    Deck deck = DeckOf("q,a,s,46000,2,1,\x90\xb3\x8c\xeb\r\n"
                       "\"q,1\",a,\"s\",1,2,3,\"r,x\"\r\n"
                       "q,a\r\n"
                       "\r\n"
                       "q,a,s,x,,-4,r\r\n");
    CardRefList queue{nullptr};
    ParseDeck(deck, 46000, queue);
    ASSERT_EQ(deck.Cards().size(), 5u);
    const TMondaiSet &first = *deck.Cards()[0];
    EXPECT_EQ(first.Mondai(), "q");
    EXPECT_EQ(first.Jikan, 46000);
    EXPECT_EQ(first.Seikai, 2);
    EXPECT_EQ(first.Fuseikai, 1);
    EXPECT_EQ(first.Rireki(), "\x90\xb3\x8c\xeb");
    EXPECT_EQ(deck.Cards()[1]->Mondai(), "\"q,1\"");
    EXPECT_EQ(DisplayForm(deck.Cards()[1]->Mondai()), "q,1");
    EXPECT_EQ(deck.Cards()[1]->Rireki(), "\"r,x\"");
    EXPECT_EQ(deck.Cards()[2]->Sankou(), "");
    EXPECT_EQ(deck.Cards()[3]->Mondai(), "");
    EXPECT_EQ(deck.Cards()[4]->Jikan, 0);
    EXPECT_EQ(deck.Cards()[4]->Seikai, 0);
    EXPECT_EQ(deck.Cards()[4]->Fuseikai, -4);
    // Day 46000 is not before today 46000: the first card is not due.
    const CardRefList due{deck.Cards()[1].get(), deck.Cards()[2].get(), deck.Cards()[3].get(),
                          deck.Cards()[4].get()};
    EXPECT_EQ(queue, due);
    ParseDeck(deck, 46001, queue);
    EXPECT_EQ(queue.size(), 5u);
}

TEST(ParseDeck, ReplacesThePreviousCards) {
    Deck deck = DeckOf("a,1\r\nb,2\r\n");
    CardRefList queue;
    ParseDeck(deck, 0, queue);
    deck.SetSavedLines(DeckLines::FromFileBytes("c,3\r\n"));
    ParseDeck(deck, 0, queue);
    ASSERT_EQ(deck.Cards().size(), 1u);
    EXPECT_EQ(deck.Cards()[0]->Mondai(), "c");
    EXPECT_TRUE(queue.empty());
}

// Cards and queue as seen from outside: every text, number and queue place.
QByteArray Described(const Deck &deck, const CardRefList &queue) {
    QByteArray out;
    for (const auto &card : deck.Cards()) {
        for (const QByteArrayView text : card->Views())
            out += text.toByteArray() + '|';
        out += QByteArray::number(card->Jikan) + '|' + QByteArray::number(card->Seikai) + '|' +
               QByteArray::number(card->Fuseikai) + '\n';
    }
    std::map<const TMondaiSet *, std::size_t> places;
    for (std::size_t i = 0; i < deck.Cards().size(); ++i)
        places[deck.Cards()[i].get()] = i;
    for (const TMondaiSet *card : queue)
        out += (places.count(card) ? QByteArray::number(places[card]) : "?") + ' ';
    return out;
}

TEST(ParseDeck, ADeckParsedInPartsEqualsOneParse) {
    const QByteArray kinds[] = {"q,a,s,46000,2,1,r",
                                "\"q,1\",a,\"s\",45000,2,3,\"r,x\"",
                                "q,a",
                                "",
                                "no comma",
                                "\"open,a,b,1,2,3,r",
                                "x,y,z,99999999999,,-4,",
                                "\x95\x5c,\"\x83\x5c,\",s,45999,0,0,\x90\xb3"};
    QByteArray file;
    for (int i = 0; i < 3000; ++i)
        file += kinds[(i * 7 + i / 5) % 8] + (i % 11 == 0 ? "\n" : "\r\n");
    for (const QByteArray &bytes : {file, QByteArray("a,1\r\nb,2,,0"), QByteArray()}) {
        Deck one = DeckOf(bytes);
        CardRefList oneQueue;
        ParseDeckInParts(one, 46000, oneQueue, 1);
        ASSERT_EQ(qsizetype(one.Cards().size()), one.SavedLines().Count());
        for (const int parts : {2, 3, 4, 7}) {
            Deck split = DeckOf(bytes);
            CardRefList queue{nullptr};
            ParseDeckInParts(split, 46000, queue, parts);
            EXPECT_EQ(Described(split, queue), Described(one, oneQueue)) << parts << " parts";
        }
    }
}

TEST(RenderDeckLines, WritesSevenFieldsAndPlainNumbers) {
    Deck deck;
    deck.AddCard(std::make_unique<TMondaiSet>("\"a,b\"", "x", "", -7, 0, 2147483647, "\"r\""));
    deck.AddCard(std::make_unique<TMondaiSet>());
    EXPECT_EQ(RenderDeckLines(deck), 0);
    EXPECT_EQ(deck.RenderedLines().Count(), 2);
    EXPECT_EQ(deck.RenderedLines().Bytes(), "\"a,b\",x,,-7,0,2147483647,\"r\"\r\n,,,0,0,0,\r\n");
    EXPECT_EQ(RenderCardLine(*deck.Cards()[1]), ",,,0,0,0,");
    TMondaiSet low("q", "a", "s", -2147483647 - 1, 10, 100, "");
    EXPECT_EQ(RenderCardLine(low), "q,a,s,-2147483648,10,100,");
}

TEST(RenderDeckLines, EmptyDeckLeavesTheLastRenderingAlone) {
    Deck deck = DeckOf("a,b\r\n");
    CardRefList queue;
    ParseDeck(deck, 0, queue);
    ASSERT_EQ(RenderDeckLines(deck), 0);
    deck.ReplaceCards({});
    EXPECT_EQ(RenderDeckLines(deck), 1);
    EXPECT_EQ(deck.RenderedLines().Bytes(), "a,b,,0,0,0,\r\n");
}

TEST(IsDeckChanged, OnlyLinesThatRenderBackIdenticallyAreUnchanged) {
    CardRefList queue;
    for (const char *same : {"q,a,s,1,2,3,r\r\n", "\"q,1\",a,\"s\",-1,0,0,\"r,x\"\r\n",
                             ",,,0,0,0,\r\n", "q,a,s,1,2,3,r\r\nx,y,z,0,0,0,\r\n"}) {
        Deck deck = DeckOf(same);
        ParseDeck(deck, 0, queue);
        EXPECT_FALSE(IsDeckChanged(deck)) << same;
    }
    for (const char *changed : {"q,a,s,+1,2,3,r\r\n", "q,a,s,01,2,3,r\r\n", "q,a,s,1,2,3,r,x\r\n",
                                "\r\n", "q,a\r\n", "q,a,s,1,2,3\r\n", "q,a,s,x,2,3,r\r\n"}) {
        Deck deck = DeckOf(changed);
        ParseDeck(deck, 0, queue);
        EXPECT_TRUE(IsDeckChanged(deck)) << changed;
    }
}

TEST(IsDeckChanged, EditsAndLearningRecordShow) {
    Deck deck = DeckOf("q,a,s,1,2,3,r\r\n");
    CardRefList queue;
    ParseDeck(deck, 0, queue);
    deck.Cards()[0]->Seikai = 3;
    EXPECT_TRUE(IsDeckChanged(deck));
    deck.Cards()[0]->Seikai = 2;
    EXPECT_FALSE(IsDeckChanged(deck));
    deck.AddCard(std::make_unique<TMondaiSet>());
    EXPECT_TRUE(IsDeckChanged(deck));
}

} // namespace
