// The card view: patterns, geometry, the redraw and the card boxes' own events.
#include "app/tform1.h"

#include "edit/store_edit.h"
#include "overview/learning_progress.h"
#include "view/answer_modes.h"
#include "view/card_view.h"
#include "view/find_bar.h"
#include "view/no_deck_hint.h"
#include "view/panel_widgets.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QStatusBar>

namespace {
int SelectBoxIndex(DisplayPatternKind pattern, int subRows) {
    switch (pattern) {
    case PatternMain:
        return 0;
    case PatternSub:
        return subRows - 1;
    case PatternList:
        break;
    }
    return 5;
}
} // namespace

void TForm1::ApplyPattern() {
    SelectBox->setCurrentIndex(SelectBoxIndex(drill_.DisplayPattern(), drill_.SubRows()));
    LayoutCells();
    const DisplayPatternKind pattern = drill_.DisplayPattern();
    drill_.HideAnswer();
    Panel_Mondai->setVisible(pattern == PatternMain);
    Panel_Renban->setVisible(pattern == PatternSub);
    Panel_Grid->setVisible(pattern == PatternList);
    RefreshView();
}

void TForm1::ClickPanelPattern(int index) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ParkFocus();
    if (index == 0)
        drill_.SetPattern(PatternMain, drill_.SubRows());
    else if (index >= 1 && index <= 4)
        drill_.SetPattern(PatternSub, index + 1);
    else
        drill_.SetPattern(PatternList, drill_.SubRows());
    ApplyPattern();
    QApplication::restoreOverrideCursor();
}

void TForm1::LayoutCells() {
    cells_->LayoutCells(OuterHeight(), OuterWidth(), Panel_Left->width(), drill_.SubRows());
}

void TForm1::SizeCellTexts() {
    cells_->SizeCellTexts(OuterHeight(), drill_.SubRows());
}

void TForm1::ResizeForm() {
    if (!cells_)
        return;
    LayoutCells();
    ResizeListColumns();
}

void TForm1::RefreshView() {
    const bool before = SuppressEdits;
    SuppressEdits = true;
    cells_->ClearAll();
    SizeCellTexts();
    const bool park = cells_->Fill(drill_, SuppressEdits);
    SuppressEdits = before;
    if (park)
        ParkFocus();
    ShowCounters();
    // Cards taken from another program's file have no deck file yet, but are no empty window.
    noDeckHint_->setVisible(deck_.FileName().isEmpty() && deck_.Cards().empty());
    cells_->UpdateEditability();
    UpdateCellMedia();
    if (drill_.DisplayPattern() == PatternList)
        FillGrid(true);
    progress_->DrillChanged();
    findBar_->DeckMayHaveChanged(drill_.BookmarkCard());
    modes_->Refresh();
}

void TForm1::ParkFocus() {
    if (fSannkou0->isVisible() && fSannkou0->isEnabled())
        fSannkou0->setFocus(Qt::OtherFocusReason);
}

void TForm1::ClickPanel() {
    ParkFocus();
}

void TForm1::LabelMouseDown() {
    ParkFocus();
}

void TForm1::MyMemoDblClick(TMyMemo *memo) {
    SelectWholeText(memo);
}

void TForm1::OnCha(TMyMemo *memo) {
    if (SuppressEdits || !memo->Shown || memo->Cut)
        return;
    TMondaiSet *card = drill_.CardOfRow(memo->Row);
    if (!card)
        return;
    const int caret = memo->textCursor().position();
    const StoredEdit stored =
        StoreEdit(*card, FieldOfBox(memo->Kind, drill_.Direction()), memo->toPlainText(), caret);
    findBar_->CardEdited(card);
    drill_.AfterQuestionEdit(card); // may redraw the boxes
    const bool before = SuppressEdits;
    SuppressEdits = true;
    if (stored.boxDiffers)
        memo->setPlainText(stored.boxText);
    const int wanted = stored.boxDiffers ? stored.cursorPosition : caret;
    if (memo->textCursor().position() != wanted) {
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(qMin(wanted, memo->document()->characterCount() - 1));
        memo->setTextCursor(cursor);
    }
    SuppressEdits = before;
    UpdateCellMedia(); // a reference typed or dropped shows at once
    if (!stored.unencodable.isEmpty())
        StatusBar1->showMessage(UnencodableMessage(stored.unencodable));
    else if (stored.quoteCommaSeparated)
        StatusBar1->showMessage(QuoteCommaMessage());
}
