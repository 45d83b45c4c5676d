#pragma once

#include "view/card_cells.h"

#include <QLineEdit>
#include <QMenu>
#include <QPointer>

#include <functional>

// The context menu of every card text box and of the list's cell editor. Its edit items act on
// the control the menu was opened on; the card and bookmark items are the card commands'.
class CardPopupMenu : public QMenu {
    Q_OBJECT
public:
    explicit CardPopupMenu(QWidget *parent);

    // Opens the menu over a card text box, or over the list's cell editor.
    void OpenOverMemo(TMyMemo *memo, const QPoint &global);
    // `row`: the list row (1 for the first card) of the cell the editor is in.
    void OpenOverEditor(QLineEdit *editor, int row, const QPoint &global);
    // The card text box the menu was last opened on; null when it was opened over the list.
    TMyMemo *Memo() const { return memo_; }
    QLineEdit *Editor() const { return editor_; }
    // The list row the menu was last opened on; -1 once a command of the main menu has
    // forgotten it.
    int ListRow() const { return listRow_; }
    void SetListRow(int row) { listRow_ = row; }

    // Asked at every opening: whether there is a bookmark to move to or clear.
    void SetBookmarkQuery(std::function<bool()> hasBookmark) {
        hasBookmark_ = std::move(hasBookmark);
    }
    // The card and bookmark items, which the card commands connect.
    struct CardItems {
        QAction *insert = nullptr;
        QAction *remove = nullptr;
        QAction *setBookmark = nullptr;
        QAction *moveToBookmark = nullptr;
        QAction *clearBookmark = nullptr;
    };
    const CardItems &Items() const { return cardItems_; }

private:
    QAction *AddItem(const char *name, const QString &caption);
    // Enables the items for the control under the menu (each time the menu opens).
    void OnPopup();
    void pop_UndoClick();
    void pop_CutClick();
    void pop_CopyClick();
    void pop_PasteClick();

    QAction *undo_ = nullptr;
    QAction *cut_ = nullptr;
    QAction *copy_ = nullptr;
    QAction *paste_ = nullptr;
    CardItems cardItems_;
    QPointer<TMyMemo> memo_;
    QPointer<QLineEdit> editor_;
    std::function<bool()> hasBookmark_;
    int listRow_ = -1;
};
