// Number cells of the list view against values beyond 32 bits, with the real message box.
#include "support/keyed_box_prompts.h"
#include "support/window_fixture.h"
#include "ui/prompts.h"
#include "view/card_table_model.h"
#include "view/list_grid.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

namespace {

// The main window with the real message boxes, each closed with Enter.
class NumberCellsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form.reset();
        form = std::make_unique<TForm1>(real, FixedDayClock(TestToday));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        OpenDeck({QStringLiteral("q,a,r,5,6,7,")});
        form->ClickPanelPattern(5);
        grid = Find<ListGrid>("GridHyouji");
    }

    QLineEdit *Edit(int column) {
        QApplication::setActiveWindow(form.get());
        grid->setCurrentIndex(grid->Model()->index(0, column));
        QLineEdit *editor = grid->CellEditor();
        if (editor)
            editor->setFocus();
        return editor;
    }

    const TMondaiSet &Card() const { return *form->DeckState().Cards()[0]; }

    void Menu(const char *item) {
        QLineEdit *editor = grid->CellEditor();
        ASSERT_NE(editor, nullptr) << item;
        QTest::mouseClick(editor, Qt::RightButton, Qt::NoModifier, editor->rect().center());
        auto *menu = Find<QMenu>("PopupMenu1");
        ASSERT_TRUE(menu->isVisible());
        menu->hide();
        Find<QAction>(item)->trigger();
    }

    KeyedBoxPrompts real;
    ListGrid *grid = nullptr;
};

TEST_F(NumberCellsTest, ValuesBeyond32BitsAreRejectedAndTheCardKeepsItsValue) {
    QLineEdit *editor = Edit(4);
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("99999999999"));
    EXPECT_EQ(Card().Jikan, 999999999);
    EXPECT_EQ(editor->text(), QStringLiteral("999999999")); // the kept value is what shows
    QCoreApplication::processEvents();                      // the box opens now and Enter closes it
    ASSERT_EQ(real.asked.size(), 1u); // one message for the rejected keys in a row
    EXPECT_EQ(real.asked[0].icon, PromptIcon::Critical);
    EXPECT_TRUE(real.asked[0].text.contains(QStringLiteral("'9999999999")));

    // The editor takes keys again after the box; this one is rejected too.
    ASSERT_EQ(grid->CellEditor(), editor);
    editor->setFocus();
    QTest::keyClick(editor, Qt::Key_9);
    QCoreApplication::processEvents();
    EXPECT_EQ(real.asked.size(), 2u);
    EXPECT_EQ(Card().Jikan, 999999999);

    // Pasted through the context menu, in every number column; the editor's undo cannot bring
    // the rejected text back.
    QApplication::clipboard()->setText(QStringLiteral("2147483648"));
    for (int column : {4, 5, 6}) {
        ASSERT_NE(Edit(column), nullptr);
        Menu("pop_Paste");
        QCoreApplication::processEvents();
        EXPECT_FALSE(grid->CellEditor()->isUndoAvailable());
    }
    EXPECT_EQ(real.asked.size(), 5u);
    EXPECT_EQ(Card().Jikan, 999999999);
    EXPECT_EQ(Card().Seikai, 6);
    EXPECT_EQ(Card().Fuseikai, 7);
    // The largest value still goes in.
    QApplication::clipboard()->setText(QStringLiteral("2147483647"));
    Edit(6)->selectAll();
    Menu("pop_Paste");
    EXPECT_EQ(Card().Fuseikai, 2147483647);
}

} // namespace
