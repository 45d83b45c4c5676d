#pragma once

#include "ui/scripted_prompts.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <deque>

// Shows the real message boxes and answers each with one key, as a user at the keyboard would
// (Enter unless told otherwise). Records what was asked and which button the box reported.
class KeyedBoxPrompts : public ScriptedPrompts {
public:
    void PressNext(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        keys_.push_back({key, modifiers});
    }

    PromptButton Message(QWidget *parent, const MessageRequest &request) override {
        asked.push_back(request);
        const KeyPress press =
            keys_.empty() ? KeyPress{Qt::Key_Return, Qt::NoModifier} : keys_.front();
        if (!keys_.empty())
            keys_.pop_front();
        QTimer::singleShot(0, [press] {
            const QPointer<QWidget> box = QApplication::activeModalWidget();
            Press(box, press.key, press.modifiers);
            // A key the box takes without closing (an arrow) is followed by Esc, late enough
            // for the animated click of a mnemonic letter.
            QTimer::singleShot(500, [box] {
                if (box && box == QApplication::activeModalWidget())
                    Press(box, Qt::Key_Escape, Qt::NoModifier);
            });
        });
        const PromptButton answer = QtPrompts().Message(parent, request);
        answers.push_back(answer);
        // As a window manager does, the window under the box becomes active again.
        if (parent)
            QApplication::setActiveWindow(parent->window());
        return answer;
    }

    std::vector<PromptButton> answers;

private:
    static void Press(QWidget *box, int key, Qt::KeyboardModifiers modifiers) {
        if (box)
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key(key), modifiers);
    }
    struct KeyPress {
        int key;
        Qt::KeyboardModifiers modifiers;
    };
    std::deque<KeyPress> keys_;
};
