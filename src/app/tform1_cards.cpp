// Deleting cards and the bookmark commands of the context menu.
#include "app/tform1.h"

#include "edit/bookmark_caret.h"
#include "edit/card_popup_menu.h"
#include "ui/prompts.h"
#include "view/card_table_model.h"
#include "view/card_view.h"
#include "view/list_grid.h"

#include <QLineEdit>

// The focused card box points at the card to delete; without one the view decides.
void TForm1::ClickDeleteCard() {
    if (TMyMemo *memo = cells_->FocusedMemo()) {
        drill_.DeleteCard(CardTarget::Row(memo->Row));
        // A box left without a card gave its focus away; one that shows a card keeps it.
        if (memo->Shown && memo->isVisible())
            memo->setFocus(Qt::OtherFocusReason);
        return;
    }
    PopupRow = -1;
    switch (drill_.DisplayPattern()) {
    case PatternMain:
        drill_.DeleteCard(CardTarget::Row(0));
        break;
    case PatternSub:
        // Several cards are on screen: which one is meant is not guessed.
        prompts_.Confirm(this, QStringLiteral("先に、削除するｶｰﾄﾞにｶｰｿﾙを\n置いてください。"),
                         {PromptButton::Ok});
        break;
    case PatternList:
        DeleteFromList();
        break;
    }
}

// The row that takes the deleted card's place (the next card) keeps the caret, so a second
// Ctrl+D goes on down the list rather than to the drill's card elsewhere in the deck.
void TForm1::DeleteFromList() {
    const int row = FocusedListRow();
    const int column = GridHyouji->EditorCell().x();
    drill_.DeleteCard(CardTarget::List(row));
    if (row > 0)
        GridHyouji->EditCell(column, std::min(row, int(deck_.Cards().size())));
}

// The list's cell editor holding the caret points at its row as a focused card box does;
// without it the command falls to the current card.
int TForm1::FocusedListRow() const {
    const QLineEdit *editor = GridHyouji->CellEditor();
    if (!editor || !editor->hasFocus())
        return -1;
    return GridHyouji->EditorCell().y();
}

void TForm1::pop_SakujoClick() {
    if (drill_.DisplayPattern() == PatternList)
        drill_.DeleteCard(CardTarget::List(PopupRow));
    else if (PopupMenu1->Memo())
        drill_.DeleteCard(CardTarget::Row(PopupMenu1->Memo()->Row));
}

void TForm1::pop_SetSioriClick() {
    const bool before = SuppressEdits;
    SuppressEdits = true;
    if (drill_.DisplayPattern() == PatternList)
        SetBookmarkFromList();
    else if (PopupMenu1->Memo())
        SetBookmarkFromBox(PopupMenu1->Memo());
    SuppressEdits = before;
}

void TForm1::SetBookmarkFromBox(TMyMemo *memo) {
    TMondaiSet *target = drill_.CardOfRow(memo->Row);
    if (!target)
        return;
    const QString text = memo->toPlainText();
    const int caret = memo->textCursor().position();
    drill_.SetBookmark(target);
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(CaretBeforeSameText(text, memo->toPlainText(), caret));
    memo->setTextCursor(cursor);
}

// The list refills on the redraw, which closes the cell editor; it opens again on the same
// cell, where the question cell then holds the bookmarked card's stored question.
void TForm1::SetBookmarkFromList() {
    const auto &cards = deck_.Cards();
    if (PopupRow < 1 || PopupRow > qsizetype(cards.size()))
        return;
    const QPoint cell = GridHyouji->EditorCell();
    const bool hadFocus = GridHyouji->CellEditor() && GridHyouji->CellEditor()->hasFocus();
    drill_.SetBookmark(cards[std::size_t(PopupRow - 1)].get());
    if (cell.y() < 1)
        return;
    GridHyouji->setCurrentIndex(GridHyouji->Model()->index(cell.y() - 1, cell.x()));
    QLineEdit *editor = GridHyouji->CellEditor();
    if (editor && hadFocus)
        editor->setFocus(Qt::OtherFocusReason);
}
