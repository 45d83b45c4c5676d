// Hints, help comments, the help page and the version box.
#include "app/about_box.h"
#include "app/help_page.h"
#include "app/tform1.h"
#include "ui/prompts.h"
#include "view/card_view.h"
#include "view/hint_tracker.h"
#include "view/status_notice.h"

#include <QAction>
#include <QLabel>
#include <QPointer>
#include <QStatusBar>

void TForm1::CreateHints() {
    hints_ = new HintTracker(this);
    connect(hints_, &HintTracker::hintChanged, this, &TForm1::MyMenuShowHint);
    helpPage_ = std::make_unique<HelpPage>();
    auto *comment = findChild<QAction *>(QStringLiteral("men_Help_Comment"));
    connect(comment, &QAction::triggered, this, &TForm1::ClickHelpComment);
    connect(findChild<QAction *>(QStringLiteral("men_Help_topic")), &QAction::triggered, this,
            &TForm1::men_Help_topicClick);
    connect(findChild<QAction *>(QStringLiteral("men_Help_Version")), &QAction::triggered, this,
            &TForm1::ClickAbout);
}

void TForm1::SetMainWindowHints() {
    // The record labels explain themselves whatever the help-comment mode.
    ApplyMainWindowHints(*this, {Panel_Under, fBangou, fBangou2});
}

void TForm1::MyMenuShowHint(const QString &hint) {
    notice_->ShowNote(hint);
}

void TForm1::ClickHelpComment() {
    HelpComment = !HelpComment;
    ApplyHelpComment();
}

void TForm1::ApplyHelpComment() {
    if (auto *comment = findChild<QAction *>(QStringLiteral("men_Help_Comment")))
        comment->setChecked(HelpComment);
    ApplyHelpComments(*this, *cells_, HelpComment);
}

void TForm1::men_Help_topicClick() {
    QPointer<TForm1> self(this);
    helpPage_->Open(
        [self](const QString &path) {
            if (self)
                self->prompts_.Warning(self, HelpPageNotOpenedMessage(path));
        },
        [this](const QStringList &lookedIn) {
            prompts_.Warning(this, HelpPageMissingMessage(lookedIn));
        });
}

void TForm1::ClickAbout() {
    prompts_.Message(this, AboutRequest());
}
