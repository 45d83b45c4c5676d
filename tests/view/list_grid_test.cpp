#include "deck/sjis_codec.h"
#include "view/card_table_model.h"
#include "view/list_grid.h"

#include <QApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

constexpr qint32 kToday = 40000;

QByteArray Sjis(const char16_t *text) {
    return sjis::FromDisplay(QString::fromUtf16(text)).bytes;
}

// Types text that QTest's key tables do not cover, the way an input method delivers it.
void TypeText(QWidget *widget, const QString &text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
}

std::unique_ptr<TMondaiSet> Card(QByteArray question, qint32 jikan = kToday - 1) {
    return std::make_unique<TMondaiSet>(std::move(question), "a", "r", jikan, 0, 0, "");
}

class ListGridTest : public ::testing::Test {
protected:
    void SetUp() override {
        grid = std::make_unique<ListGrid>(cards);
        grid->SetSources([this] { return current; }, [] { return kToday; }, &suppress);
        grid->resize(500, 400);
    }

    void AddCards(int n) {
        for (int i = 0; i < n; ++i)
            cards.push_back(Card("q" + QByteArray::number(i)));
    }

    void Show() {
        grid->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
    }

    // Opens the cell editor on grid cell (column, row) with the caret at the end of its text.
    QLineEdit *Edit(int column, int row) {
        grid->setCurrentIndex(grid->Model()->index(row - 1, column));
        QLineEdit *editor = grid->CellEditor();
        if (editor) {
            editor->setFocus();
            editor->end(false);
        }
        return editor;
    }

    QString Cell(int column, int row) const {
        return grid->Model()->index(row - 1, column).data().toString();
    }

    CardTableModel::Shade ShadeOfRow(int row) const {
        return static_cast<CardTableModel::Shade>(
            grid->Model()->index(row - 1, 1).data(CardTableModel::ShadeRole).toInt());
    }

    CardOwnerList cards;
    const TMondaiSet *current = nullptr;
    bool suppress = false;
    std::unique_ptr<ListGrid> grid;
};

TEST_F(ListGridTest, ShowsHeaderAndOneRowPerCardOrOneEmptyRow) {
    grid->FillGrid(true);
    EXPECT_EQ(grid->Model()->rowCount(), 1); // the empty deck's blank row
    EXPECT_EQ(Cell(1, 1), QString());
    EXPECT_EQ(Cell(0, 1), QString());
    EXPECT_FALSE(grid->Model()->flags(grid->Model()->index(0, 1)) & Qt::ItemIsEditable);

    AddCards(3);
    grid->FillGrid(true);
    EXPECT_EQ(grid->Model()->rowCount(), 3);
    EXPECT_EQ(Cell(0, 3), QStringLiteral("3"));
    QStringList header;
    for (int c = 0; c < CardTableModel::ColumnCount; ++c)
        header << grid->Model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(header.join(u','), QStringLiteral(",問題,解答,参考,時間,正解,不正解,履歴,"));
    EXPECT_TRUE(grid->isColumnHidden(8));
    EXPECT_EQ(grid->columnWidth(0), 28);
    EXPECT_EQ(grid->rowHeight(0), 18);
}

TEST_F(ListGridTest, CellsShowTheStoredFormsAsTheyAre) {
    cards.push_back(std::make_unique<TMondaiSet>(Sjis(u"\"犬,いぬ\""), "line1\\nline2", "", kToday,
                                                 3, -2, Sjis(u"○×")));
    grid->FillGrid(true);
    EXPECT_EQ(Cell(1, 1), QStringLiteral("\"犬,いぬ\""));
    EXPECT_EQ(Cell(2, 1), QStringLiteral("line1\\nline2"));
    EXPECT_EQ(Cell(4, 1), QString::number(kToday));
    EXPECT_EQ(Cell(6, 1), QStringLiteral("-2"));
    EXPECT_EQ(Cell(7, 1), QStringLiteral("○×"));
    EXPECT_EQ(Cell(8, 1), QString());
}

TEST_F(ListGridTest, RowsAreGreyWhenNotDueAndOrangeForTheCurrentCard) {
    cards.push_back(Card("due", kToday - 1));
    cards.push_back(Card("today", kToday));
    cards.push_back(Card("later", kToday + 5));
    current = cards[2].get();
    grid->FillGrid(true);
    EXPECT_EQ(ShadeOfRow(1), CardTableModel::Shade::Normal);
    EXPECT_EQ(ShadeOfRow(2), CardTableModel::Shade::NotDue);
    EXPECT_EQ(ShadeOfRow(3), CardTableModel::Shade::Current);

    // Moving the current card repaints both rows without reshaping the table.
    QSignalSpy resets(grid->Model(), &QAbstractItemModel::modelReset);
    current = cards[0].get();
    grid->FillGrid(true);
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(ShadeOfRow(1), CardTableModel::Shade::Current);
    EXPECT_EQ(ShadeOfRow(3), CardTableModel::Shade::NotDue);
}

TEST_F(ListGridTest, FillingLeavesNoCellSelectedAndNoEditorOpen) {
    AddCards(3);
    grid->FillGrid(true);
    Show();
    ASSERT_NE(Edit(1, 2), nullptr);
    grid->FillGrid(true);
    EXPECT_EQ(grid->CellEditor(), nullptr);
    EXPECT_FALSE(grid->currentIndex().isValid());
    EXPECT_TRUE(grid->selectionModel()->selectedIndexes().isEmpty());

    // A card added or deleted reshapes the table.
    QSignalSpy resets(grid->Model(), &QAbstractItemModel::modelReset);
    cards.pop_back();
    grid->FillGrid(true);
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(grid->Model()->rowCount(), 2);
}

// Keys as a user types them: each to whatever holds the focus at that moment.
void TypeIntoFocus(const QString &keys) {
    for (const QChar c : keys)
        QTest::keyClick(QApplication::focusWidget(), c.toLatin1());
}

TEST_F(ListGridTest, CommaInAQuestionOrAnswerRefillsAndTypingGoesOn) {
    AddCards(2);
    grid->FillGrid(true);
    Show();
    QLineEdit *editor = Edit(1, 2);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral("x"));
    EXPECT_EQ(cards[1]->Mondai(), "q1x");
    EXPECT_EQ(grid->CellEditor(), editor); // stored as typed: the editor stays

    TypeIntoFocus(QStringLiteral(",yz"));
    EXPECT_EQ(cards[1]->Mondai(), "\"q1x,yz\"");
    EXPECT_EQ(Cell(1, 2), QStringLiteral("\"q1x,yz\""));
    ASSERT_NE(grid->CellEditor(), nullptr);
    EXPECT_EQ(grid->currentIndex(), grid->Model()->index(1, 1));

    // In the middle of an answer: the caret stays right after the comma.
    editor = Edit(2, 1);
    ASSERT_NE(editor, nullptr);
    editor->setCursorPosition(0);
    TypeIntoFocus(QStringLiteral("b,c"));
    EXPECT_EQ(cards[0]->Kaitou(), "\"b,ca\"");
}

TEST_F(ListGridTest, CommaInAReferenceIsStoredQuotedButTheCellKeepsTheTypedText) {
    AddCards(1);
    grid->FillGrid(true);
    Show();
    QLineEdit *editor = Edit(3, 1);
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, QStringLiteral(",s"));
    EXPECT_EQ(cards[0]->Sankou(), "\"r,s\"");
    ASSERT_EQ(grid->CellEditor(), editor);
    EXPECT_EQ(editor->text(), QStringLiteral("r,s"));
}

TEST_F(ListGridTest, NumberCellsIgnoreEmptyTextAndTakeDigitsOnly) {
    AddCards(1);
    cards[0]->Jikan = 345;
    grid->FillGrid(true);
    Show();
    QLineEdit *editor = Edit(4, 1);
    ASSERT_NE(editor, nullptr);
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(cards[0]->Jikan, 34); // digit by digit, each shorter number is written
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Delete);
    EXPECT_EQ(cards[0]->Jikan, 34); // emptied in one step: unchanged

    QTest::keyClicks(editor, QStringLiteral("-a.,"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(editor->text(), QString());
    EXPECT_EQ(grid->CellEditor(), editor);

    QTest::keyClick(editor, Qt::Key_1);
    EXPECT_EQ(cards[0]->Jikan, 1);
    QTest::keyClick(editor, Qt::Key_2);
    EXPECT_EQ(cards[0]->Jikan, 12);
}

TEST_F(ListGridTest, NumberCellsTakeNoTextFromTheInputMethod) {
    AddCards(1);
    cards[0]->Seikai = 7;
    grid->FillGrid(true);
    Show();
    QLineEdit *editor = Edit(5, 1);
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(editor->testAttribute(Qt::WA_InputMethodEnabled));
    QSignalSpy errors(grid.get(), &ListGrid::ConversionFailed);
    QInputMethodEvent composed;
    composed.setCommitString(QStringLiteral("１２"));
    QApplication::sendEvent(editor, &composed);
    EXPECT_EQ(editor->text(), QStringLiteral("7"));
    EXPECT_EQ(errors.count(), 0);
    EXPECT_EQ(cards[0]->Seikai, 7);

    // Text cells keep the input method for Japanese.
    editor = Edit(1, 1);
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(editor->testAttribute(Qt::WA_InputMethodEnabled));
}

TEST_F(ListGridTest, PastedNonNumberIsReportedAndTheCardKeepsItsValue) {
    AddCards(1);
    cards[0]->Seikai = 7;
    grid->FillGrid(true);
    QSignalSpy errors(grid.get(), &ListGrid::ConversionFailed);
    grid->GridHyoujiSetEditText(5, 1, QStringLiteral("1x"));
    EXPECT_EQ(errors.count(), 0); // never from inside the editor's own handling
    ASSERT_TRUE(errors.wait(1000));
    EXPECT_TRUE(errors[0][0].toString().contains(QStringLiteral("'1x'")));
    grid->GridHyoujiSetEditText(5, 1, QStringLiteral("99999999999"));
    ASSERT_TRUE(errors.wait(1000));
    EXPECT_EQ(cards[0]->Seikai, 7);
}

TEST_F(ListGridTest, EditsAreIgnoredWhileSuppressedAndOffTheCards) {
    AddCards(1);
    grid->FillGrid(true);
    suppress = true;
    grid->GridHyoujiSetEditText(1, 1, QStringLiteral("changed"));
    EXPECT_EQ(cards[0]->Mondai(), "q0");
    suppress = false;
    grid->GridHyoujiSetEditText(0, 1, QStringLiteral("9"));
    grid->GridHyoujiSetEditText(1, 0, QStringLiteral("h"));
    grid->GridHyoujiSetEditText(1, 2, QStringLiteral("beyond"));
    EXPECT_EQ(cards[0]->Mondai(), "q0");
    EXPECT_EQ(cards.size(), 1u);
}

TEST_F(ListGridTest, CharactersTheDeckCannotHoldAreDroppedVisibly) {
    AddCards(1);
    grid->FillGrid(true);
    Show();
    QLineEdit *editor = Edit(3, 1);
    ASSERT_NE(editor, nullptr);
    QSignalSpy dropped(grid.get(), &ListGrid::CharactersDropped);
    TypeText(editor, QStringLiteral("😀"));
    TypeText(editor, QStringLiteral("漢"));
    EXPECT_EQ(cards[0]->Sankou(), Sjis(u"r漢"));
    EXPECT_EQ(editor->text(), QStringLiteral("r漢")); // what the card holds is what is shown
    ASSERT_EQ(dropped.count(), 1);                    // told once, when the character was typed
    EXPECT_EQ(dropped[0][0].toString(), QStringLiteral("😀"));
}

TEST_F(ListGridTest, RefillScrollsTheCurrentRowIntoView) {
    AddCards(1000);
    grid->FillGrid(true);
    Show();
    const int v = grid->height() / ListGrid::RowHeight - 4;
    ASSERT_EQ(grid->TopRow(), 1);

    current = cards[99].get(); // row 100, below the view
    grid->FillGrid(true);
    EXPECT_EQ(grid->TopRow(), 100 - v);

    current = cards[9].get(); // row 10, above the view
    grid->FillGrid(true);
    EXPECT_EQ(grid->TopRow(), 10);

    current = cards[12].get(); // inside the view: no scrolling
    grid->FillGrid(true);
    EXPECT_EQ(grid->TopRow(), 10);

    grid->FillGrid(false);
    current = cards[999].get(); // the last card still comes into view
    grid->FillGrid(true);
    const QRect row = grid->visualRect(grid->Model()->index(999, 1));
    EXPECT_TRUE(grid->viewport()->rect().contains(row)) << row.y();
}

TEST_F(ListGridTest, WheelDrivesTheDrillInsteadOfScrolling) {
    AddCards(100);
    grid->FillGrid(true);
    Show();
    QSignalSpy turns(grid.get(), &ListGrid::WheelTurned);
    const QPointF at(50, 50);
    auto turn = [&](int delta, Qt::KeyboardModifiers modifiers) {
        QWheelEvent event(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                          Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &event);
    };
    turn(-120, Qt::NoModifier);
    turn(120, Qt::ControlModifier);
    turn(-60, Qt::NoModifier); // half a notch of a fine-grained wheel does nothing yet
    EXPECT_EQ(turns.count(), 2);
    turn(-60, Qt::NoModifier);
    ASSERT_EQ(turns.count(), 3);
    EXPECT_EQ(turns[0][0].toInt(), -11);
    EXPECT_EQ(turns[1][0].toInt(), 11);
    EXPECT_EQ(turns[1][1].value<Qt::KeyboardModifiers>(), Qt::ControlModifier);
    EXPECT_EQ(turns[2][0].toInt(), -11);
    EXPECT_EQ(grid->verticalScrollBar()->value(), 0);
}

TEST(ListGridColumns, QuestionAndAnswerShareTheWidthAndNeverGoNegative) {
    CardOwnerList cards;
    ListGrid grid(cards);
    EXPECT_EQ(grid.columnWidth(1), 100);
    grid.ResizeColumns(567);
    EXPECT_EQ(grid.columnWidth(1), 86);
    EXPECT_EQ(grid.columnWidth(2), 86);
    grid.ResizeColumns(350); // the smallest window: a floor, and the table scrolls sideways
    EXPECT_EQ(grid.columnWidth(1), 40);
    EXPECT_EQ(grid.columnWidth(2), 40);
}

TEST_F(ListGridTest, RowNumbersFitTheLargestCardNumber) {
    AddCards(2000);
    grid->FillGrid(false);
    const QFontMetrics metrics(grid->font());
    EXPECT_GE(grid->columnWidth(0), metrics.horizontalAdvance(QStringLiteral("2000")) + 2);
    cards.resize(3);
    grid->FillGrid(false);
    EXPECT_EQ(grid->columnWidth(0), 28) << "a small deck keeps the narrow column";
}

TEST_F(ListGridTest, ShrinkingKeepsTheCurrentRowInView) {
    AddCards(200);
    current = cards[39].get();
    grid->FillGrid(true);
    Show();
    auto shown = [this] {
        const QRect row = grid->visualRect(grid->Model()->index(39, 1));
        return grid->viewport()->rect().contains(row);
    };
    ASSERT_TRUE(shown());
    grid->resize(500, 200);
    EXPECT_TRUE(shown());
    grid->resize(500, 120);
    EXPECT_TRUE(shown());
    const int top = grid->TopRow();
    grid->resize(500, 400); // growing leaves the rows where they are
    EXPECT_EQ(grid->TopRow(), top);
    EXPECT_TRUE(shown());
}

} // namespace
