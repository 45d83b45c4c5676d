// Adding cards: the add commands and the add-card dialog.
#include "app/help_menu.h"
#include "app/tform1.h"

#include "edit/add_card_dialog.h"
#include "edit/card_menu_state.h"
#include "edit/card_popup_menu.h"
#include "edit/store_edit.h"
#include "view/card_view.h"
#include "view/hint_tracker.h"

#include <QStatusBar>

// The focused card text box is the target; without one, the card in view (in the sub view the
// one after the current card, in the list the current card).
void TForm1::ClickInsertCard() {
    if (TMyMemo *memo = cells_->FocusedMemo()) {
        AddCardTo(CardTarget::Row(memo->Row));
        if (memo->Shown)
            memo->setFocus(Qt::OtherFocusReason);
        return;
    }
    PopupRow = -1;
    switch (drill_.DisplayPattern()) {
    case PatternMain:
        AddCardTo(CardTarget::Row(0));
        break;
    case PatternSub:
        AddCardTo(CardTarget::Row(2));
        break;
    case PatternList:
        AddCardTo(CardTarget::List(PopupRow));
        break;
    }
}

// The box the menu was opened on, or in the list the row it was opened on.
void TForm1::pop_TuikaClick() {
    if (drill_.DisplayPattern() == PatternList)
        AddCardTo(CardTarget::List(PopupRow));
    else if (const TMyMemo *memo = PopupMenu1->Memo())
        AddCardTo(CardTarget::Row(memo->Row));
}

void TForm1::AddCardTo(CardTarget target) {
    if (!CanInsertCard(drill_))
        return;
    AddDialogOpen = true;
    SetAddDialogHints(*Form3, helpMenu_->CommentsShown());
    const int result = Form3->Run(QuestionFont(), AnswerFont());
    if (result == QDialog::Accepted) {
        TForm3::NewCardTexts made = Form3->NewCard();
        drill_.InsertCard(std::move(made.card), static_cast<InsertPosition>(settings_.tuikaMode),
                          settings_.tuikaIdou, target);
        // The texts are gone with the dialog: say what storing them changed.
        const QString unencodable = made.question.unencodable + made.answer.unencodable;
        if (!unencodable.isEmpty())
            StatusBar1->showMessage(UnencodableMessage(unencodable));
        else if (made.question.quoteCommaSeparated || made.answer.quoteCommaSeparated)
            StatusBar1->showMessage(QuoteCommaMessage());
    }
    AddDialogOpen = false;
}
