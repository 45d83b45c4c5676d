#include "view/hint_tracker.h"

#include "view/card_view.h"
#include "view/hint_table.h"

#include <QApplication>
#include <QHelpEvent>
#include <QMenu>
#include <QStatusTipEvent>
#include <QToolTip>
#include <QVariant>
#include <QWidget>

namespace {

constexpr char SwitchProperty[] = "kardeonToolTipSwitch";

std::optional<bool> OwnSwitch(const QWidget *widget) {
    const QVariant value = widget->property(SwitchProperty);
    if (!value.isValid())
        return std::nullopt;
    return value.toBool();
}

bool HasHint(const QWidget *widget) {
    return !widget->toolTip().isEmpty() || !widget->statusTip().isEmpty();
}

const QWidget *NearestWithHint(const QWidget *widget) {
    while (widget && !HasHint(widget))
        widget = widget->parentWidget();
    return widget;
}

bool TakesPart(const QWidget *widget) {
    return OwnSwitch(widget->window()).has_value();
}

} // namespace

void SetToolTipSwitch(QWidget *widget, bool on) {
    widget->setProperty(SwitchProperty, on);
}

void SetAddDialogHints(QWidget &dialog, bool helpComment) {
    ApplyHints(dialog, AddDialogHints());
    SetToolTipSwitch(&dialog, helpComment);
}

void ApplyMainWindowHints(QWidget &window, const QList<QWidget *> &alwaysOn) {
    const QStringList missing = ApplyHints(window, MainWindowHints());
    if (!missing.isEmpty())
        qWarning("Controls without their hint: %s", qPrintable(missing.join(u' ')));
    for (QWidget *always : alwaysOn)
        SetToolTipSwitch(always, true);
}

void ApplyHelpComments(QWidget &window, const CardView &cells, bool on) {
    SetToolTipSwitch(&window, on);
    cells.ForEachMemo([on](TMyMemo *memo) { SetToolTipSwitch(memo, on); });
}

bool ToolTipSwitch(const QWidget *widget) {
    for (; widget; widget = widget->parentWidget()) {
        if (const std::optional<bool> own = OwnSwitch(widget))
            return *own;
        if (widget->isWindow())
            break;
    }
    return false;
}

QString ToolTipFor(const QWidget *under) {
    const QWidget *owner = under;
    while (owner && !ToolTipSwitch(owner))
        owner = owner->isWindow() ? nullptr : owner->parentWidget();
    const QWidget *source = NearestWithHint(owner);
    return source ? source->toolTip() : QString();
}

QString StatusHintFor(const QWidget *widget) {
    const QWidget *source = NearestWithHint(widget);
    return source ? source->statusTip() : QString();
}

HintTracker::HintTracker(QWidget *mainWindow) : QObject(mainWindow), mainWindow_(mainWindow) {
    qApp->installEventFilter(this);
}

HintTracker::~HintTracker() {
    qApp->removeEventFilter(this);
}

void HintTracker::SetCurrentHint(const QString &hint) {
    if (hint == current_)
        return;
    current_ = hint;
    Q_EMIT hintChanged(current_);
}

// The main window's widgets, and the menus it owns (they are windows of their own).
bool HintTracker::IsMainWindowWidget(const QObject *object) const {
    for (; object; object = object->parent())
        if (object == mainWindow_)
            return true;
    return false;
}

bool HintTracker::ShowToolTip(QWidget *under, const QPoint &globalPos) {
    const QString text = ToolTipFor(under);
    if (text.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(globalPos, text, under, under->rect(), ToolTipMillis);
    return true;
}

bool HintTracker::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::ToolTip:
        if (auto *widget = qobject_cast<QWidget *>(watched); widget && TakesPart(widget))
            return ShowToolTip(widget, static_cast<QHelpEvent *>(event)->globalPos());
        break;
    case QEvent::StatusTip:
        if (IsMainWindowWidget(watched)) {
            SetCurrentHint(static_cast<QStatusTipEvent *>(event)->tip());
            return true;
        }
        break;
    case QEvent::Enter:
        if (auto *widget = qobject_cast<QWidget *>(watched);
            widget && widget->window() == mainWindow_)
            SetCurrentHint(StatusHintFor(widget));
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
