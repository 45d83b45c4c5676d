#include "view/status_notice.h"

#include "view/hint_tracker.h"

#include <QStatusBar>

StatusNotice::StatusNotice(QStatusBar *bar) : QObject(bar), bar_(bar) {}

void StatusNotice::Show(const QString &text, const QString &details) {
    text_ = text;
    details_ = details;
    bar_->setToolTip(ToolTip());
    // The whole notice is in the tooltip, whatever the help-comment mode.
    SetToolTipSwitch(bar_, true);
    bar_->showMessage(text_);
}

bool StatusNotice::ShowOnce(const QString &topic, const QString &text, const QString &details) {
    if (toldTopics_.contains(topic))
        return false;
    toldTopics_.insert(topic);
    Show(text, details);
    return true;
}

void StatusNotice::ShowNote(const QString &note) {
    bar_->showMessage(note.isEmpty() ? text_ : note);
}

QString StatusNotice::ToolTip() const {
    if (details_.isEmpty())
        return text_;
    return text_ + QLatin1Char('\n') + details_;
}
