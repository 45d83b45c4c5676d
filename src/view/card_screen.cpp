#include "view/card_screen.h"

#include "deck/deck.h"
#include "drill/drill.h"
#include "view/card_view.h"
#include "view/main_panels.h"
#include "view/no_deck_hint.h"
#include "view/panel_widgets.h"

#include <QApplication>
#include <QPlainTextEdit>

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

CardScreen::CardScreen(const MainPanels &panels, const Deck &deck, Drill &drill,
                       bool &suppressEdits, Hooks hooks, QObject *parent)
    : QObject(parent), panels_(panels), deck_(deck), drill_(drill), suppressEdits_(suppressEdits),
      hooks_(std::move(hooks)) {
    connect(panels.SelectBox, &QComboBox::activated, this, &CardScreen::ChoosePattern);
    connect(panels.SelectBox, &PopupComboBox::popupClosed, this, &CardScreen::ParkFocus);
    panels.cells->ForEachMemo([this](TMyMemo *memo) {
        connect(memo, &TMyMemo::doubleClicked, this, [](TMyMemo *box) { SelectWholeText(box); });
    });
}

void CardScreen::ApplyPattern() {
    panels_.SelectBox->setCurrentIndex(SelectBoxIndex(drill_.DisplayPattern(), drill_.SubRows()));
    LayoutCells();
    const DisplayPatternKind pattern = drill_.DisplayPattern();
    drill_.HideAnswer();
    panels_.Panel_Mondai->setVisible(pattern == PatternMain);
    panels_.Panel_Renban->setVisible(pattern == PatternSub);
    panels_.Panel_Grid->setVisible(pattern == PatternList);
    hooks_.redraw();
}

void CardScreen::ChoosePattern(int index) {
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

void CardScreen::LayoutCells() {
    const QSize outer = hooks_.outerSize();
    panels_.cells->LayoutCells(outer.height(), outer.width(), panels_.Panel_Left->width(),
                               drill_.SubRows());
}

void CardScreen::SizeCellTexts() {
    panels_.cells->SizeCellTexts(hooks_.outerSize().height(), drill_.SubRows());
}

void CardScreen::Draw() {
    CardView &cells = *panels_.cells;
    const bool before = suppressEdits_;
    suppressEdits_ = true;
    cells.ClearAll();
    SizeCellTexts();
    const bool park = cells.Fill(drill_, suppressEdits_);
    suppressEdits_ = before;
    if (park)
        ParkFocus();
    // Cards taken from another program's file have no deck file yet, but are no empty window.
    panels_.noDeckHint->setVisible(deck_.FileName().isEmpty() && deck_.Cards().empty());
    cells.UpdateEditability();
}

void CardScreen::ParkFocus() {
    QPlainTextEdit *box = panels_.fSannkou0;
    if (box->isVisible() && box->isEnabled())
        box->setFocus(Qt::OtherFocusReason);
}
