// The list view in Panel_Grid.
#include "app/tform1.h"
#include "view/drill_input.h"

#include "edit/card_popup_menu.h"
#include "edit/store_edit.h"
#include "ui/prompts.h"
#include "view/list_grid.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QVBoxLayout>

void TForm1::CreateListView() {
    GridHyouji = new ListGrid(deck_.Cards(), Panel_Grid);
    auto *layout = new QVBoxLayout(Panel_Grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(GridHyouji);
    GridHyouji->SetSources([this] { return drill_.Current(); }, [this] { return drill_.Today(); },
                           &SuppressEdits);
    connect(GridHyouji, &ListGrid::WheelTurned, drillInput_, &DrillInput::WheelStep);
    connect(GridHyouji, &ListGrid::ConversionFailed, this,
            [this](const QString &message) { prompts_.Error(this, message); });
    connect(GridHyouji, &ListGrid::CharactersDropped, this, [this](const QString &characters) {
        StatusBar1->showMessage(UnencodableMessage(characters));
    });
    connect(GridHyouji, &ListGrid::QuoteCommaSeparated, this,
            [this] { StatusBar1->showMessage(QuoteCommaMessage()); });
}

void TForm1::FillGrid(bool scroll) {
    GridHyouji->FillGrid(scroll);
}

void TForm1::ShowCardInList(qsizetype index) {
    if (drill_.DisplayPattern() != PatternList)
        ClickPanelPattern(5);
    GridHyouji->ShowCardRow(int(index));
    raise();
    activateWindow();
}

void TForm1::ResizeListColumns() {
    if (GridHyouji)
        GridHyouji->ResizeColumns(OuterWidth());
}

// Clicks on the header, the row numbers or an empty list never reach the grid; the context menu
// opens only over the cell that holds the editor, and remembers its row.
bool TForm1::ListMouseFilter(QObject *watched, QEvent *event) {
    auto rightOfColumnEdge = [this](const QPoint &global) {
        return mapFromGlobal(global).x() >= Panel_Left->width();
    };
    if (event->type() == QEvent::ContextMenu)
        return rightOfColumnEdge(static_cast<QContextMenuEvent *>(event)->globalPos());
    const auto *mouse = static_cast<QMouseEvent *>(event);
    const QPoint global = mouse->globalPosition().toPoint();
    if (mouse->button() != Qt::LeftButton && mouse->button() != Qt::RightButton)
        return false;
    if (!rightOfColumnEdge(global))
        return false;
    const QHeaderView *header = GridHyouji->horizontalHeader();
    const bool onGrid = watched == GridHyouji || watched == GridHyouji->viewport() ||
                        watched == header || watched == header->viewport();
    const QPoint cell = GridHyouji->CellAt(GridHyouji->mapFromGlobal(global));
    if (onGrid && !(cell.x() > 0 && cell.y() > 0 && !deck_.Cards().empty()))
        return true;
    if (mouse->button() != Qt::RightButton)
        return false;
    if (event->type() != QEvent::MouseButtonRelease)
        return true;
    const QLineEdit *editor = GridHyouji->CellEditor();
    if (editor && !editor->isHidden() && cell.y() > 0 &&
        QRect(editor->mapTo(GridHyouji, QPoint(0, 0)), editor->size()) ==
            GridHyouji->CellRect(cell.x(), cell.y())) {
        PopupRow = cell.y();
        PopupMenu1->OpenOverEditor(GridHyouji->CellEditor(), global);
    }
    return true;
}
