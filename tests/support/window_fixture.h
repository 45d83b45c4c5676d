#pragma once

#include "app/tform1.h"
#include "ui/scripted_prompts.h"
#include "view/drill_controls.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

class QWidget;
class TMyMemo;

// Day 40000 (2009-07-06): the tests' today.
constexpr qint32 TestToday = 40000;

// Writes `utf8Lines` as a Shift-JIS deck file (CR LF after every line) and returns its path.
QString WriteDeck(const QTemporaryDir &dir, const QString &name, const QStringList &utf8Lines);
// The file's lines, decoded to UTF-8, without line ends.
QStringList ReadDeck(const QString &path);

// A shown main window with a fixed clock and scripted prompts, on its own temporary folder.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Opens a deck of the given lines (written as deck.csv) in the window.
    QString OpenDeck(const QStringList &lines, const QString &name = QStringLiteral("deck.csv"));

    template <typename T = QWidget> T *Find(const char *name) const {
        T *found = form->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    // Gives the window this outer size (the frame included, as the layout counts it).
    void ResizeOuter(int width, int height);
    void Click(const char *buttonName);
    void Trigger(const char *actionName);
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void Wheel(int delta, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    TMyMemo *Memo(int kind, int row) const;
    QString Text(int kind, int row) const;
    QString LabelText(const char *name) const;
    // The question of the current card, or empty.
    QString Current() const;
    QStringList Queue() const;
    // The deck's questions in deck order, and how many cards it has.
    QStringList Cards() const;
    std::size_t CardCount() const;
    // The note the status line shows now.
    QString Status() const;

    QTemporaryDir dir;
    ScriptedPrompts prompts;
    std::unique_ptr<TForm1> form;
};
