#pragma once

#include <QLineEdit>
#include <QPointer>
#include <QStyledItemDelegate>

#include <functional>

// Paints the list's cells (row tints, text at 2,2 from the corner) and provides the in-place
// editor, whose every keystroke goes straight into the card.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    // The user changed an open cell editor's text: its column, its grid row (the header being
    // row 0) and the new text.
    using CellEdited = std::function<void(int column, int row, const QString &text)>;

    GridDelegate(QObject *parent, CellEdited cellEdited);

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

    // Number cells take digits and backspace only; keys that type nothing (arrows, Delete) pass.
    static bool AcceptsKey(int column, int key, const QString &text);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    CellEdited cellEdited_;
    mutable QPointer<QLineEdit> editor_;
    // The same editor seen as a plain object: events still reach the filter while the editor is
    // being destroyed (its focus leaves), when it is no longer a QLineEdit to cast to.
    mutable QPointer<QObject> editorObject_;
};
