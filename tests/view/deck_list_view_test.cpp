// The list view's commands on a deck and a drill without the main window: each one that shows a
// card first asks for the list to be shown, then makes the card's row current.
#include "drill/drill_fixture.h"
#include "view/deck_list_view.h"
#include "view/find_bar.h"
#include "view/list_grid.h"

#include <QTest>
#include <QWidget>

#include <functional>

namespace {

class DeckListViewTest : public DrillFixture {
protected:
    DeckListViewTest() {
        window.resize(500, 400);
        column->setGeometry(0, 0, 100, 400);
        panel->setGeometry(100, 0, 400, 360);
        AddDue({"A", "B", "C", "D"});
        Open();
        DeckListView::Window hooks;
        hooks.window = &window;
        hooks.controlColumn = column;
        hooks.showList = [this] { ++listShown; };
        hooks.openMenu = [](QLineEdit *, int, const QPoint &) {};
        view = std::make_unique<DeckListView>(deck, drill, *panel, std::move(hooks), &suppress);
        view->Grid().FillGrid(false);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QWidget window;
    QWidget *column = new QWidget(&window);
    QWidget *panel = new QWidget(&window);
    bool suppress = false;
    int listShown = 0;
    std::unique_ptr<DeckListView> view;
};

TEST_F(DeckListViewTest, ShowingACardAsksForTheListThenMakesItsRowCurrent) {
    struct Case {
        const char *name;
        std::function<void()> show;
        int row; // the current row afterwards (CardList index)
        bool findBarShown;
    };
    const Case cases[] = {
        {"ShowCard", [this] { view->ShowCard(2); }, 2, false},
        {"PointAt", [this] { view->PointAt(deck.Cards()[3].get()); }, 3, false},
        {"OpenFindKeepsTheRow", [this] { view->OpenFind(); }, 3, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        listShown = 0;
        c.show();
        EXPECT_EQ(listShown, 1);
        EXPECT_EQ(view->Grid().currentIndex().row(), c.row);
        EXPECT_EQ(view->Finder().isVisible(), c.findBarShown);
    }
}

} // namespace
