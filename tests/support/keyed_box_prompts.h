#pragma once

#include "ui/scripted_prompts.h"

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <deque>
#include <vector>

// Shows the real message boxes and answers each with one key, as a user at the keyboard would
// (Enter unless told otherwise). Records what was asked and which button the box reported.
class KeyedBoxPrompts : public ScriptedPrompts {
public:
    void PressNext(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        presses_.push_back({{key, modifiers}});
    }
    // Several keys into the same box, one after another, each to whatever has the focus then.
    void PressNextInTurn(const std::vector<int> &keys) {
        std::vector<KeyPress> sequence;
        for (const int key : keys)
            sequence.push_back({key, Qt::NoModifier});
        presses_.push_back(std::move(sequence));
    }

    PromptButton Message(QWidget *parent, const MessageRequest &request) override {
        asked.push_back(request);
        std::vector<KeyPress> sequence{{Qt::Key_Return, Qt::NoModifier}};
        if (!presses_.empty()) {
            sequence = presses_.front();
            presses_.pop_front();
        }
        QTimer::singleShot(0, [sequence] {
            const QPointer<QWidget> box = QApplication::activeModalWidget();
            for (const KeyPress &press : sequence)
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
    struct KeyPress {
        int key;
        Qt::KeyboardModifiers modifiers;
    };
    static void Press(QWidget *box, int key, Qt::KeyboardModifiers modifiers) {
        if (box && box->isVisible())
            QTest::keyClick(box->focusWidget() ? box->focusWidget() : box, Qt::Key(key), modifiers);
    }
    std::deque<std::vector<KeyPress>> presses_;
};
