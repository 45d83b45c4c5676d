#pragma once

#include "view/wheel_notches.h"

#include <QObject>

#include <functional>

class Drill;
class QAction;
class QMenu;

// The drill as the user steps it: the step items of the card menu, the question order, starting
// every card over, the arrow keys and the mouse wheel. Each command leaves any card box first.
class DrillInput : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void()> parkFocus; // a command takes the focus out of the card boxes
        std::function<void()> stopSound; // a step silences a playing card sound
        std::function<bool()> arrowKeys; // whether the arrow keys drill (矢印キー)
    };
    DrillInput(Drill &drill, Hooks hooks, QObject *parent = nullptr);

    // The items, each added where its menu lists it.
    void AddStepItems(QMenu *cardMenu);     // すすめ, できた, 最初にもどる
    void AddOrderMenu(QMenu *settingsMenu); // 出題の順序
    void AddResetItem(QMenu *calcMenu);     // すべてを復習対象に

    void Susume();
    void Dekita();
    void Modoru();
    void ResetAll();
    void SetOrder(int jyun);
    // Ticks the order the drill asks in.
    void MarkOrder(int jyun);

    // An arrow key meant for the drill; true when it was consumed.
    bool TakeKey(int key, Qt::KeyboardModifiers modifiers);
    // A wheel event over the card view: only whole notches step, so a fine-grained wheel or a
    // touchpad does not race through the cards.
    void TakeWheel(int angleDelta, Qt::KeyboardModifiers modifiers);
    // One notch: towards the user the next card, away the first; with Ctrl the bookmark.
    void WheelStep(int delta, Qt::KeyboardModifiers modifiers);

private:
    Drill &drill_;
    Hooks hooks_;
    WheelNotches notches_;
    QAction *orderNormal_ = nullptr;
    QAction *orderRandom_ = nullptr;
};
