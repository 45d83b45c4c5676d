#include "view/drill_input.h"

#include "drill/drill.h"
#include "ui/menu_items.h"

#include <QAction>
#include <QMenu>

#include <cstdlib>

DrillInput::DrillInput(Drill &drill, Hooks hooks, QObject *parent)
    : QObject(parent), drill_(drill), hooks_(std::move(hooks)) {}

void DrillInput::AddStepItems(QMenu *cardMenu) {
    connect(AddItem(cardMenu, "men_Card_Susume", QStringLiteral("すすめ")), &QAction::triggered,
            this, &DrillInput::Susume);
    connect(AddItem(cardMenu, "men_Card_Dekita", QStringLiteral("できた")), &QAction::triggered,
            this, &DrillInput::Dekita);
    connect(AddItem(cardMenu, "men_Card_Modoru", QStringLiteral("最初にもどる")),
            &QAction::triggered, this, &DrillInput::Modoru);
}

void DrillInput::AddOrderMenu(QMenu *settingsMenu) {
    QMenu *order = AddMenu(settingsMenu, "men_Set_jyun", QStringLiteral("出題の順序"));
    orderNormal_ = AddCheckItem(order, "men_Set_jyunNormal", QStringLiteral("ノーマル"), true);
    orderRandom_ = AddCheckItem(order, "men_Set_jyunRandom", QStringLiteral("ランダム"), false);
    connect(orderNormal_, &QAction::triggered, this, [this] { SetOrder(0); });
    connect(orderRandom_, &QAction::triggered, this, [this] { SetOrder(1); });
}

void DrillInput::AddResetItem(QMenu *calcMenu) {
    connect(AddItem(calcMenu, "mem_Keisan_RefreshCard", QStringLiteral("すべてを復習対象に...")),
            &QAction::triggered, this, &DrillInput::ResetAll);
}

void DrillInput::Susume() {
    hooks_.parkFocus();
    hooks_.stopSound();
    drill_.GoNext();
}

void DrillInput::Dekita() {
    hooks_.parkFocus();
    hooks_.stopSound();
    drill_.GoDone();
}

void DrillInput::Modoru() {
    hooks_.parkFocus();
    hooks_.stopSound();
    drill_.BackToStart();
}

void DrillInput::ResetAll() {
    hooks_.parkFocus();
    drill_.ResetAllCommand();
}

void DrillInput::SetOrder(int jyun) {
    hooks_.parkFocus();
    drill_.SetOrder(jyun);
    MarkOrder(drill_.Jyun()); // the click itself toggled the tick
}

void DrillInput::MarkOrder(int jyun) {
    if (!orderNormal_)
        return;
    orderNormal_->setChecked(jyun == 0);
    orderRandom_->setChecked(jyun == 1);
}

bool DrillInput::TakeKey(int key, Qt::KeyboardModifiers modifiers) {
    if (!hooks_.arrowKeys())
        return false;
    if (key == Qt::Key_Down || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Left)
        hooks_.stopSound();
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    switch (key) {
    case Qt::Key_Down:
        ctrl ? drill_.MoveToBookmark() : drill_.GoNext();
        return true;
    case Qt::Key_Right:
        drill_.GoDone();
        return true;
    case Qt::Key_Up:
        ctrl ? drill_.MoveToBookmark() : drill_.BackToStart();
        return true;
    case Qt::Key_Left:
        drill_.GoUndo();
        return true;
    default:
        return false;
    }
}

void DrillInput::TakeWheel(int angleDelta, Qt::KeyboardModifiers modifiers) {
    const int notches = notches_.Take(angleDelta);
    for (int i = 0; i < std::abs(notches); ++i)
        WheelStep(notches < 0 ? -WheelNotches::Notch : WheelNotches::Notch, modifiers);
}

void DrillInput::WheelStep(int delta, Qt::KeyboardModifiers modifiers) {
    hooks_.stopSound();
    if (modifiers.testFlag(Qt::ControlModifier))
        drill_.MoveToBookmark();
    else if (delta < -10)
        drill_.GoNext();
    else if (delta > 10)
        drill_.BackToStart();
}
