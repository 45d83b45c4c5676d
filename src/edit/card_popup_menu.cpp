#include "edit/card_popup_menu.h"

#include "view/card_cells.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>

CardPopupMenu::CardPopupMenu(QWidget *parent) : QMenu(parent) {
    setObjectName(QStringLiteral("PopupMenu1"));
    undo_ = AddItem("pop_Undo", QStringLiteral("元に戻す"));
    cut_ = AddItem("pop_Cut", QStringLiteral("切り取り"));
    copy_ = AddItem("pop_Copy", QStringLiteral("コピー"));
    paste_ = AddItem("pop_Paste", QStringLiteral("貼り付け"));
    addSeparator()->setObjectName(QStringLiteral("N7"));
    // The text after the tab is shown in the menu's right-hand column, for display only: the
    // keys themselves belong to the main menu and the drill.
    cardItems_.insert = AddItem("pop_Tuika", QStringLiteral("カード追加...\tCtrl+N"));
    cardItems_.remove = AddItem("pop_Sakujo", QStringLiteral("カード削除\tCtrl+D"));
    addSeparator()->setObjectName(QStringLiteral("N8"));
    cardItems_.setBookmark = AddItem("pop_SetSiori", QStringLiteral("しおりの設定"));
    cardItems_.moveToBookmark = AddItem("pop_MoveSiori", QStringLiteral("しおりへ移動\tCtrl+↑"));
    cardItems_.clearBookmark = AddItem("pop_DelSiori", QStringLiteral("しおりの消去"));

    connect(undo_, &QAction::triggered, this, &CardPopupMenu::pop_UndoClick);
    connect(cut_, &QAction::triggered, this, &CardPopupMenu::pop_CutClick);
    connect(copy_, &QAction::triggered, this, &CardPopupMenu::pop_CopyClick);
    connect(paste_, &QAction::triggered, this, &CardPopupMenu::pop_PasteClick);
    connect(this, &QMenu::aboutToShow, this, &CardPopupMenu::OnPopup);
}

QAction *CardPopupMenu::AddItem(const char *name, const QString &caption) {
    QAction *action = addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void CardPopupMenu::OpenOverMemo(TMyMemo *memo, const QPoint &global) {
    memo_ = memo;
    editor_ = nullptr;
    popup(global);
}

void CardPopupMenu::OpenOverEditor(QLineEdit *editor, int row, const QPoint &global) {
    listRow_ = row;
    memo_ = nullptr;
    editor_ = editor;
    popup(global);
}

void CardPopupMenu::OnPopup() {
    bool canUndo = false;
    bool selection = false;
    bool canPaste = false;
    if (memo_) {
        canUndo = memo_->document()->isUndoAvailable();
        selection = memo_->textCursor().hasSelection();
        canPaste = !QApplication::clipboard()->text().isEmpty();
    } else if (editor_) {
        // The list's editor: the clipboard is not consulted, the editor must hold the focus.
        const bool focused = editor_->hasFocus();
        canUndo = editor_->isUndoAvailable();
        selection = focused && editor_->hasSelectedText();
        canPaste = focused;
    }
    undo_->setEnabled(canUndo);
    cut_->setEnabled(selection);
    copy_->setEnabled(selection);
    paste_->setEnabled(canPaste);
    const bool bookmark = hasBookmark_ && hasBookmark_();
    cardItems_.moveToBookmark->setEnabled(bookmark);
    cardItems_.clearBookmark->setEnabled(bookmark);
}

// The edit items are the control's own operations; the control's change notification stores
// the result as if it had been typed.
void CardPopupMenu::pop_UndoClick() {
    if (memo_)
        memo_->undo();
    else if (editor_)
        editor_->undo();
}

void CardPopupMenu::pop_CutClick() {
    if (memo_)
        memo_->cut();
    else if (editor_)
        editor_->cut();
}

void CardPopupMenu::pop_CopyClick() {
    if (memo_)
        memo_->copy();
    else if (editor_)
        editor_->copy();
}

void CardPopupMenu::pop_PasteClick() {
    if (memo_)
        memo_->paste();
    else if (editor_)
        editor_->paste();
}
