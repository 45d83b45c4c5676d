// The list view in Panel_Grid.
#include "app/tform1.h"

#include "app/prompts.h"
#include "edit/store_edit.h"
#include "view/list_grid.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QStatusBar>
#include <QVBoxLayout>

void TForm1::CreateListView() {
    GridHyouji = new ListGrid(deck_.CardList, Panel_Grid);
    auto *layout = new QVBoxLayout(Panel_Grid);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(GridHyouji);
    GridHyouji->SetSources([this] { return drill_.CurrentCard; }, [this] { return drill_.Today(); },
                           &SuppressEdits);
    connect(GridHyouji, &ListGrid::WheelTurned, this, &TForm1::FormMouseWheel);
    connect(GridHyouji, &ListGrid::ConversionFailed, this,
            [this](const QString &message) { prompts_.Error(this, message); });
    connect(GridHyouji, &ListGrid::CharactersDropped, this, [this](const QString &characters) {
        StatusBar1->showMessage(UnencodableMessage(characters));
    });
    connect(GridHyouji, &ListGrid::QuoteCommaSeparated, this,
            [this] { StatusBar1->showMessage(QuoteCommaMessage()); });
    ConnectListPopup();
}

void TForm1::FillGrid(bool scroll) {
    GridHyouji->FillGrid(scroll);
}

void TForm1::ResizeListColumns() {
    if (GridHyouji)
        GridHyouji->ResizeColumns(OuterWidth());
}

// In the list the context menu's edit items work on the cell editor it was opened over.
void TForm1::ConnectListPopup() {
    auto action = [this](const char *name) {
        return PopupMenu1->findChild<QAction *>(QLatin1String(name));
    };
    auto onEditor = [this](auto operation) {
        return [this, operation] {
            QLineEdit *editor = GridHyouji->CellEditor();
            if (!popupMemo_ && drill_.DisplayPattern == PatternList && editor)
                (editor->*operation)();
        };
    };
    QAction *undo = action("pop_Undo");
    QAction *cut = action("pop_Cut");
    QAction *copy = action("pop_Copy");
    QAction *paste = action("pop_Paste");
    connect(undo, &QAction::triggered, this, onEditor(&QLineEdit::undo));
    connect(cut, &QAction::triggered, this, onEditor(&QLineEdit::cut));
    connect(copy, &QAction::triggered, this, onEditor(&QLineEdit::copy));
    connect(paste, &QAction::triggered, this, onEditor(&QLineEdit::paste));
    connect(PopupMenu1, &QMenu::aboutToShow, this, [this, action, undo, cut, copy, paste] {
        if (popupMemo_ || drill_.DisplayPattern != PatternList)
            return;
        QLineEdit *editor = GridHyouji->CellEditor();
        const bool focused = editor && editor->hasFocus();
        cut->setEnabled(focused && editor->hasSelectedText());
        copy->setEnabled(focused && editor->hasSelectedText());
        paste->setEnabled(focused);
        undo->setEnabled(editor && editor->isUndoAvailable());
        action("pop_MoveSiori")->setEnabled(drill_.BookmarkCard != nullptr);
        action("pop_DelSiori")->setEnabled(drill_.BookmarkCard != nullptr);
    });
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
    if (onGrid && !(cell.x() > 0 && cell.y() > 0 && !deck_.CardList.empty()))
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
        popupMemo_ = nullptr;
        PopupMenu1->popup(global);
    }
    return true;
}
