// Deleting cards and the bookmark commands, driven through keys, menus and the card boxes.
#include "deck/sjis_codec.h"
#include "edit/card_popup_menu.h"
#include "support/window_fixture.h"
#include "view/card_table_model.h"
#include "view/card_view.h"
#include "view/list_grid.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

namespace {

const QStringList FourCards{QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,"),
                            QStringLiteral("C,c,,0,0,0,"), QStringLiteral("D,d,,0,0,0,")};

class CardCommands : public WindowTest {
protected:
    TMondaiSet &Card(int i) { return *form->DeckState().Cards()[std::size_t(i)]; }
    // The questions of the deck, in order, joined by "|".
    QString Deck() const {
        QStringList names;
        for (const auto &card : form->DeckState().Cards())
            names << sjis::ToQString(card->Mondai());
        return names.join(u'|');
    }
    void Focus(TMyMemo *memo) {
        QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, QPoint(3, 5));
        ASSERT_TRUE(memo->hasFocus());
    }
    void CtrlD() { Key(Qt::Key_D, Qt::ControlModifier); }
    void SubRows(int rows) { form->ClickPanelPattern(rows - 1); }
    // Opens the context menu over a card box the way a right click does, then chooses an item.
    void Choose(TMyMemo *memo, const char *item) {
        Q_EMIT memo->customContextMenuRequested(QPoint(5, 5));
        auto *menu = Find<QMenu>("PopupMenu1");
        ASSERT_TRUE(menu->isVisible());
        menu->hide();
        Find<QAction>(item)->trigger();
    }
};

TEST_F(CardCommands, DeletingInTheOneCardView) {
    const QString path = OpenDeck(FourCards);
    // Nothing focused: the current card goes, the next one is asked.
    CtrlD();
    EXPECT_EQ(Deck(), QStringLiteral("B|C|D"));
    EXPECT_EQ(Current(), QStringLiteral("B"));
    EXPECT_EQ(Text(KindQuestion, 0), QStringLiteral("B"));

    // A card marked done: the pass moves on to the card after it.
    Click("btnSusume");
    Click("btnDekita");
    Trigger("men_Card_Delete");
    EXPECT_EQ(Deck(), QStringLiteral("C|D"));
    EXPECT_EQ(Current(), QStringLiteral("C"));
    EXPECT_FALSE(form->DrillState().AnswerShown());
    EXPECT_EQ(Text(KindAnswer, 0), QString());

    // From the focused question box, which keeps the focus.
    Focus(Memo(KindQuestion, 0));
    CtrlD();
    EXPECT_EQ(Deck(), QStringLiteral("D"));
    EXPECT_TRUE(Memo(KindQuestion, 0)->hasFocus());

    // The last card: both lists empty, the boxes empty, nothing asked.
    Choose(Memo(KindQuestion, 0), "pop_Sakujo");
    EXPECT_TRUE(Deck().isEmpty());
    EXPECT_TRUE(form->DrillState().Queue().empty());
    EXPECT_EQ(Text(KindQuestion, 0), QString());
    CtrlD(); // nothing left to delete
    EXPECT_TRUE(prompts.asked.empty());
    // The file itself is untouched until the user saves.
    EXPECT_EQ(ReadDeck(path), FourCards);
}

TEST_F(CardCommands, DeletingInTheSubViewNeedsABox) {
    OpenDeck(FourCards);
    SubRows(3);
    ASSERT_EQ(Text(KindQuestion, 1), QStringLiteral("A"));
    // No box focused: the user is asked to point at a card, nothing is deleted.
    form->ParkFocus();
    prompts.Answer(PromptButton::Ok);
    CtrlD();
    ASSERT_EQ(prompts.asked.size(), 1u);
    const MessageRequest &asked = prompts.asked[0];
    EXPECT_EQ(asked.title, QStringLiteral("確認"));
    EXPECT_EQ(asked.icon, PromptIcon::Question);
    EXPECT_EQ(asked.text, QStringLiteral("先に、削除するｶｰﾄﾞにｶｰｿﾙを\n置いてください。"));
    EXPECT_EQ(asked.buttons, std::vector<PromptButton>{PromptButton::Ok});
    EXPECT_EQ(form->DeckState().Cards().size(), 4u);

    // Row 1 holds the first card of the pass: the row is left empty, the rows below keep theirs.
    Focus(Memo(KindQuestion, 1));
    CtrlD();
    EXPECT_EQ(Deck(), QStringLiteral("B|C|D"));
    EXPECT_EQ(form->DrillState().QueuePos(), 0);
    EXPECT_EQ(Text(KindQuestion, 1), QString());
    EXPECT_EQ(Text(KindQuestion, 2), QStringLiteral("B"));
    EXPECT_EQ(Text(KindQuestion, 3), QStringLiteral("C"));

    // A lower row through the context menu: the rows below move up.
    Choose(Memo(KindQuestion, 2), "pop_Sakujo");
    EXPECT_EQ(Deck(), QStringLiteral("C|D"));
    EXPECT_EQ(Text(KindQuestion, 2), QStringLiteral("C"));
    EXPECT_EQ(Text(KindQuestion, 3), QStringLiteral("D"));

    // Row 1 without a card deletes nothing.
    Choose(Memo(KindQuestion, 1), "pop_Sakujo");
    EXPECT_EQ(form->DeckState().Cards().size(), 2u);
}

TEST_F(CardCommands, DeletingARowOfTheSubViewKeepsTheDoneMark) {
    OpenDeck(FourCards);
    SubRows(3);
    Click("btnDekita"); // A right: it rests, and the next すすめ must not mark it wrong
    Choose(Memo(KindQuestion, 2), "pop_Sakujo");
    EXPECT_TRUE(form->DrillState().DoneFlag());
    Click("btnSusume");
    EXPECT_EQ(Card(0).Fuseikai, 0);
    EXPECT_EQ(Card(0).Seikai, 1);
}

TEST_F(CardCommands, DeletingInTheList) {
    OpenDeck(FourCards);
    Click("btnSusume");
    Click("btnSusume"); // B current
    form->ClickPanelPattern(5);
    auto *grid = Find<ListGrid>("GridHyouji");
    // The context menu deletes the card of its row; the drill takes its card from the pass.
    const QPoint cell = grid->visualRect(grid->Model()->index(3, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QLineEdit *editor = grid->CellEditor();
    ASSERT_NE(editor, nullptr);
    QTest::mouseClick(editor, Qt::RightButton, {}, editor->rect().center());
    ASSERT_EQ(form->findChild<CardPopupMenu *>()->ListRow(), 4);
    Find<QMenu>("PopupMenu1")->hide();
    Trigger("pop_Sakujo");
    EXPECT_EQ(Deck(), QStringLiteral("A|B|C"));
    EXPECT_EQ(Current(), QStringLiteral("B"));
    EXPECT_EQ(grid->Model()->rowCount(), 3);
    // The menu command without a row deletes the highlighted current card.
    Trigger("men_Card_Delete");
    EXPECT_EQ(Deck(), QStringLiteral("A|C"));
    EXPECT_EQ(form->findChild<CardPopupMenu *>()->ListRow(), -1);
    EXPECT_EQ(Current(), QStringLiteral("A"));
    // With the caret in a cell, Ctrl+D deletes that row's card, not the highlighted one.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualRect(grid->Model()->index(1, 2)).center());
    ASSERT_NE(grid->CellEditor(), nullptr);
    grid->CellEditor()->setFocus();
    CtrlD();
    EXPECT_EQ(Deck(), QStringLiteral("A"));
}

TEST_F(CardCommands, BookmarkFromABoxKeepsTheCaretAndSurvivesASave) {
    const QString path =
        OpenDeck({QStringLiteral("apple,a,,0,0,0,"), QStringLiteral("pear,p,,0,0,0,"),
                  QStringLiteral("plum,u,,0,0,0,")});
    TMyMemo *question = Memo(KindQuestion, 0);
    Focus(question);
    QTextCursor cursor = question->textCursor();
    cursor.setPosition(3);
    question->setTextCursor(cursor);
    Choose(question, "pop_SetSiori");
    EXPECT_EQ(sjis::ToQString(Card(0).Mondai()), QStringLiteral("[しおり]apple"));
    EXPECT_EQ(question->toPlainText(), QStringLiteral("[しおり]apple"));
    EXPECT_EQ(question->textCursor().position(), 8) << "still after app";
    // Setting it again on the same card keeps one marker and the caret where it is.
    Choose(question, "pop_SetSiori");
    EXPECT_EQ(sjis::ToQString(Card(0).Mondai()), QStringLiteral("[しおり]apple"));
    EXPECT_EQ(question->textCursor().position(), 8);

    // From the answer box: the answer and its caret stay as they were.
    SubRows(3);
    TMyMemo *answer = Memo(KindAnswer, 1);
    Focus(answer);
    answer->moveCursor(QTextCursor::End);
    Choose(answer, "pop_SetSiori");
    EXPECT_EQ(answer->toPlainText(), QStringLiteral("a"));
    EXPECT_EQ(answer->textCursor().position(), 1);
    EXPECT_EQ(Deck(), QStringLiteral("[しおり]apple|pear|plum"));

    // A second card takes the bookmark from the first.
    TMyMemo *pear = Memo(KindQuestion, 2);
    Focus(pear);
    pear->moveCursor(QTextCursor::End);
    Choose(pear, "pop_SetSiori");
    EXPECT_EQ(form->DrillState().BookmarkCard(), &Card(1));
    EXPECT_EQ(Deck(), QStringLiteral("apple|[しおり]pear|plum"));
    EXPECT_EQ(pear->textCursor().position(), 9);

    Trigger("men_File_Save");
    EXPECT_EQ(ReadDeck(path).join(u'|'),
              QStringLiteral("apple,a,,0,0,0,|[しおり]pear,p,,0,0,0,|plum,u,,0,0,0,"));
    ASSERT_EQ(form->OpenDeckFile(path), 0);
    EXPECT_EQ(form->DrillState().BookmarkCard(), &Card(1));

    // Clearing it takes the marker out.
    Choose(Memo(KindQuestion, 1), "pop_DelSiori");
    EXPECT_EQ(form->DrillState().BookmarkCard(), nullptr);
    EXPECT_EQ(Deck(), QStringLiteral("apple|pear|plum"));
}

TEST_F(CardCommands, JumpingToTheBookmarkMarksNothingWrong) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("[しおり]B,b,,0,0,0,x"),
              QStringLiteral("C,c,,0,0,0,")});
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Current(), QStringLiteral("[しおり]B"));
    EXPECT_EQ(Text(KindAnswer, 0), QStringLiteral("b")) << "shown with its answer";
    Click("btnSusume");
    EXPECT_EQ(Current(), QStringLiteral("C"));
    EXPECT_EQ(Card(1).Fuseikai, 0);
    EXPECT_EQ(Card(1).Rireki(), QByteArray("x"));

    // The same through the context menu, from the last card.
    Choose(Memo(KindQuestion, 0), "pop_MoveSiori");
    EXPECT_EQ(Current(), QStringLiteral("[しおり]B"));
    EXPECT_TRUE(form->DrillState().AnswerShown());
}

TEST_F(CardCommands, EditsOfAnyFieldApplyTheMarkerRule) {
    // Two due cards carry the marker: the first holds the bookmark, the second keeps it as text.
    OpenDeck({QStringLiteral("[しおり]A,a,,0,0,0,"), QStringLiteral("[しおり]B,b,,0,0,0,")});
    ASSERT_EQ(form->DrillState().BookmarkCard(), &Card(0));
    Click("btnSusume");
    Click("btnSusume"); // the bookmarked A passes without a mark, B is asked
    Click("btnSusume");
    // An edit of B's answer moves the bookmark to B and takes A's marker out.
    TMyMemo *answer = Memo(KindAnswer, 0);
    Focus(answer);
    answer->moveCursor(QTextCursor::End);
    QTest::keyClicks(answer, QStringLiteral("2"));
    EXPECT_EQ(form->DrillState().BookmarkCard(), &Card(1));
    EXPECT_EQ(sjis::ToQString(Card(0).Mondai()), QStringLiteral("A"));
    EXPECT_EQ(Card(1).Kaitou(), QByteArray("b2"));
    EXPECT_EQ(Text(KindAnswer, 0), QStringLiteral("b2"));

    // Deleting the marker by hand ends the bookmark.
    TMyMemo *question = Memo(KindQuestion, 0);
    Focus(question);
    QTextCursor cursor = question->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    question->setTextCursor(cursor);
    QTest::keyClick(question, Qt::Key_Delete);
    EXPECT_EQ(Card(1).Mondai(), QByteArray("B"));
    EXPECT_EQ(form->DrillState().BookmarkCard(), nullptr);
    // The menu then offers nothing to move to or clear.
    Q_EMIT question->customContextMenuRequested(QPoint(5, 5));
    EXPECT_FALSE(Find<QAction>("pop_MoveSiori")->isEnabled());
    EXPECT_FALSE(Find<QAction>("pop_DelSiori")->isEnabled());
    Find<QMenu>("PopupMenu1")->hide();
}

TEST_F(CardCommands, BookmarkFromTheListFillsTheEditorWithTheStoredQuestion) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("\"B,1\",b,,0,0,0,"),
              QStringLiteral("C,c,,0,0,0,")});
    form->ClickPanelPattern(5);
    auto *grid = Find<ListGrid>("GridHyouji");
    const QPoint cell = grid->visualRect(grid->Model()->index(1, 1)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QLineEdit *editor = grid->CellEditor();
    ASSERT_NE(editor, nullptr);
    QTest::mouseClick(editor, Qt::RightButton, {}, editor->rect().center());
    Find<QMenu>("PopupMenu1")->hide();
    Trigger("pop_SetSiori");
    EXPECT_EQ(sjis::ToQString(Card(1).Mondai()), QStringLiteral("\"[しおり]B,1\""));
    EXPECT_EQ(form->DrillState().BookmarkCard(), &Card(1));
    editor = grid->CellEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(grid->EditorCell(), QPoint(1, 2));
    EXPECT_EQ(editor->text(), QStringLiteral("\"[しおり]B,1\""));
    EXPECT_EQ(sjis::ToQString(Card(0).Mondai()), QStringLiteral("A")) << "no other card changed";
}

} // namespace
