#include "app/help_menu.h"

#include "app/about_box.h"
#include "app/help_page.h"
#include "ui/menu_items.h"
#include "ui/prompts.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

HelpMenu::HelpMenu(QWidget &window, Prompts &prompts, std::function<void(bool)> showComments)
    : QObject(&window), window_(window), prompts_(prompts), showComments_(std::move(showComments)),
      page_(std::make_unique<HelpPage>()) {}

HelpMenu::~HelpMenu() = default;

void HelpMenu::Create(QWidget *menuBar) {
    QMenu *help = AddMenu(menuBar, "men_Help", QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    comment_ =
        AddCheckItem(help, "men_Help_Comment", QStringLiteral("ﾍﾙﾌﾟｺﾒﾝﾄ表示"), commentsShown_);
    connect(comment_, &QAction::triggered, this, [this] { ShowComments(!commentsShown_); });
    connect(
        AddItem(help, "men_Help_topic", QStringLiteral("ﾄﾋﾟｯｸの検索"), QKeySequence(Qt::Key_F1)),
        &QAction::triggered, this, &HelpMenu::OpenManual);
    connect(AddItem(help, "men_Help_Version", QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報...")),
            &QAction::triggered, this, &HelpMenu::ShowVersion);
}

void HelpMenu::ShowComments(bool on) {
    commentsShown_ = on;
    if (comment_)
        comment_->setChecked(on);
    showComments_(on);
}

// A browser may report its failure after the window is gone.
void HelpMenu::OpenManual() {
    QPointer<HelpMenu> self(this);
    page_->Open(
        [self](const QString &path) {
            if (self)
                self->prompts_.Warning(&self->window_, HelpPageNotOpenedMessage(path));
        },
        [this](const QStringList &lookedIn) {
            prompts_.Warning(&window_, HelpPageMissingMessage(lookedIn));
        });
}

void HelpMenu::ShowVersion() {
    prompts_.Message(&window_, AboutRequest());
}
