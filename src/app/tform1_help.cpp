// Hints and help comments; the Help menu itself is HelpMenu's.
#include "app/help_menu.h"
#include "app/tform1.h"
#include "view/card_view.h"
#include "view/hint_tracker.h"
#include "view/status_notice.h"

#include <QLabel>
#include <QStatusBar>

void TForm1::CreateHints() {
    hints_ = new HintTracker(this);
    connect(hints_, &HintTracker::hintChanged, this, &TForm1::MyMenuShowHint);
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
    helpMenu_->MarkComment(HelpComment);
    ApplyHelpComments(*this, *cells_, HelpComment);
}

HelpPage &TForm1::Help() {
    return helpMenu_->Page();
}
