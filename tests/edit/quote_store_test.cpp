// Quotes typed into card boxes and list cells come back unchanged after a save and a new open.
#include "deck/sjis_codec.h"
#include "edit/store_edit.h"
#include "support/window_fixture.h"
#include "view/card_table_model.h"
#include "view/card_view.h"
#include "view/list_grid.h"

#include <QLineEdit>
#include <QStatusBar>
#include <QTest>

namespace {

class QuoteStore : public WindowTest {
protected:
    TMondaiSet &Card(int i) { return *form->DeckState().Cards()[std::size_t(i)]; }
    // Types ASCII key by key; the rest arrives the way an input method commits it.
    void TypeInto(TMyMemo *memo, const QString &ascii, const QString &committed = {}) {
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(3, 5));
        memo->selectAll();
        QTest::keyClicks(memo, ascii);
        if (!committed.isEmpty())
            memo->insertPlainText(committed);
    }
    QString Status() { return Find<QStatusBar>("StatusBar1")->currentMessage(); }
};

TEST_F(QuoteStore, TypedQuotesSurviveASaveAndANewOpen) {
    const QString path = OpenDeck({QStringLiteral("A,a,\"ref\",39000,2,1,正誤"),
                                   QStringLiteral("B,b,\"idiom\",39000,4,0,誤")});
    // A quote before a comma gets a space, typed key by key; the user is told.
    TMyMemo *question = Memo(KindQuestion, 0);
    TypeInto(question, QStringLiteral("He said \"no\", then"));
    EXPECT_EQ(question->toPlainText(), QStringLiteral("He said \"no\" , then"));
    EXPECT_EQ(question->textCursor().position(), question->toPlainText().size());
    EXPECT_EQ(Status(), QuoteCommaMessage());
    // A text opening with a quote it does not close shows exactly as typed.
    Click("btnSusume");
    TMyMemo *answer = Memo(KindAnswer, 0);
    TypeInto(answer, QStringLiteral("\"break a leg\" "), QStringLiteral("の意味"));
    EXPECT_EQ(answer->toPlainText(), QStringLiteral("\"break a leg\" の意味"));

    // The same in a list cell: the reference of the second card.
    form->ClickPanelPattern(5);
    auto *grid = Find<ListGrid>("GridHyouji");
    Find<QStatusBar>("StatusBar1")->clearMessage();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->Model()->index(1, 3)).center());
    QLineEdit *editor = grid->CellEditor();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("\"x\",y"));
    EXPECT_EQ(editor->text(), QStringLiteral("\"x\" ,y"));
    EXPECT_EQ(Status(), QuoteCommaMessage());

    const QByteArray mondai = Card(0).Mondai();
    const QByteArray kaitou = Card(0).Kaitou();
    const QByteArray sankou = Card(1).Sankou();
    Trigger("men_File_Save");
    ASSERT_EQ(form->OpenDeckFile(path), 0); // no save prompt: nothing changed since
    EXPECT_EQ(Card(0).Mondai(), mondai);
    EXPECT_EQ(Card(0).Kaitou(), kaitou);
    EXPECT_EQ(Card(1).Sankou(), sankou);
    EXPECT_EQ(sjis::ToQString(DisplayForm(Card(0).Mondai())),
              QStringLiteral("He said \"no\" , then"));
    EXPECT_EQ(sjis::ToQString(DisplayForm(Card(0).Kaitou())),
              QStringLiteral("\"break a leg\" の意味"));
    EXPECT_EQ(sjis::ToQString(DisplayForm(Card(1).Sankou())), QStringLiteral("\"x\" ,y"));
    // The rest of both cards is untouched, learning record included.
    EXPECT_EQ(Card(1).Mondai(), QByteArray("B"));
    EXPECT_EQ(Card(0).Sankou(), QByteArray("\"ref\""));
    EXPECT_EQ(Card(0).Seikai, 2);
    EXPECT_EQ(Card(0).Fuseikai, 1);
    EXPECT_EQ(sjis::ToQString(Card(0).Rireki()), QStringLiteral("正誤"));
    EXPECT_EQ(Card(1).Jikan, 39000);
    EXPECT_EQ(Card(1).Seikai, 4);
    EXPECT_EQ(sjis::ToQString(Card(1).Rireki()), QStringLiteral("誤"));
}

} // namespace
