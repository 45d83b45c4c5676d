#pragma once

#include <QObject>

#include <functional>

class Deck;
class Drill;
class FindBar;
class ListGrid;
class QEvent;
class QLineEdit;
class QPoint;
class QWidget;
class TMondaiSet;

// The list view of the whole deck: the table in its panel with the find bar that searches it,
// showing a card's row, and the mouse rules of the table (which open the cell editor's context
// menu).
class DeckListView : public QObject {
    Q_OBJECT
public:
    // What the list needs of the window around it.
    struct Window {
        QWidget *window = nullptr; // raised to show a card; positions are measured in it
        // The control column: the mouse left of its right edge is never the list's.
        const QWidget *controlColumn = nullptr;
        std::function<void()> showList; // switches the view to the list, when it is not shown
        // The context menu over the cell editor of grid row `row`.
        std::function<void(QLineEdit *editor, int row, const QPoint &global)> openMenu;
    };
    // `suppressEdits`: while true, the table shows cards without storing its editor's text.
    DeckListView(const Deck &deck, const Drill &drill, QWidget &panel, Window window,
                 const bool *suppressEdits);

    ListGrid &Grid() { return *grid_; }
    FindBar &Finder() { return *findBar_; }

    // Shows card `index` (CardList) as the current row of the list, ready to edit, and brings
    // the window to the front.
    void ShowCard(qsizetype index);
    // Selects the card's row in the list (its question cell).
    void PointAt(const TMondaiSet *card);
    // 検索: the list is where a card is found and edited, so the other views switch to it.
    void OpenFind();
    // The mouse rules over the table; true when the event is dropped.
    bool FilterMouse(QObject *watched, QEvent *event);

private:
    const Deck &deck_;
    const Drill &drill_;
    Window window_;
    ListGrid *grid_;
    FindBar *findBar_;
};
