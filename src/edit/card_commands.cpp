#include "edit/card_commands.h"

#include "deck/sjis_codec.h"
#include "edit/add_card_dialog.h"
#include "edit/bookmark_caret.h"
#include "edit/card_menu_state.h"
#include "edit/card_popup_menu.h"
#include "edit/store_edit.h"
#include "settings/settings.h"
#include "ui/menu_items.h"
#include "ui/prompts.h"
#include "view/card_table_model.h"
#include "view/card_view.h"
#include "view/font_settings.h"
#include "view/hint_tracker.h"
#include "view/list_grid.h"

#include <QAction>
#include <QLineEdit>
#include <QMenu>

CardCommands::CardCommands(const Deck &deck, Drill &drill, const CardView &cells,
                           const FontSettings &fonts, Prompts &prompts, Window window,
                           QObject *parent)
    : QObject(parent), deck_(deck), drill_(drill), cells_(cells), fonts_(fonts), prompts_(prompts),
      window_(std::move(window)) {}

void CardCommands::AddItems(QMenu *cardMenu) {
    AddSeparator(cardMenu, "N6");
    delete_ = AddItem(cardMenu, "men_Card_Delete", QStringLiteral("カード削除"),
                      QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(delete_, &QAction::triggered, this, &CardCommands::DeleteCard);
    insert_ = AddItem(cardMenu, "men_Card_Insert", QStringLiteral("カード追加..."),
                      QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(insert_, &QAction::triggered, this, &CardCommands::InsertCard);
    AddSeparator(cardMenu, "N_Find");
    QAction *find = AddItem(cardMenu, "men_Card_Find", QStringLiteral("検索..."),
                            QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(find, &QAction::triggered, this, [this] { window_.find(); });
    // A text box or list cell being edited keeps Ctrl+Z for its own undo.
    undo_ = AddItem(cardMenu, "men_Card_Undo", QStringLiteral("元に戻す"),
                    QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(undo_, &QAction::triggered, this, &CardCommands::TakeBackDelete);
    connect(cardMenu, &QMenu::aboutToShow, this, &CardCommands::EnableForState);
    // The enabling is for the open menu; the keys stay live and their commands check for
    // themselves, so a state seen at the last opening never holds a key back.
    connect(cardMenu, &QMenu::aboutToHide, this, &CardCommands::EnableAll);
}

void CardCommands::ConnectPopup(CardPopupMenu &popup) {
    popup_ = &popup;
    const CardPopupMenu::CardItems &items = popup.Items();
    connect(items.insert, &QAction::triggered, this, &CardCommands::PopupInsert);
    connect(items.remove, &QAction::triggered, this, &CardCommands::PopupDelete);
    connect(items.setBookmark, &QAction::triggered, this, &CardCommands::PopupSetBookmark);
    connect(items.moveToBookmark, &QAction::triggered, this, [this] { drill_.MoveToBookmark(); });
    connect(items.clearBookmark, &QAction::triggered, this, [this] { drill_.ClearBookmark(); });
}

void CardCommands::CreateAddDialog(AppSettings &settings) {
    settings_ = &settings;
    addDialog_ = new TForm3(settings, window_.parent);
}

void CardCommands::EnableForState() {
    insert_->setEnabled(CanInsertCard(drill_));
    delete_->setEnabled(CanDeleteCard(drill_));
    undo_->setEnabled(drill_.CanTakeBackDelete());
}

void CardCommands::EnableAll() {
    for (QAction *action : {delete_, insert_, undo_})
        action->setEnabled(true);
}

void CardCommands::TakeBackDelete() {
    TMondaiSet *card = drill_.TakeBackDelete();
    if (!card) {
        window_.status(QStringLiteral("元に戻せる削除はありません。"));
        return;
    }
    QString question = sjis::ToDisplay(DisplayForm(card->Mondai())).text.simplified();
    if (question.size() > 30)
        question = question.left(30) + QStringLiteral("…");
    window_.status(QStringLiteral("%1 番目のカード「%2」を元に戻しました。")
                       .arg(drill_.CardNumber(card))
                       .arg(question));
}

// --- adding ---

// The focused card text box is the target; without one, the card in view (in the sub view the
// one after the current card, in the list the current card).
void CardCommands::InsertCard() {
    if (TMyMemo *memo = cells_.FocusedMemo()) {
        AddCardTo(CardTarget::Row(memo->Row));
        if (memo->Shown)
            memo->setFocus(Qt::OtherFocusReason);
        return;
    }
    popup_->SetListRow(-1);
    switch (drill_.DisplayPattern()) {
    case PatternMain:
        AddCardTo(CardTarget::Row(0));
        break;
    case PatternSub:
        AddCardTo(CardTarget::Row(2));
        break;
    case PatternList:
        AddCardTo(CardTarget::List(-1));
        break;
    }
}

// The box the menu was opened on, or in the list the row it was opened on.
void CardCommands::PopupInsert() {
    if (drill_.DisplayPattern() == PatternList)
        AddCardTo(CardTarget::List(popup_->ListRow()));
    else if (const TMyMemo *memo = popup_->Memo())
        AddCardTo(CardTarget::Row(memo->Row));
}

void CardCommands::AddCardTo(CardTarget target) {
    if (!CanInsertCard(drill_))
        return;
    addDialogOpen_ = true;
    SetAddDialogHints(*addDialog_, window_.hints());
    const int result = addDialog_->Run(fonts_.QuestionFont(), fonts_.AnswerFont());
    if (result == QDialog::Accepted) {
        TForm3::NewCardTexts made = addDialog_->NewCard();
        drill_.InsertCard(std::move(made.card), static_cast<InsertPosition>(settings_->tuikaMode),
                          settings_->tuikaIdou, target);
        // The texts are gone with the dialog: say what storing them changed.
        const QString unencodable = made.question.unencodable + made.answer.unencodable;
        if (!unencodable.isEmpty())
            window_.status(UnencodableMessage(unencodable));
        else if (made.question.quoteCommaSeparated || made.answer.quoteCommaSeparated)
            window_.status(QuoteCommaMessage());
    }
    addDialogOpen_ = false;
}

// --- deleting ---

// The focused card box points at the card to delete; without one the view decides.
void CardCommands::DeleteCard() {
    if (TMyMemo *memo = cells_.FocusedMemo()) {
        drill_.DeleteCard(CardTarget::Row(memo->Row));
        // A box left without a card gave its focus away; one that shows a card keeps it.
        if (memo->Shown && memo->isVisible())
            memo->setFocus(Qt::OtherFocusReason);
        return;
    }
    popup_->SetListRow(-1);
    switch (drill_.DisplayPattern()) {
    case PatternMain:
        drill_.DeleteCard(CardTarget::Row(0));
        break;
    case PatternSub:
        // Several cards are on screen: which one is meant is not guessed.
        prompts_.Confirm(window_.parent,
                         QStringLiteral("先に、削除するｶｰﾄﾞにｶｰｿﾙを\n置いてください。"),
                         {PromptButton::Ok});
        break;
    case PatternList:
        DeleteFromList();
        break;
    }
}

// The row that takes the deleted card's place (the next card) keeps the caret, so a second
// Ctrl+D goes on down the list rather than to the drill's card elsewhere in the deck.
void CardCommands::DeleteFromList() {
    const int row = FocusedListRow();
    const int column = list_->EditorCell().x();
    drill_.DeleteCard(CardTarget::List(row));
    if (row > 0)
        list_->EditCell(column, std::min(row, int(deck_.Cards().size())));
}

// The list's cell editor holding the caret points at its row as a focused card box does;
// without it the command falls to the current card.
int CardCommands::FocusedListRow() const {
    const QLineEdit *editor = list_->CellEditor();
    if (!editor || !editor->hasFocus())
        return -1;
    return list_->EditorCell().y();
}

void CardCommands::PopupDelete() {
    if (drill_.DisplayPattern() == PatternList)
        drill_.DeleteCard(CardTarget::List(popup_->ListRow()));
    else if (popup_->Memo())
        drill_.DeleteCard(CardTarget::Row(popup_->Memo()->Row));
}

// --- the bookmark ---

void CardCommands::PopupSetBookmark() {
    window_.withoutStoringEdits([this] {
        if (drill_.DisplayPattern() == PatternList)
            SetBookmarkFromList();
        else if (popup_->Memo())
            SetBookmarkFromBox(popup_->Memo());
    });
}

void CardCommands::SetBookmarkFromBox(TMyMemo *memo) {
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
void CardCommands::SetBookmarkFromList() {
    const auto &cards = deck_.Cards();
    const int row = popup_->ListRow();
    if (row < 1 || row > qsizetype(cards.size()))
        return;
    const QPoint cell = list_->EditorCell();
    const bool hadFocus = list_->CellEditor() && list_->CellEditor()->hasFocus();
    drill_.SetBookmark(cards[std::size_t(row - 1)].get());
    if (cell.y() < 1)
        return;
    list_->setCurrentIndex(list_->Model()->index(cell.y() - 1, cell.x()));
    QLineEdit *editor = list_->CellEditor();
    if (editor && hadFocus)
        editor->setFocus(Qt::OtherFocusReason);
}
