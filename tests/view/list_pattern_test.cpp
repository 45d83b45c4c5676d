#include "app/tform1.h"
#include "edit/card_popup_menu.h"
#include "support/drill_state.h"
#include "ui/prompts.h"
#include "view/card_table_model.h"
#include "view/list_grid.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

constexpr qint32 kToday = 40000;

// Answers every box with its first button and remembers what was shown.
class RecordingPrompts : public Prompts {
public:
    PromptButton Message(QWidget *, const MessageRequest &request) override {
        shown.push_back(request);
        return request.buttons.empty() ? PromptButton::Ok : request.buttons.front();
    }
    QString OpenFileName(QWidget *, const FileRequest &) override { return {}; }
    QString SaveFileName(QWidget *, const FileRequest &) override { return {}; }
    std::optional<QFont> ChooseFont(QWidget *, const QFont &, const QString &) override {
        return std::nullopt;
    }
    std::vector<MessageRequest> shown;
};

class ListPatternTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TForm1>(prompts, [] { return kToday; });
        form->resize(567, 554);
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QApplication::setActiveWindow(form.get());
        grid = form->findChild<ListGrid *>(QStringLiteral("GridHyouji"));
        ASSERT_NE(grid, nullptr);
    }

    void TearDown() override {
        form->DeckState().ReplaceCards({}); // nothing to save
        form->close();
    }

    // Cards numbered from 1; every third one is not due.
    void LoadCards(int n) {
        Deck &deck = form->DeckState();
        Drill &drill = form->DrillState();
        CardRefList due;
        for (int i = 1; i <= n; ++i) {
            const qint32 jikan = i % 3 == 0 ? kToday + 1 : kToday - 1;
            deck.AddCard(std::make_unique<TMondaiSet>("q" + QByteArray::number(i), "a", "", jikan,
                                                      0, 0, ""));
            if (jikan < kToday)
                due.push_back(deck.Cards().back().get());
        }
        drill.TakeDueCards(std::move(due));
        drill.StartNewDeck();
    }

    void ChooseList() {
        form->ClickPanelPattern(5);
        ASSERT_TRUE(grid->isVisible());
    }

    // Centre of grid cell (column, row) in viewport coordinates.
    QPoint CellCentre(int column, int row) const {
        return grid->visualRect(grid->Model()->index(row - 1, column)).center();
    }

    void Click(Qt::MouseButton button, const QPoint &at, QWidget *on = nullptr) {
        QTest::mouseClick(on ? on : grid->viewport(), button, Qt::NoModifier, at);
    }

    RecordingPrompts prompts;
    std::unique_ptr<TForm1> form;
    ListGrid *grid = nullptr;
};

TEST_F(ListPatternTest, ListShowsTheDeckAndFollowsTheDrill) {
    ChooseList();
    LoadCards(300);
    EXPECT_EQ(grid->Model()->rowCount(), 300);
    EXPECT_EQ(grid->columnWidth(1), (form->OuterWidth() - 395) / 2);
    EXPECT_EQ(grid->Model()->CurrentRow(), 0);

    // Jumping to a card far down brings its row into view.
    Drill &drill = form->DrillState();
    TMondaiSet *far = form->DeckState().Cards()[249].get();
    AddSioriMark(*far);
    DrillStateForTests::SetBookmarkCard(drill, far);
    drill.MoveToBookmark();
    EXPECT_EQ(grid->Model()->CurrentRow(), 249);
    const QRect row = grid->visualRect(grid->Model()->index(249, 1));
    EXPECT_TRUE(grid->viewport()->rect().contains(row));
    const int v = grid->height() / ListGrid::RowHeight - 4;
    EXPECT_EQ(grid->TopRow(), 250 - v);

    form->resize(800, 554);
    EXPECT_EQ(grid->columnWidth(2), (form->OuterWidth() - 395) / 2);
}

TEST_F(ListPatternTest, WheelDrivesTheDrillAndNeverScrolls) {
    ChooseList();
    LoadCards(100);
    Drill &drill = form->DrillState();
    const int top = grid->verticalScrollBar()->value();
    auto turn = [&](int delta) {
        const QPointF at = CellCentre(2, 3);
        QWheelEvent event(at, grid->viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta),
                          Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(grid->viewport(), &event);
    };
    turn(-120);
    turn(-120);
    EXPECT_EQ(drill.QueuePos(), 3); // each step down is すすめ
    EXPECT_EQ(grid->Model()->CurrentRow(), drill.QueuePos() + (drill.QueuePos() - 1) / 2 - 1);
    turn(120);
    EXPECT_EQ(drill.QueuePos(), 1); // up goes back to the start
    EXPECT_EQ(grid->verticalScrollBar()->value(), top);

    // A fine-grained wheel or a touchpad sends many small steps: one notch is one すすめ.
    for (int i = 0; i < 8; ++i)
        turn(-15);
    EXPECT_EQ(drill.QueuePos(), 2);
    EXPECT_EQ(form->DeckState().Cards()[0]->Fuseikai, 2); // passed once before, once now
}

TEST_F(ListPatternTest, ClicksOnTheHeaderRowNumbersOrAnEmptyListNeverReachTheGrid) {
    ChooseList();
    Click(Qt::LeftButton, CellCentre(1, 1));
    EXPECT_EQ(grid->CellEditor(), nullptr); // empty list

    ChooseList();
    LoadCards(5);
    Click(Qt::LeftButton, CellCentre(0, 2));
    EXPECT_FALSE(grid->currentIndex().isValid());
    QHeaderView *header = grid->horizontalHeader();
    Click(Qt::LeftButton, QPoint(header->sectionViewportPosition(1) + 5, 5), header->viewport());
    EXPECT_FALSE(grid->currentIndex().isValid());

    Click(Qt::LeftButton, CellCentre(1, 2));
    ASSERT_NE(grid->CellEditor(), nullptr);
    EXPECT_EQ(grid->EditorCell(), QPoint(1, 2));
}

TEST_F(ListPatternTest, ContextMenuOpensOnlyOverTheEditorsCellAndRecordsItsRow) {
    ChooseList();
    LoadCards(5);
    auto *menu = form->findChild<QMenu *>(QStringLiteral("PopupMenu1"));
    ASSERT_NE(menu, nullptr);
    Click(Qt::RightButton, CellCentre(2, 3));
    EXPECT_FALSE(menu->isVisible()); // no editor yet

    Click(Qt::LeftButton, CellCentre(2, 3));
    ASSERT_NE(grid->CellEditor(), nullptr);
    QLineEdit *editor = grid->CellEditor();
    Click(Qt::RightButton, CellCentre(1, 4));
    EXPECT_FALSE(menu->isVisible());
    EXPECT_EQ(form->findChild<CardPopupMenu *>()->ListRow(), -1);
    EXPECT_EQ(grid->CellEditor(), editor); // the dropped click left the editor alone

    ASSERT_NE(editor, nullptr);
    Click(Qt::RightButton, editor->rect().center(), editor);
    EXPECT_TRUE(menu->isVisible());
    EXPECT_EQ(form->findChild<CardPopupMenu *>()->ListRow(), 3);
    menu->hide();
}

TEST_F(ListPatternTest, TypingAndPastingInCellsGoesThroughTheCards) {
    ChooseList();
    LoadCards(3);
    Click(Qt::LeftButton, CellCentre(1, 2));
    QLineEdit *editor = grid->CellEditor();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    QTest::keyClicks(editor, QStringLiteral("xy"));
    EXPECT_EQ(form->DeckState().Cards()[1]->Mondai(), "xy");

    // A pasted non-number in a number cell is reported and the card keeps its value.
    Click(Qt::LeftButton, CellCentre(5, 2));
    editor = grid->CellEditor();
    ASSERT_NE(editor, nullptr);
    editor->setFocus();
    QApplication::clipboard()->setText(QStringLiteral("4a"));
    auto *menu = form->findChild<QMenu *>(QStringLiteral("PopupMenu1"));
    Click(Qt::RightButton, editor->rect().center(), editor);
    ASSERT_TRUE(menu->isVisible());
    QAction *paste = menu->findChild<QAction *>(QStringLiteral("pop_Paste"));
    EXPECT_TRUE(paste->isEnabled());
    menu->hide();
    paste->trigger();
    EXPECT_EQ(form->DeckState().Cards()[1]->Seikai, 0);
    EXPECT_EQ(editor->text(), QStringLiteral("0"));
    QCoreApplication::processEvents(); // the message waits until the paste has finished
    ASSERT_EQ(prompts.shown.size(), 1u);
    EXPECT_EQ(prompts.shown[0].icon, PromptIcon::Critical);
    EXPECT_TRUE(prompts.shown[0].text.contains(QStringLiteral("4a")));
}

} // namespace
