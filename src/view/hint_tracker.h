#pragma once

#include <QList>
#include <QObject>
#include <QString>

class CardView;
class QWidget;

// Tooltip switches. A widget follows the switch of its container unless it has one of its own;
// a window takes part only once it has its own switch.
void SetToolTipSwitch(QWidget *widget, bool on);
bool ToolTipSwitch(const QWidget *widget);

// Gives the add-card dialog its hints and its tooltip switch; called each time before it opens,
// so a change of the help-comment mode shows at the next opening.
void SetAddDialogHints(QWidget &dialog, bool helpComment);
// Gives the main window its hints (a control missing its hint is logged); the controls of
// `alwaysOn` explain themselves whatever the help-comment mode.
void ApplyMainWindowHints(QWidget &window, const QList<QWidget *> &alwaysOn);
// Switches the help comments of the main window and of every card text box in it.
void ApplyHelpComments(QWidget &window, const CardView &cells, bool on);

// The tooltip shown for a pointer resting on `under`: the nearest widget whose switch is on
// gives it, with the tooltip text of itself or of its nearest container that has a hint.
// Empty when there is none.
QString ToolTipFor(const QWidget *under);

// The status part of the hint of `widget` or of its nearest container that has a hint.
QString StatusHintFor(const QWidget *widget);

// Shows the tooltips of the windows that have a switch, and keeps the main window's current hint:
// the status part of the menu entry being highlighted or of the control under the pointer.
class HintTracker : public QObject {
    Q_OBJECT
public:
    explicit HintTracker(QWidget *mainWindow);
    ~HintTracker() override;

    const QString &CurrentHint() const { return current_; }
    void SetCurrentHint(const QString &hint);

Q_SIGNALS:
    void hintChanged(const QString &hint);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool IsMainWindowWidget(const QObject *object) const;
    bool ShowToolTip(QWidget *under, const QPoint &globalPos);

    QWidget *mainWindow_;
    QString current_;
};
