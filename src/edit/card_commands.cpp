#include "edit/card_commands.h"

#include "deck/sjis_codec.h"
#include "drill/drill.h"
#include "edit/card_menu_state.h"
#include "edit/card_popup_menu.h"
#include "ui/menu_items.h"

#include <QAction>
#include <QMenu>

CardCommands::CardCommands(Drill &drill, Handlers handlers, QObject *parent)
    : QObject(parent), drill_(drill), handlers_(std::move(handlers)) {}

void CardCommands::AddItems(QMenu *cardMenu) {
    AddSeparator(cardMenu, "N6");
    delete_ = AddItem(cardMenu, "men_Card_Delete", QStringLiteral("カード削除"),
                      QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(delete_, &QAction::triggered, this, [this] { handlers_.remove(); });
    insert_ = AddItem(cardMenu, "men_Card_Insert", QStringLiteral("カード追加..."),
                      QKeySequence(Qt::CTRL | Qt::Key_N));
    connect(insert_, &QAction::triggered, this, [this] { handlers_.insert(); });
    AddSeparator(cardMenu, "N_Find");
    QAction *find = AddItem(cardMenu, "men_Card_Find", QStringLiteral("検索..."),
                            QKeySequence(Qt::CTRL | Qt::Key_F));
    connect(find, &QAction::triggered, this, [this] { handlers_.find(); });
    // A text box or list cell being edited keeps Ctrl+Z for its own undo.
    undo_ = AddItem(cardMenu, "men_Card_Undo", QStringLiteral("元に戻す"),
                    QKeySequence(Qt::CTRL | Qt::Key_Z));
    connect(undo_, &QAction::triggered, this, &CardCommands::TakeBackDelete);
    connect(cardMenu, &QMenu::aboutToShow, this, &CardCommands::EnableForState);
    // The enabling is for the open menu; the keys stay live and their commands check for
    // themselves, so a state seen at the last opening never holds a key back.
    connect(cardMenu, &QMenu::aboutToHide, this, &CardCommands::EnableAll);
}

void CardCommands::ConnectPopup(const CardPopupMenu &popup) {
    const CardPopupMenu::CardItems &items = popup.Items();
    connect(items.insert, &QAction::triggered, this, [this] { handlers_.popupInsert(); });
    connect(items.remove, &QAction::triggered, this, [this] { handlers_.popupRemove(); });
    connect(items.setBookmark, &QAction::triggered, this, [this] { handlers_.setBookmark(); });
    connect(items.moveToBookmark, &QAction::triggered, this, [this] { drill_.MoveToBookmark(); });
    connect(items.clearBookmark, &QAction::triggered, this, [this] { drill_.ClearBookmark(); });
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
        handlers_.status(QStringLiteral("元に戻せる削除はありません。"));
        return;
    }
    QString question = sjis::ToDisplay(DisplayForm(card->Mondai())).text.simplified();
    if (question.size() > 30)
        question = question.left(30) + QStringLiteral("…");
    handlers_.status(QStringLiteral("%1 番目のカード「%2」を元に戻しました。")
                         .arg(drill_.CardNumber(card))
                         .arg(question));
}
