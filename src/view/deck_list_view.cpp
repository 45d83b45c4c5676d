#include "view/deck_list_view.h"

#include "drill/drill.h"
#include "view/card_table_model.h"
#include "view/find_bar.h"
#include "view/list_grid.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QVBoxLayout>

DeckListView::DeckListView(const Deck &deck, const Drill &drill, QWidget &panel, Window window,
                           const bool *suppressEdits)
    : QObject(&panel), deck_(deck), drill_(drill), window_(std::move(window)),
      grid_(new ListGrid(deck.Cards(), &panel)) {
    auto *layout = new QVBoxLayout(&panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(grid_);
    grid_->SetSources([this] { return drill_.Current(); }, [this] { return drill_.Today(); },
                      suppressEdits);
    findBar_ = new FindBar(deck.Cards(), grid_, window_.window);
}

void DeckListView::ShowCard(qsizetype index) {
    window_.showList();
    grid_->ShowCardRow(int(index));
    window_.window->raise();
    window_.window->activateWindow();
}

void DeckListView::PointAt(const TMondaiSet *card) {
    window_.showList();
    const QModelIndex cell = grid_->Model()->index(int(drill_.CardNumber(card) - 1), 1);
    grid_->setCurrentIndex(cell);
    grid_->scrollTo(cell);
}

void DeckListView::OpenFind() {
    QWidget *focused = window_.window->focusWidget();
    window_.showList();
    findBar_->Open(focused);
}

// Clicks on the header, the row numbers or an empty list never reach the grid; the context menu
// opens only over the cell that holds the editor, and remembers its row.
bool DeckListView::FilterMouse(QObject *watched, QEvent *event) {
    auto rightOfColumnEdge = [this](const QPoint &global) {
        return window_.window->mapFromGlobal(global).x() >= window_.controlColumn->width();
    };
    if (event->type() == QEvent::ContextMenu)
        return rightOfColumnEdge(static_cast<QContextMenuEvent *>(event)->globalPos());
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    if (mouse->button() != Qt::LeftButton && mouse->button() != Qt::RightButton)
        return false;
    if (!rightOfColumnEdge(global))
        return false;
    const QHeaderView *header = grid_->horizontalHeader();
    const bool onGrid = watched == grid_ || watched == grid_->viewport() || watched == header ||
                        watched == header->viewport();
    const QPoint cell = grid_->CellAt(grid_->mapFromGlobal(global));
    if (onGrid && !(cell.x() > 0 && cell.y() > 0 && !deck_.Cards().empty()))
        return true;
    if (mouse->button() != Qt::RightButton)
        return false;
    if (event->type() != QEvent::MouseButtonRelease)
        return true;
    QLineEdit *editor = grid_->CellEditor();
    if (editor && !editor->isHidden() && cell.y() > 0 &&
        QRect(editor->mapTo(grid_, QPoint(0, 0)), editor->size()) ==
            grid_->CellRect(cell.x(), cell.y()))
        window_.openMenu(editor, cell.y(), global);
    return true;
}
