// The main menu and the card boxes' context menu.
#include "app/tform1.h"

#include "app/deck_file_menu.h"
#include "app/help_menu.h"
#include "edit/card_commands.h"

#include "edit/card_popup_menu.h"
#include "overview/learning_progress.h"
#include "speech/speech_output.h"
#include "ui/menu_items.h"
#include "view/answer_modes.h"
#include "view/card_view.h"
#include "view/drill_input.h"
#include "view/font_settings.h"

#include <QMenu>
#include <QMenuBar>

// The owners of the commands: each holds its menu items and reaches the window only through
// what it is handed here.
void TForm1::CreateCommandOwners() {
    drillInput_ = new DrillInput(
        drill_, {[this] { ParkFocus(); }, [this] { StopCardSound(); }, [this] { return Yajirusi; }},
        this);
    helpMenu_ = new HelpMenu(*this, prompts_, [this] { ClickHelpComment(); });
}

// Each owner adds its own items; the menus keep the order the user knows.
void TForm1::CreateMenus() {
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("MainMenu1"));

    fileMenu_->Create(bar);
    fonts_->CreateMenu(bar);

    QMenu *card = AddMenu(bar, "men_Card", QStringLiteral("操作(&C)"));
    drillInput_->AddStepItems(card);
    cardCommands_->AddItems(card);

    settingsMenu_ = AddMenu(bar, "men_Other", QStringLiteral("設定(&T)"));
    speechItems_ = AddSpeechMenu(settingsMenu_);
    drillInput_->AddOrderMenu(settingsMenu_);
    modes_->CreateMenus(settingsMenu_);
    connect(AddItem(settingsMenu_, "men_Other_Study", QStringLiteral("学習の設定...")),
            &QAction::triggered, this, &TForm1::ClickStudySettings);

    QMenu *keisan = AddMenu(bar, "men_Keisan", QStringLiteral("計算(&K)"));
    drillInput_->AddResetItem(keisan);
    connect(AddItem(keisan, "men_Keisan_Progress", QStringLiteral("学習状況(&L)..."),
                    QKeySequence(Qt::CTRL | Qt::Key_L)),
            &QAction::triggered, progress_.get(), &LearningProgress::ShowWindow);

    helpMenu_->Create(bar);
}

void TForm1::CreatePopupMenu() {
    PopupMenu1 = new CardPopupMenu(this);
    PopupMenu1->SetBookmarkQuery([this] { return drill_.BookmarkCard() != nullptr; });
    cardCommands_->ConnectPopup(*PopupMenu1);
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
