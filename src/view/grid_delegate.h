#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>

class ListGrid;

// Paints the list's cells (row tints, text at 2,2 from the corner) and provides the in-place
// editor, whose every keystroke goes straight into the card.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(ListGrid *grid);

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    // Edits were stored keystroke by keystroke; committing has nothing left to do.
    void setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const override {}
    void destroyEditor(QWidget *editor, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

    // The open in-place editor (possibly hidden while its row is scrolled away), or null.
    QLineEdit *Editor() const { return editor_; }

    static bool IsNumberColumn(int column) { return column >= 4 && column <= 6; }
    // Number cells take digits and backspace only; keys that type nothing (arrows, Delete) pass.
    static bool AcceptsKey(int column, int key, const QString &text);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    ListGrid *grid_;
    mutable QPointer<QLineEdit> editor_;
};
