#include "edit/box_edits.h"

#include "drill/drill.h"
#include "edit/store_edit.h"
#include "view/card_view.h"

BoxEdits::BoxEdits(const CardView &cells, Drill &drill, bool &suppressEdits, Hooks hooks,
                   QObject *parent)
    : QObject(parent), drill_(drill), suppressEdits_(suppressEdits), hooks_(std::move(hooks)) {
    cells.ForEachMemo([this](TMyMemo *memo) {
        connect(memo, &QPlainTextEdit::textChanged, this, [this, memo] { Store(memo); });
    });
}

void BoxEdits::Store(TMyMemo *memo) {
    if (suppressEdits_ || !memo->Shown || memo->Cut)
        return;
    TMondaiSet *card = drill_.CardOfRow(memo->Row);
    if (!card)
        return;
    const int caret = memo->textCursor().position();
    const StoredEdit stored =
        StoreEdit(*card, FieldOfBox(memo->Kind, drill_.Direction()), memo->toPlainText(), caret);
    hooks_.cardEdited(card);
    drill_.AfterQuestionEdit(card); // may redraw the boxes
    const bool before = suppressEdits_;
    suppressEdits_ = true;
    if (stored.boxDiffers)
        memo->setPlainText(stored.boxText);
    const int wanted = stored.boxDiffers ? stored.cursorPosition : caret;
    if (memo->textCursor().position() != wanted) {
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(qMin(wanted, memo->document()->characterCount() - 1));
        memo->setTextCursor(cursor);
    }
    suppressEdits_ = before;
    hooks_.mediaChanged();
    if (!stored.unencodable.isEmpty())
        hooks_.showStatus(UnencodableMessage(stored.unencodable));
    else if (stored.quoteCommaSeparated)
        hooks_.showStatus(QuoteCommaMessage());
}
