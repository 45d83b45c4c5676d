#include "deck/sjis_codec.h"
#include "edit/card_popup_menu.h"
#include "support/drill_state.h"
#include "support/window_fixture.h"
#include "view/card_table_model.h"
#include "view/card_view.h"
#include "view/list_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

namespace {

// The enabled state of the named items, as "name" for enabled and "-name" for disabled.
QStringList Enabling(const QMenu *menu, std::initializer_list<const char *> names) {
    QStringList states;
    for (const char *name : names) {
        const QAction *action = menu->findChild<QAction *>(QLatin1String(name));
        states << (action && action->isEnabled() ? QString() : QStringLiteral("-")) +
                      QLatin1String(name);
    }
    return states;
}

QStringList Expected(std::initializer_list<const char *> states) {
    QStringList list;
    for (const char *state : states)
        list << QLatin1String(state);
    return list;
}

class CardMenus : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        QApplication::clipboard()->clear();
    }
    QMenu *CardMenu() const { return Find<QMenu>("men_Card"); }
    QMenu *Popup() const { return Find<QMenu>("PopupMenu1"); }

    // The card menu's items as its opening leaves them.
    QStringList OpenCardMenu() {
        Q_EMIT CardMenu()->aboutToShow();
        QStringList states = Enabling(CardMenu(), {"men_Card_Insert", "men_Card_Delete"});
        Q_EMIT CardMenu()->aboutToHide();
        return states;
    }
    // Right-clicks a card text box; the menu stays open until Close().
    void OpenPopupOn(TMyMemo *memo) {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                                memo->viewport()->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(memo->viewport(), &event);
        ASSERT_TRUE(Popup()->isVisible());
    }
    QStringList EditItems() const {
        return Enabling(Popup(), {"pop_Undo", "pop_Cut", "pop_Copy", "pop_Paste"});
    }
    QStringList OtherItems() const {
        return Enabling(
            Popup(), {"pop_Tuika", "pop_Sakujo", "pop_SetSiori", "pop_MoveSiori", "pop_DelSiori"});
    }
    // Chooses an item of the open menu.
    void Choose(const char *name) {
        Popup()->hide();
        Popup()->findChild<QAction *>(QLatin1String(name))->trigger();
    }
    TMondaiSet &Card(int i) { return *form->DeckState().Cards()[i]; }
};

TEST_F(CardMenus, CardMenuFollowsTheDrillAtEveryOpening) {
    EXPECT_EQ(OpenCardMenu(), Expected({"-men_Card_Insert", "-men_Card_Delete"})); // no deck
    // The keys are not held back by what the menu showed when it was last open.
    EXPECT_TRUE(Find<QAction>("men_Card_Insert")->isEnabled());

    OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,")});
    EXPECT_EQ(OpenCardMenu(), Expected({"men_Card_Insert", "men_Card_Delete"}));

    Drill &drill = form->DrillState();
    DrillStateForTests::SetCurrent(drill, nullptr); // the main view without a card
    EXPECT_EQ(OpenCardMenu(), Expected({"men_Card_Insert", "-men_Card_Delete"}));

    form->ClickPanelPattern(2); // sub view of three rows
    DrillStateForTests::SetQueuePos(drill, int(drill.Queue().size()) - 1);
    EXPECT_EQ(OpenCardMenu(), Expected({"men_Card_Insert", "men_Card_Delete"}));
    DrillStateForTests::SetQueuePos(drill, int(drill.Queue().size()));
    EXPECT_EQ(OpenCardMenu(), Expected({"men_Card_Insert", "-men_Card_Delete"}));

    form->ClickPanelPattern(5);
    DrillStateForTests::SetCurrent(drill, nullptr);
    EXPECT_EQ(OpenCardMenu(), Expected({"men_Card_Insert", "men_Card_Delete"}));
}

TEST_F(CardMenus, NothingLeftToAskDisablesBothCardCommands) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,99999,0,0,")});
    Click("btnSusume");
    Click("btnDekita");
    ASSERT_TRUE(Queue().isEmpty());
    EXPECT_EQ(OpenCardMenu(), Expected({"-men_Card_Insert", "-men_Card_Delete"}));
}

TEST_F(CardMenus, PopupOverACardBoxFollowsThatBox) {
    OpenDeck({QStringLiteral("apple,a,,0,0,0,")});
    TMyMemo *question = Memo(KindQuestion, 0);
    OpenPopupOn(question);
    EXPECT_EQ(EditItems(), Expected({"-pop_Undo", "-pop_Cut", "-pop_Copy", "-pop_Paste"}));
    EXPECT_EQ(OtherItems(), Expected({"pop_Tuika", "pop_Sakujo", "pop_SetSiori", "-pop_MoveSiori",
                                      "-pop_DelSiori"}));
    Popup()->hide();

    // Cut and undo act on the box and are stored like typing.
    SelectWholeText(question);
    QTextCursor cursor = question->textCursor();
    cursor.setPosition(3, QTextCursor::KeepAnchor); // "app"
    question->setTextCursor(cursor);
    OpenPopupOn(question);
    EXPECT_EQ(EditItems(), Expected({"-pop_Undo", "pop_Cut", "pop_Copy", "-pop_Paste"}));
    Choose("pop_Cut");
    EXPECT_EQ(Card(0).Mondai(), QByteArray("le"));
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("app"));

    OpenPopupOn(question);
    EXPECT_EQ(EditItems(), Expected({"pop_Undo", "-pop_Cut", "-pop_Copy", "pop_Paste"}));
    Choose("pop_Undo");
    EXPECT_EQ(Card(0).Mondai(), QByteArray("apple"));

    QApplication::clipboard()->setText(QStringLiteral("x,y"));
    cursor = question->textCursor();
    cursor.movePosition(QTextCursor::End);
    question->setTextCursor(cursor);
    OpenPopupOn(question);
    Choose("pop_Paste");
    EXPECT_EQ(Card(0).Mondai(), QByteArray("\"applex,y\""));
}

TEST_F(CardMenus, PopupOffersTheBookmarkItemsOnlyWithABookmark) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("[しおり]B,b,,0,0,0,")});
    OpenPopupOn(Memo(KindQuestion, 0));
    EXPECT_EQ(OtherItems(), Expected({"pop_Tuika", "pop_Sakujo", "pop_SetSiori", "pop_MoveSiori",
                                      "pop_DelSiori"}));
    Popup()->hide();
}

TEST_F(CardMenus, PopupOverTheListEditorFollowsTheEditor) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,")});
    form->ClickPanelPattern(5);
    auto *grid = Find<ListGrid>("GridHyouji");
    const QPoint cell = grid->visualRect(grid->Model()->index(1, 2)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell);
    QLineEdit *editor = grid->CellEditor();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    editor->deselect();
    auto openOnEditor = [&] {
        QTest::mouseClick(editor, Qt::RightButton, {}, editor->rect().center());
        ASSERT_TRUE(Popup()->isVisible());
    };

    // The clipboard is not asked: a focused editor can always take a paste.
    openOnEditor();
    EXPECT_EQ(form->findChild<CardPopupMenu *>()->ListRow(), 2);
    EXPECT_EQ(EditItems(), Expected({"-pop_Undo", "-pop_Cut", "-pop_Copy", "pop_Paste"}));
    Popup()->hide();

    editor->selectAll();
    openOnEditor();
    EXPECT_EQ(EditItems(), Expected({"-pop_Undo", "pop_Cut", "pop_Copy", "pop_Paste"}));
    Choose("pop_Cut");
    EXPECT_EQ(Card(1).Kaitou(), QByteArray());

    openOnEditor();
    EXPECT_EQ(EditItems(), Expected({"pop_Undo", "-pop_Cut", "-pop_Copy", "pop_Paste"}));
    Choose("pop_Undo");
    EXPECT_EQ(Card(1).Kaitou(), QByteArray("b"));
}

} // namespace
