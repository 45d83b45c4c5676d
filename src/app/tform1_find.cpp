// Finding cards and taking back deletes.
#include "app/tform1.h"

#include "deck/sjis_codec.h"
#include "view/find_bar.h"
#include "view/list_grid.h"

#include <QAction>
#include <QBoxLayout>
#include <QMenu>

void TForm1::CreateFindBar(QMenu *cardMenu) {
    findBar_ = new FindBar(deck_.Cards(), GridHyouji, centralWidget());
    // Between the view and the bottom strip; it is only shown with the list.
    if (auto *column = qobject_cast<QBoxLayout *>(centralWidget()->layout()))
        column->insertWidget(1, findBar_);
    cardMenu->addSeparator()->setObjectName(QStringLiteral("N_Find"));
    QAction *find = cardMenu->addAction(QStringLiteral("検索..."));
    find->setObjectName(QStringLiteral("men_Card_Find"));
    find->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(find, &QAction::triggered, this, &TForm1::ClickFind);
    QAction *undo = cardMenu->addAction(QStringLiteral("元に戻す"));
    undo->setObjectName(QStringLiteral("men_Card_Undo"));
    // A text box or list cell being edited keeps Ctrl+Z for its own undo.
    undo->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(undo, &QAction::triggered, this, &TForm1::ClickTakeBackDelete);
}

// The list is where a card is found and edited: the other views switch to it first.
void TForm1::ClickFind() {
    QWidget *focused = focusWidget();
    if (drill_.DisplayPattern() != PatternList)
        ClickPanelPattern(5); // the list's entry in SelectBox
    findBar_->Open(focused);
}

void TForm1::ClickTakeBackDelete() {
    TMondaiSet *card = drill_.TakeBackDelete();
    if (!card) {
        ShowStatus(QStringLiteral("元に戻せる削除はありません。"));
        return;
    }
    QString question = sjis::ToDisplay(DisplayForm(card->Mondai())).text.simplified();
    if (question.size() > 30)
        question = question.left(30) + QStringLiteral("…");
    ShowStatus(QStringLiteral("%1 番目のカード「%2」を元に戻しました。")
                   .arg(drill_.CardNumber(card))
                   .arg(question));
}
