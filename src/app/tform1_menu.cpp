// The main menu and the card boxes' context menu.
#include "app/tform1.h"

#include "edit/card_popup_menu.h"
#include "overview/learning_progress.h"
#include "view/answer_modes.h"
#include "view/card_view.h"
#include "view/font_settings.h"

#include <QMenu>
#include <QMenuBar>

namespace {
// Hints come from the hint table once the window is built.
QMenu *AddMenu(QWidget *parent, const char *name, const QString &caption) {
    auto *menu = new QMenu(caption, parent);
    menu->setObjectName(QString::fromLatin1(name));
    menu->menuAction()->setObjectName(QString::fromLatin1(name));
    if (auto *bar = qobject_cast<QMenuBar *>(parent))
        bar->addMenu(menu);
    else if (auto *owner = qobject_cast<QMenu *>(parent))
        owner->addMenu(menu);
    return menu;
}

QAction *AddItem(QMenu *menu, const char *name, const QString &caption,
                 const QKeySequence &shortcut = {}) {
    QAction *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    return action;
}

QAction *AddCheckItem(QMenu *menu, const char *name, const QString &caption, bool checked) {
    QAction *action = AddItem(menu, name, caption);
    action->setCheckable(true);
    action->setChecked(checked);
    return action;
}

void AddSeparator(QMenu *menu, const char *name) {
    menu->addSeparator()->setObjectName(QString::fromLatin1(name));
}
} // namespace

void TForm1::CreateMenus() {
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    QMenu *file = AddMenu(bar, "File1", QStringLiteral("ﾌｧｲﾙ(&F)"));
    connect(AddItem(file, "men_File_Open", QStringLiteral("開く(&O)..."),
                    QKeySequence(Qt::CTRL | Qt::Key_O)),
            &QAction::triggered, this, &TForm1::ClickOpen);
    connect(AddItem(file, "men_File_Save", QStringLiteral("上書き保存(&S)"),
                    QKeySequence(Qt::CTRL | Qt::Key_S)),
            &QAction::triggered, this, &TForm1::ClickSaveFile);
    connect(AddItem(file, "men_File_SaveAs", QStringLiteral("名前を付けて保存(&A)...")),
            &QAction::triggered, this, &TForm1::ClickSaveAsFile);
    AddSeparator(file, "N1");
    // Keeps the recent entries at positions 5 to 9, where the settings file counts them.
    file->addSeparator()->setObjectName(QStringLiteral("N2"));
    file->actions().last()->setVisible(false);
    for (int entry = 1; entry <= 5; ++entry) {
        const QByteArray name = "men_File_" + QByteArray::number(entry);
        QAction *recent = AddItem(file, name.constData(), QString());
        recent->setVisible(false);
        connect(recent, &QAction::triggered, this, [this, entry] { ClickOpenFileName(entry); });
    }
    AddSeparator(file, "N3");
    CreateExchangeMenu(file);
    connect(AddItem(file, "Exit1", QStringLiteral("終了(&X)"), QKeySequence(Qt::CTRL | Qt::Key_Q)),
            &QAction::triggered, this, &TForm1::ClickExit);

    QMenu *fontMenu = AddMenu(bar, "men_Font", QStringLiteral("ﾌｫﾝﾄ(&E)"));
    for (int size : {9, 10, 12, 16, 24, 36}) {
        const QByteArray name = "mem_Font_" + QByteArray::number(size);
        AddCheckItem(fontMenu, name.constData(), QString::number(size), size == 12);
    }
    AddSeparator(fontMenu, "N4");
    AddCheckItem(fontMenu, "mem_Font_Left", QStringLiteral("左揃え"), false);
    AddCheckItem(fontMenu, "mem_Font_Center", QStringLiteral("中揃え"), true);
    AddSeparator(fontMenu, "N5");
    QMenu *fontSetting = AddMenu(fontMenu, "mem_Font_Setting", QStringLiteral("ﾌｫﾝﾄの詳細設定"));
    AddItem(fontSetting, "mem_Font_Setting_MondaiKaitou", QStringLiteral("問題と解答..."));
    AddItem(fontSetting, "mem_Font_Setting_Mondai", QStringLiteral("問題..."));
    AddItem(fontSetting, "mem_Font_Setting_Kaitou", QStringLiteral("解答..."));
    fonts_->ConnectMenu(fontMenu);

    QMenu *card = AddMenu(bar, "men_Card", QStringLiteral("操作(&C)"));
    connect(AddItem(card, "men_Card_Susume", QStringLiteral("すすめ")), &QAction::triggered, this,
            &TForm1::ClickSusume);
    connect(AddItem(card, "men_Card_Dekita", QStringLiteral("できた")), &QAction::triggered, this,
            &TForm1::ClickDekita);
    connect(AddItem(card, "men_Card_Modoru", QStringLiteral("最初にもどる")), &QAction::triggered,
            this, &TForm1::ClickModoru);
    AddSeparator(card, "N6");
    AddItem(card, "men_Card_Delete", QStringLiteral("カード削除"),
            QKeySequence(Qt::CTRL | Qt::Key_D));
    connect(AddItem(card, "men_Card_Insert", QStringLiteral("カード追加..."),
                    QKeySequence(Qt::CTRL | Qt::Key_N)),
            &QAction::triggered, this, &TForm1::ClickInsertCard);
    connect(card, &QMenu::aboutToShow, this, &TForm1::men_CardClick);
    // The enabling is for the open menu; the keys stay live and their commands check for
    // themselves, so a state seen at the last opening never holds a key back.
    connect(card, &QMenu::aboutToHide, this, [card] {
        for (const char *name : {"men_Card_Delete", "men_Card_Insert", "men_Card_Undo"})
            card->findChild<QAction *>(QLatin1String(name))->setEnabled(true);
    });

    QMenu *other = AddMenu(bar, "men_Other", QStringLiteral("設定(&T)"));
    QMenu *speak = AddMenu(other, "men_Other_Speak", QStringLiteral("発音を聞く"));
    AddCheckItem(speak, "men_Other_SpeakMondai", QStringLiteral("問題"), false);
    AddCheckItem(speak, "men_Other_SpeakKaitou", QStringLiteral("解答"), false);
    AddItem(speak, "men_Other_SpeakSetting", QStringLiteral("発音の設定詳細..."));
    QMenu *order = AddMenu(other, "men_Set_jyun", QStringLiteral("出題の順序"));
    men_Set_jyunNormal =
        AddCheckItem(order, "men_Set_jyunNormal", QStringLiteral("ノーマル"), true);
    men_Set_jyunRandom =
        AddCheckItem(order, "men_Set_jyunRandom", QStringLiteral("ランダム"), false);
    connect(men_Set_jyunNormal, &QAction::triggered, this, &TForm1::SetOrderNormal);
    connect(men_Set_jyunRandom, &QAction::triggered, this, &TForm1::SetOrderRandom);
    modes_->CreateMenus(other);
    connect(AddItem(other, "men_Other_Study", QStringLiteral("学習の設定...")), &QAction::triggered,
            this, &TForm1::ClickStudySettings);

    QMenu *keisan = AddMenu(bar, "men_Keisan", QStringLiteral("計算(&K)"));
    connect(AddItem(keisan, "mem_Keisan_RefreshCard", QStringLiteral("すべてを復習対象に...")),
            &QAction::triggered, this, &TForm1::ClickRefreshCard);
    connect(AddItem(keisan, "men_Keisan_Progress", QStringLiteral("学習状況(&L)..."),
                    QKeySequence(Qt::CTRL | Qt::Key_L)),
            &QAction::triggered, progress_.get(), &LearningProgress::ShowWindow);

    QMenu *help = AddMenu(bar, "men_Help", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    AddCheckItem(help, "men_Help_Comment", QStringLiteral("ﾍﾙﾌﾟｺﾒﾝﾄ表示"), true);
    AddItem(help, "men_Help_topic", QStringLiteral("ﾄﾋﾟｯｸの検索"), QKeySequence(Qt::Key_F1));
    AddItem(help, "men_Help_Version", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報..."));
}

void TForm1::CreatePopupMenu() {
    PopupMenu1 = new CardPopupMenu(this);
    PopupMenu1->SetBookmarkQuery([this] { return drill_.BookmarkCard() != nullptr; });
    connect(PopupMenu1->Item("pop_Tuika"), &QAction::triggered, this, &TForm1::pop_TuikaClick);
}

void TForm1::ConnectCells() {
    cells_->ForEachMemo([this](TMyMemo *memo) {
        connect(memo, &QPlainTextEdit::textChanged, this, [this, memo] { OnCha(memo); });
        connect(memo, &TMyMemo::doubleClicked, this, &TForm1::MyMemoDblClick);
        memo->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(memo, &QWidget::customContextMenuRequested, this, [this, memo](const QPoint &at) {
            PopupMenu1->OpenOverMemo(memo, memo->mapToGlobal(at));
        });
    });
}
