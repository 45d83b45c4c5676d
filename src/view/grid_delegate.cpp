#include "view/grid_delegate.h"

#include "view/card_table_model.h"

#include <QApplication>
#include <QDialog>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>

namespace {

const QColor kNotDueColor(230, 230, 230);
const QColor kCurrentColor(250, 200, 150);
const QColor kFoundColor(255, 225, 90); // row numbers of the rows a search found
constexpr int kTextOffset = 2;
const char kColumnProperty[] = "gridColumn";

// A message box or the context menu over the window, which takes the focus for a moment.
// Asked while the focus moves: the box is the active window by then, though not yet known
// as the modal one.
bool PassingWindowOver(const QWidget *editor) {
    const QWidget *active = QApplication::activeWindow();
    if (!active || active->isAncestorOf(editor))
        return false;
    return (qobject_cast<const QDialog *>(active) && active->isModal()) ||
           active->windowType() == Qt::Popup;
}

} // namespace

GridDelegate::GridDelegate(QObject *parent, CellEdited cellEdited)
    : QStyledItemDelegate(parent), cellEdited_(std::move(cellEdited)) {}

void GridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                         const QModelIndex &index) const {
    const QPalette &palette = option.palette;
    QColor fill = palette.color(QPalette::Base);
    QColor ink = palette.color(QPalette::Text);
    if (index.column() == 0) {
        // The row numbers look like the header: a fixed column, never tinted.
        fill = index.data(CardTableModel::MarkRole).toBool() ? kFoundColor
                                                             : palette.color(QPalette::Button);
        ink = palette.color(QPalette::ButtonText);
    } else {
        if (option.state & QStyle::State_Selected) {
            fill = palette.color(QPalette::Highlight);
            ink = palette.color(QPalette::HighlightedText);
        }
        // Later rules win: a not-due row is grey, the current card's row orange even so.
        const auto shade =
            static_cast<CardTableModel::Shade>(index.data(CardTableModel::ShadeRole).toInt());
        if (shade != CardTableModel::Shade::Normal) {
            fill = shade == CardTableModel::Shade::Current ? kCurrentColor : kNotDueColor;
            ink = palette.color(QPalette::Text);
        }
    }
    painter->save();
    painter->fillRect(option.rect, fill);
    painter->setClipRect(option.rect);
    painter->setFont(option.font);
    painter->setPen(ink);
    painter->drawText(option.rect.adjusted(kTextOffset, kTextOffset, 0, 0),
                      Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                      index.data(Qt::DisplayRole).toString());
    painter->restore();
}

QWidget *GridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &,
                                    const QModelIndex &index) const {
    auto *editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setFocusPolicy(Qt::ClickFocus);
    editor->setProperty(kColumnProperty, index.column());
    // Number cells take plain digits; a Japanese input method would compose full-width ones.
    if (CardTableModel::IsNumberColumn(index.column()))
        editor->setAttribute(Qt::WA_InputMethodEnabled, false);
    const QPersistentModelIndex cell(index);
    // textEdited reports the user's changes only (typing, paste, cut, undo), not our own fills.
    connect(editor, &QLineEdit::textEdited, this, [this, cell](const QString &text) {
        if (cell.isValid())
            cellEdited_(cell.column(), cell.row() + 1, text);
    });
    editor_ = editor;
    editorObject_ = editor;
    return editor;
}

void GridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const {
    auto *line = static_cast<QLineEdit *>(editor);
    const QString text = index.data(Qt::EditRole).toString();
    if (line->text() != text)
        line->setText(text);
}

void GridDelegate::destroyEditor(QWidget *editor, const QModelIndex &index) const {
    if (editor == editor_) {
        editor_ = nullptr;
        editorObject_ = nullptr;
    }
    QStyledItemDelegate::destroyEditor(editor, index);
}

void GridDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                        const QModelIndex &) const {
    editor->setGeometry(option.rect);
}

bool GridDelegate::AcceptsKey(int column, int key, const QString &text) {
    if (!CardTableModel::IsNumberColumn(column) || key == Qt::Key_Backspace ||
        key == Qt::Key_Delete)
        return true;
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        return false;
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

bool GridDelegate::eventFilter(QObject *object, QEvent *event) {
    if (event->type() == QEvent::InputMethod && object == editorObject_) {
        const auto *composed = static_cast<QInputMethodEvent *>(event);
        if (!AcceptsKey(editor_->property(kColumnProperty).toInt(), 0, composed->commitString()))
            return true;
    }
    if (event->type() == QEvent::KeyPress && object == editorObject_) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Tab leaves the table for the next control rather than walking its cells.
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab)
            return false;
        if (!AcceptsKey(editor_->property(kColumnProperty).toInt(), key->key(), key->text()))
            return true;
    }
    // The editor stays open under a message box or the context menu and gets the focus back
    // when it closes, so typing goes on in the same cell.
    if (event->type() == QEvent::FocusOut && object == editorObject_ &&
        PassingWindowOver(static_cast<QWidget *>(object)))
        return false;
    return QStyledItemDelegate::eventFilter(object, event);
}
