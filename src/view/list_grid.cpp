#include "view/list_grid.h"

#include "deck/sjis_codec.h"
#include "view/card_table_model.h"
#include "view/grid_delegate.h"

#include <QHeaderView>
#include <QLayout>
#include <QLineEdit>
#include <QScrollBar>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace {

constexpr int kFixedColumnsWidth = 395;
constexpr int kTextColumnFloor = 40; // below this the table scrolls sideways instead
constexpr int kNumberColumnWidth = 28;
constexpr int kNumberMargin = 6;  // the text offset on the left and some air on the right
constexpr int kRowsKeptClear = 4; // rows the scroll rule keeps between the current row and the edge

struct ColumnWidth {
    int column;
    int width;
};
constexpr ColumnWidth kColumnWidths[] = {{0, 28}, {1, 100}, {2, 100}, {3, 55},
                                         {4, 42}, {5, 33},  {6, 40},  {7, 55}};

} // namespace

ListGrid::ListGrid(const CardOwnerList &cards, QWidget *parent)
    : QTableView(parent), model_(new CardTableModel(cards, this)),
      delegate_(new GridDelegate(this, [this](int column, int row, const QString &text) {
          GridHyoujiSetEditText(column, row, text);
      })) {
    setObjectName(QStringLiteral("GridHyouji"));
    setModel(model_);
    setItemDelegate(delegate_);

    QHeaderView *rows = verticalHeader();
    rows->hide();
    rows->setMinimumSectionSize(0);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(RowHeight);

    QHeaderView *columns = horizontalHeader();
    columns->setMinimumSectionSize(0);
    columns->setSectionResizeMode(QHeaderView::Fixed);
    columns->setSectionsClickable(false);
    columns->setHighlightSections(false);
    columns->setFixedHeight(RowHeight);
    for (const ColumnWidth &c : kColumnWidths)
        setColumnWidth(c.column, c.width);
    setColumnHidden(CardTableModel::HiddenColumn, true);

    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // The cell editor opens as soon as a cell becomes current, as in a spreadsheet.
    setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::AllEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setAutoScroll(false);
    setTabKeyNavigation(false);
    // Only the cell editor ever holds the focus: the grid is never reached with Tab, and a
    // click the window's mouse rules drop does not take the focus from the editor either.
    setFocusPolicy(Qt::NoFocus);
}

void ListGrid::SetSources(std::function<const TMondaiSet *()> currentCard, DayClock today,
                          const bool *suppressEdits) {
    currentCard_ = std::move(currentCard);
    today_ = std::move(today);
    suppressEdits_ = suppressEdits;
}

void ListGrid::FillGrid(bool scroll) {
    CloseCellEditor();
    model_->Refresh(currentCard_ ? currentCard_() : nullptr, today_ ? today_() : 0);
    FitNumberColumn();
    selectionModel()->clearSelection();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
    if (scroll)
        ScrollToCurrent();
}

void ListGrid::ShowCardRow(int cardIndex) {
    if (cardIndex < 0 || cardIndex >= model_->rowCount())
        return;
    SettleGeometry();
    const QModelIndex cell = model_->index(cardIndex, 1);
    scrollTo(cell, QAbstractItemView::PositionAtCenter);
    selectionModel()->setCurrentIndex(cell, QItemSelectionModel::ClearAndSelect);
    if (QLineEdit *editor = CellEditor())
        editor->setFocus();
}

void ListGrid::EditCell(int column, int row) {
    if (row < 1 || row > model_->CardCount())
        return;
    const QModelIndex cell = model_->index(row - 1, std::max(1, column));
    if (currentIndex() != cell)
        setCurrentIndex(cell);
    else if (state() != QAbstractItemView::EditingState)
        edit(cell);
    scrollTo(cell, QAbstractItemView::EnsureVisible);
    if (QLineEdit *editor = CellEditor())
        editor->setFocus(Qt::OtherFocusReason);
}

void ListGrid::ScrollToCurrent() {
    if (model_->CurrentRow() < 0)
        return;
    SettleGeometry();
    ApplyScrollRule();
}

void ListGrid::ApplyScrollRule() {
    const int k = model_->CurrentRow() + 1;
    if (k <= 0)
        return;
    const int v = std::max(1, height() / RowHeight - kRowsKeptClear);
    const int top = TopRow();
    int n = 0;
    if (k >= top + v)
        n = k - v;
    else if (k <= top)
        n = k;
    // Near the end of the deck the top row is clamped to the scroll range rather than left
    // alone, so the current row is brought into view there too.
    if (n > 0)
        SetTopRow(n);
}

void ListGrid::SettleGeometry() {
    // A grid shown a moment ago has neither its final size nor its scroll range yet, and the
    // scroll rule needs both: lay out the enclosing widgets now, outermost first.
    QList<QWidget *> chain;
    for (QWidget *widget = parentWidget(); widget; widget = widget->parentWidget())
        chain.prepend(widget);
    for (QWidget *widget : chain)
        if (QLayout *layout = widget->layout())
            layout->activate();
    executeDelayedItemsLayout();
    updateGeometries();
}

int ListGrid::TopRow() const {
    return verticalScrollBar()->value() + 1;
}

void ListGrid::SetTopRow(int row) {
    verticalScrollBar()->setValue(row - 1);
}

void ListGrid::GridHyoujiSetEditText(int column, int row, const QString &text) {
    if (suppressEdits_ && *suppressEdits_)
        return;
    GridWriteBack(column, row, text);
}

QByteArray ListGrid::EncodeForCard(const QString &text) {
    sjis::Encoded encoded = sjis::FromDisplay(text);
    const QByteArray kept = SeparateQuoteCommas(encoded.bytes);
    const bool separated = kept.size() != encoded.bytes.size();
    if (encoded.unencodable.isEmpty() && !separated)
        return kept;
    // Show exactly what the card will hold, caret kept before the same character.
    if (QLineEdit *editor = CellEditor()) {
        const QString beforeCaret = editor->text().left(editor->cursorPosition());
        const qsizetype caret =
            sjis::ToDisplay(SeparateQuoteCommas(sjis::FromDisplay(beforeCaret).bytes)).text.size();
        editor->setText(sjis::ToDisplay(kept).text);
        editor->setCursorPosition(static_cast<int>(caret));
    }
    if (!encoded.unencodable.isEmpty())
        Q_EMIT CharactersDropped(encoded.unencodable);
    if (separated)
        Q_EMIT QuoteCommaSeparated();
    return kept;
}

void ListGrid::GridWriteBack(int column, int row, const QString &text) {
    TMondaiSet *card = model_->CardAt(row - 1);
    if (column <= 0 || row <= 0 || !card)
        return;
    if (CardTableModel::IsNumberColumn(column) && text.isEmpty())
        return;
    const QByteArray typed = EncodeForCard(text);
    if (!card->SetField(column, EncodeLineBreaks(typed))) {
        RejectNumber(column, row, text);
        return;
    }
    Q_EMIT CardEdited(card);
    // The quoting rule may have changed what was typed: show the stored form.
    const QByteArray &stored = column == 1 ? card->Mondai() : card->Kaitou();
    if ((column == 1 || column == 2) && typed != stored)
        RefillAndEditOn(column, row, typed, stored);
}

// The refill closes the editor; a new one on the same cell takes the keys that follow, with
// the caret right after what was typed (inside quotes the rule wrapped around it).
void ListGrid::RefillAndEditOn(int column, int row, const QByteArray &typed,
                               const QByteArray &stored) {
    QLineEdit *editor = CellEditor();
    const bool editing = editor && currentIndex() == model_->index(row - 1, column);
    const int caret = editing ? editor->cursorPosition() : 0;
    FillGrid(false);
    if (!editing)
        return;
    setCurrentIndex(model_->index(row - 1, column));
    editor = CellEditor();
    if (!editor)
        return;
    editor->setFocus(Qt::OtherFocusReason);
    if (stored == '"' + typed + '"')
        editor->setCursorPosition(caret + 1);
    else
        editor->end(false);
}

// The editor shows the value the card kept again. The box waits until the editor has finished
// its own handling of the key, paste or undo: a box opened from inside it runs an event loop
// under the editor's feet, and the editor's next key then reads freed text layout.
void ListGrid::RejectNumber(int column, int row, const QString &text) {
    if (QLineEdit *editor = CellEditor();
        editor && currentIndex() == model_->index(row - 1, column)) {
        editor->setText(model_->index(row - 1, column).data(Qt::EditRole).toString());
        editor->end(false);
    }
    const bool queued = !rejectedText_.isNull();
    rejectedText_ = text;
    if (queued)
        return;
    QMetaObject::invokeMethod(
        this,
        [this] {
            const QString rejected = std::exchange(rejectedText_, QString());
            Q_EMIT ConversionFailed(
                QStringLiteral("'%1' は有効な整数値ではありません。").arg(rejected));
        },
        Qt::QueuedConnection);
}

void ListGrid::ResizeColumns(int windowWidth) {
    const int width = std::max(kTextColumnFloor, (windowWidth - kFixedColumnsWidth) / 2);
    setColumnWidth(1, width);
    setColumnWidth(2, width);
}

QPoint ListGrid::CellAt(const QPoint &gridPos) const {
    const QPoint inViewport = viewport()->mapFrom(this, gridPos);
    const int column = columnAt(inViewport.x());
    if (column < 0)
        return {-1, -1};
    if (horizontalHeader()->geometry().contains(gridPos))
        return {column, 0};
    const int row = rowAt(inViewport.y());
    if (row < 0 || !viewport()->rect().contains(inViewport))
        return {-1, -1};
    return {column, row + 1};
}

QRect ListGrid::CellRect(int column, int row) const {
    if (row == 0) {
        const QHeaderView *header = horizontalHeader();
        const QRect section(header->sectionViewportPosition(column), 0, header->sectionSize(column),
                            header->height());
        return section.translated(header->geometry().topLeft());
    }
    const QRect cell = visualRect(model_->index(row - 1, column));
    return cell.translated(viewport()->geometry().topLeft());
}

QLineEdit *ListGrid::CellEditor() const {
    return delegate_->Editor();
}

QPoint ListGrid::EditorCell() const {
    QLineEdit *editor = CellEditor();
    if (!editor || editor->isHidden())
        return {-1, -1};
    return CellAt(editor->mapTo(this, editor->rect().center()));
}

void ListGrid::CloseCellEditor() {
    if (QLineEdit *editor = CellEditor())
        closeEditor(editor, QAbstractItemDelegate::NoHint);
}

void ListGrid::TakeWheel(int delta, Qt::KeyboardModifiers modifiers) {
    const int notches = wheel_.Take(delta);
    for (int i = 0; i < std::abs(notches); ++i)
        Q_EMIT WheelTurned(notches < 0 ? -WheelStep : WheelStep, modifiers);
}

// The row numbers column grows with the deck, so "1914" never shows as "191".
void ListGrid::FitNumberColumn() {
    const QString widest = QString::number(model_->rowCount());
    const int wanted = fontMetrics().horizontalAdvance(widest) + kNumberMargin;
    const int width = std::max(kNumberColumnWidth, wanted);
    if (columnWidth(0) != width)
        setColumnWidth(0, width);
}

bool ListGrid::CurrentRowFullyShown() const {
    const int row = model_->CurrentRow();
    const QRect cell = visualRect(model_->index(row, 1));
    return cell.top() >= 0 && cell.bottom() < viewport()->height();
}

void ListGrid::changeEvent(QEvent *event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        FitNumberColumn();
}

// A smaller window must not leave the current card's row out of sight until the next step.
void ListGrid::resizeEvent(QResizeEvent *event) {
    QTableView::resizeEvent(event);
    if (model_->CurrentRow() < 0 || CurrentRowFullyShown())
        return;
    updateGeometries();
    ApplyScrollRule();
}

void ListGrid::wheelEvent(QWheelEvent *event) {
    TakeWheel(event->angleDelta().y(), event->modifiers());
    event->accept();
}
