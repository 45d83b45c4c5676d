#include "deck/sjis_codec.h"
#include "edit/store_edit.h"
#include "support/window_fixture.h"
#include "view/card_view.h"

#include <QComboBox>
#include <QStatusBar>
#include <QTest>

namespace {
class Editing : public WindowTest {
protected:
    // Focuses a box and replaces its text the way typing would.
    void Type(TMyMemo *memo, const QString &text) {
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(3, 5));
        QTextCursor cursor = memo->textCursor();
        cursor.select(QTextCursor::Document);
        cursor.insertText(text);
    }
    TMondaiSet &Card(int i) { return *form->DeckState().Cards()[i]; }
};
} // namespace

TEST_F(Editing, TypedTextIsStoredInItsStoredForm) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("\"B\",b,,0,0,0,")});
    Type(Memo(KindQuestion, 0), QStringLiteral("x,y"));
    EXPECT_EQ(Card(0).Mondai(), QByteArray("\"x,y\""));
    Click("btnSusume");
    Type(Memo(KindAnswer, 0), QStringLiteral("line1\nline2"));
    EXPECT_EQ(Card(0).Kaitou(), QByteArray("line1\\nline2"));
    Type(Memo(KindAnswer, 0), QStringLiteral("りんご"));
    EXPECT_EQ(sjis::ToQString(Card(0).Kaitou()), QStringLiteral("りんご"));
}

TEST_F(Editing, RedrawsAreNotEdits) {
    const QString path =
        OpenDeck({QStringLiteral("\"q\",a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,")});
    Click("btnSusume");
    Click("btnSusume");
    Trigger("men_Card_Modoru");
    auto *box = Find<QComboBox>("SelectBox");
    box->setCurrentIndex(4);
    Q_EMIT box->activated(4);
    EXPECT_EQ(Card(0).Mondai(), QByteArray("\"q\""));
    EXPECT_EQ(Card(0).Fuseikai, 1);
    EXPECT_EQ(Card(1).Fuseikai, 0);
}

TEST_F(Editing, SubRowEditsGoToTheCardShownInThatRow) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,"),
              QStringLiteral("C,c,,0,0,0,")});
    auto *box = Find<QComboBox>("SelectBox");
    box->setCurrentIndex(4);
    Q_EMIT box->activated(4);
    ASSERT_EQ(Current(), QStringLiteral("A")); // switching keeps the pass: A in row 1
    Type(Memo(KindQuestion, 3), QStringLiteral("C2"));
    EXPECT_EQ(Card(2).Mondai(), QByteArray("C2"));
    Type(Memo(KindAnswer, 1), QStringLiteral("a2"));
    EXPECT_EQ(Card(0).Kaitou(), QByteArray("a2"));
}

TEST_F(Editing, CharactersShiftJisCannotHoldAreReportedAndLeftOut) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,")});
    TMyMemo *question = Memo(KindQuestion, 0);
    Type(question, QStringLiteral("ab\U0001F600c"));
    EXPECT_EQ(Card(0).Mondai(), QByteArray("abc"));
    EXPECT_EQ(question->toPlainText(), QStringLiteral("abc"));
    EXPECT_EQ(question->textCursor().position(), 3);
    EXPECT_TRUE(
        Find<QStatusBar>("StatusBar1")->currentMessage().contains(QStringLiteral("(U+1F600)")));
}

TEST(UnencodableNames, EachCharacterByCodePointAndGlyphWhereItCanBeDrawn) {
    const auto noEmoji = [](char32_t c) { return c < 0x10000; };
    EXPECT_EQ(NameCharacters(QStringLiteral("é\U0001F600한"), noEmoji),
              QStringLiteral("é (U+00E9)、U+1F600、한 (U+D55C)"));
    // Invisible characters are named by their code point only, whatever the font has.
    EXPECT_EQ(NameCharacters(QStringLiteral("\u200B\u0085"), [](char32_t) { return true; }),
              QStringLiteral("U+200B、U+0085"));
    EXPECT_EQ(UnencodableMessage(QStringLiteral("\U0001F600")).count(QStringLiteral("U+1F600")), 1);
}

TEST_F(Editing, TypingTheMarkerMovesTheBookmark) {
    OpenDeck({QStringLiteral("[しおり]A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,")});
    Drill &drill = form->DrillState();
    ASSERT_EQ(drill.BookmarkCard(), &Card(0));
    Click("btnSusume");
    Click("btnSusume"); // B current
    Type(Memo(KindQuestion, 0), QStringLiteral("[しおり]B"));
    EXPECT_EQ(drill.BookmarkCard(), &Card(1));
    EXPECT_EQ(sjis::ToQString(Card(0).Mondai()), QStringLiteral("A"));
    Type(Memo(KindQuestion, 0), QStringLiteral("B"));
    EXPECT_EQ(drill.BookmarkCard(), nullptr);
}
