#include "deck/card.h"
#include "deck/deck.h"
#include "deck/sjis_text.h"

#include <gtest/gtest.h>

namespace {

TMondaiSet CardWithQuestion(const QByteArray &q) {
    return TMondaiSet(q, "a", "", 0, 0, 0, "");
}

TEST(SetField, QuotingFollowsCommasAndStaysOnceQuoted) {
    TMondaiSet card = CardWithQuestion("q");
    EXPECT_TRUE(card.SetField(1, "a,b"));
    EXPECT_EQ(card.Mondai(), "\"a,b\"");
    card.SetField(1, "ab");
    EXPECT_EQ(card.Mondai(), "\"ab\"");
    card.SetField(1, "");
    EXPECT_EQ(card.Mondai(), "");
    card.SetField(2, "\"x\"");
    EXPECT_EQ(card.Kaitou(), "\"x\"");
    EXPECT_EQ(DisplayForm(card.Kaitou()), "x");
}

TEST(SetField, UnquotedFieldsAndOtherColumns) {
    TMondaiSet card = CardWithQuestion("q");
    card.SetSankou("s");
    card.SetField(3, "");
    EXPECT_EQ(card.Sankou(), "");
    card.SetField(7, "\x90\xb3\x8c\xeb"); // 正誤
    EXPECT_EQ(card.Rireki(), "\x90\xb3\x8c\xeb");
    const TMondaiSet before = card;
    EXPECT_TRUE(card.SetField(0, "zz"));
    EXPECT_TRUE(card.SetField(8, "zz"));
    EXPECT_EQ(card.Mondai(), before.Mondai());
    EXPECT_EQ(card.Rireki(), before.Rireki());
}

// A question read from ‹"abc,d› opens with a quote it never closes; an edit that gives a later
// field a closing quote before a comma once made the reader swallow the fields between them.
TEST(SetField, AnOpenQuoteReadFromAFileNeverSwallowsLaterFields) {
    struct Case {
        int column;
        QByteArray value;
    };
    const Case cases[] = {{2, "a,b"}, {2, "007\",\"xyz\""}, {3, ","}, {7, ","}, {2, "\"x\""}};
    for (const Case &c : cases) {
        TMondaiSet card("\"abc", "d", "", 0, 0, 0, "");
        card.SetField(c.column, c.value);
        const QByteArray line = RenderCardLine(card);
        EXPECT_EQ(ExtractField(line, 1), card.Mondai()) << line.constData();
        EXPECT_EQ(ExtractField(line, 2), card.Kaitou()) << line.constData();
        EXPECT_EQ(ExtractField(line, 3), card.Sankou()) << line.constData();
        EXPECT_EQ(ExtractField(line, 7), card.Rireki()) << line.constData();
        EXPECT_EQ(DisplayForm(card.Mondai()), "\"abc") << line.constData();
    }
    TMondaiSet harmless("\"abc", "d", "", 0, 0, 0, "");
    harmless.SetField(2, "plain");
    EXPECT_EQ(harmless.Mondai(), "\"abc"); // a line that reads back keeps its bytes

    TMondaiSet marked("\"abc", "\"x,y\"", "", 0, 0, 0, "");
    AddSioriMark(marked);
    RemoveSioriMark(marked);
    EXPECT_EQ(ExtractField(RenderCardLine(marked), 2), marked.Kaitou());
}

TEST(SetField, NumberColumnsRejectWhatIsNotAnInteger) {
    TMondaiSet card = CardWithQuestion("q");
    EXPECT_TRUE(card.SetField(4, "-12"));
    EXPECT_EQ(card.Jikan, -12);
    EXPECT_TRUE(card.SetField(5, "+0007"));
    EXPECT_EQ(card.Seikai, 7);
    EXPECT_TRUE(card.SetField(6, "2147483647"));
    EXPECT_EQ(card.Fuseikai, 2147483647);
    for (const char *bad : {"", "-", "1x", "2147483648", "99999999999999999999", " 1", "1.5"}) {
        EXPECT_FALSE(card.SetField(4, bad)) << bad;
        EXPECT_EQ(card.Jikan, -12) << bad;
    }
    EXPECT_TRUE(card.SetField(4, "-2147483648"));
    EXPECT_EQ(card.Jikan, -2147483647 - 1);
}

TEST(DisplayForm, UnquoteAndLineBreaks) {
    EXPECT_EQ(DisplayForm("\"a\\nb\""), "a\r\nb");
    EXPECT_EQ(DisplayForm("a\\n"), "a\r\n");
    EXPECT_EQ(DisplayForm("\"\""), "");
    EXPECT_EQ(DisplayForm("\""), "\"");
    EXPECT_EQ(Unquote("\"a\"\"b\""), "a\"\"b");
    EXPECT_EQ(DecodeLineBreaks(""), "");
}

TEST(DisplayForm, DoubleByteCharacterEndingInBackslashIsNotAnEscape) {
    // 表 is 0x95 0x5C: followed by 'n' it must stay 表n, not become a line break.
    const QByteArray hyou = "\x95\x5c";
    EXPECT_EQ(DecodeLineBreaks(hyou + "n"), hyou + "n");
    EXPECT_EQ(DecodeLineBreaks(hyou + "\\n" + hyou), hyou + "\r\n" + hyou);
}

TEST(EncodeLineBreaks, EveryKindOfBreak) {
    EXPECT_EQ(EncodeLineBreaks("a\r\n\r\nb"), "a\\n\\nb");
    EXPECT_EQ(EncodeLineBreaks("a\r\n"), "a");
    EXPECT_EQ(EncodeLineBreaks("a\nb"), "a\\nb");
    EXPECT_EQ(EncodeLineBreaks("a\rb\r"), "a\\nb");
    EXPECT_EQ(EncodeLineBreaks(""), "");
    EXPECT_EQ(EncodeLineBreaks("a\\nb"), "a\\nb"); // typed by the user, kept as it is
}

TEST(Bookmark, MarkerGoesInsideOpeningQuote) {
    const QByteArray mark = SioriMark();
    TMondaiSet card = CardWithQuestion("abc");
    AddSioriMark(card);
    EXPECT_EQ(card.Mondai(), mark + "abc");
    card.SetMondai("\"abc\"");
    AddSioriMark(card);
    EXPECT_EQ(card.Mondai(), "\"" + mark + "abc\"");
    card.SetMondai("");
    AddSioriMark(card);
    EXPECT_EQ(card.Mondai(), mark);
    card.SetMondai("\"abc");
    AddSioriMark(card);
    EXPECT_EQ(card.Mondai(), mark + "\"abc");
}

TEST(Bookmark, RemoveTakesOnlyTheFirstMarker) {
    const QByteArray mark = SioriMark();
    TMondaiSet card = CardWithQuestion("x" + mark + "y" + mark);
    EXPECT_FALSE(RemoveSioriMark(card));
    EXPECT_EQ(card.Mondai(), "xy" + mark);
    card.SetMondai("abc");
    EXPECT_TRUE(RemoveSioriMark(card));
    EXPECT_EQ(card.Mondai(), "abc");
}

TEST(Bookmark, MarkerIsFoundOnCharacterBoundariesOnly) {
    // A lead byte right before '[' swallows it: "\x81[" is one character, so no marker starts
    // there.
    const QByteArray mark = SioriMark();
    TMondaiSet card = CardWithQuestion("\x81" + mark);
    EXPECT_FALSE(HasSioriMark(card));
    card.SetMondai("\x81\x40" + mark);
    EXPECT_TRUE(HasSioriMark(card));
}

TEST(SjisText, CutsNeverSplitACharacter) {
    const QByteArray text = "ab\x90\xb3\x8c\xeb"; // ab正誤
    EXPECT_EQ(sjis::LeftBytes(text, 3), "ab");
    EXPECT_EQ(sjis::LeftBytes(text, 4), "ab\x90\xb3");
    EXPECT_EQ(sjis::LeftChars(text, 3), "ab\x90\xb3");
    EXPECT_EQ(sjis::DropFirstChar("\x90\xb3x"), "x");
}

TEST(SjisText, LeadByteWithoutATrailByteStandsAlone) {
    // As the decoder sees it: a lead byte followed by a line end or a quote is one broken
    // character, and the byte after it is itself.
    EXPECT_EQ(sjis::CharLength(QByteArray("\x81\r"), 0), 1);
    EXPECT_EQ(sjis::CharLength(QByteArray("\x81\""), 0), 1);
    EXPECT_EQ(sjis::CharLength(QByteArray("\x81\x7f"), 0), 1);
    EXPECT_EQ(sjis::CharLength(QByteArray("\x81\x40"), 0), 2);
    EXPECT_EQ(sjis::CharLength(QByteArray("\xfc\xfc"), 0), 2);
    EXPECT_EQ(sjis::LeftChars("\x81\"ab", 2), "\x81\"");
    TMondaiSet card = CardWithQuestion("\"x\x81\"");
    AddSioriMark(card);
    EXPECT_EQ(card.Mondai(), "\"" + SioriMark() + "x\x81\"");
}

TEST(DisplayForm, ManyEscapesInOneText) {
    QByteArray stored;
    QByteArray shown;
    for (int i = 0; i < 20000; ++i) {
        stored += "\x95\x5c\\n";
        shown += "\x95\x5c\r\n";
    }
    EXPECT_EQ(DecodeLineBreaks(stored), shown);
    EXPECT_EQ(EncodeLineBreaks(shown), stored.chopped(2));
}

} // namespace
