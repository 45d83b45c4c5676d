// Finding cards.
#include "app/tform1.h"

#include "view/find_bar.h"
#include "view/list_grid.h"

#include <QBoxLayout>

void TForm1::CreateFindBar() {
    findBar_ = new FindBar(deck_.Cards(), GridHyouji, centralWidget());
    // Between the view and the bottom strip; it is only shown with the list.
    if (auto *column = qobject_cast<QBoxLayout *>(centralWidget()->layout()))
        column->insertWidget(1, findBar_);
}

// The list is where a card is found and edited: the other views switch to it first.
void TForm1::ClickFind() {
    QWidget *focused = focusWidget();
    if (drill_.DisplayPattern() != PatternList)
        ClickPanelPattern(5); // the list's entry in SelectBox
    findBar_->Open(focused);
}
