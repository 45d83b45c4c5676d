#pragma once

#include "app/tform1.h"
#include "monkey/deck_invariants.h"
#include "monkey/hostile_input.h"
#include "ui/prompts.h"

#include <QTemporaryDir>
#include <QTimer>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class WindowMonkey;

// Notes every card the drill marks, passes or takes back, and passes the news on to the
// window's own listener (the review log).
class MarkWatcher : public AnswerObserver {
public:
    explicit MarkWatcher(AnswerObserver *next) : next_(next) {}
    void CardAnswered(const TMondaiSet &card, AnswerKind kind, qint32 dueBefore) override;
    void DeckStarted() override;

    std::vector<const TMondaiSet *> marked;

private:
    AnswerObserver *next_;
};

// Answers every box and file dialog with a random choice of what it offers.
class MonkeyPrompts : public Prompts {
public:
    explicit MonkeyPrompts(WindowMonkey &monkey) : monkey_(monkey) {}
    PromptButton Message(QWidget *parent, const MessageRequest &request) override;
    QString OpenFileName(QWidget *parent, const FileRequest &request) override;
    QString SaveFileName(QWidget *parent, const FileRequest &request) override;
    std::optional<QFont> ChooseFont(QWidget *parent, const QFont &initial,
                                    const QString &caption) override;

private:
    PromptButton Answer(QWidget *parent, const MessageRequest &request);
    WindowMonkey &monkey_;
};

// Drives one main window through random user input, checking the deck after every step.
class WindowMonkey {
public:
    explicit WindowMonkey(quint64 seed);
    ~WindowMonkey();

    // Runs up to `steps` steps; false at the first broken rule, with Failure() saying which.
    // `stepDone` is called after every step.
    bool Run(int steps, const std::function<void()> &stepDone = {});
    int StepsRun() const { return stepsRun_; }
    const QString &Failure() const { return failure_; }
    // What each step did, in order, one line each.
    const std::vector<std::string> &Log() const { return log_; }
    void Note(const QString &line);

    MonkeyRng rng;
    bool deckOpened = false;     // during the current step
    bool resetConfirmed = false; // during the current step
    std::unique_ptr<HostileFiles> files;

private:
    void NewWindow();
    void Step();
    void Check();
    // The cards the coming step may change by hand: those under the focus, the list's current
    // cell and the context menu.
    std::vector<const TMondaiSet *> TouchableCards() const;
    void AddTouchable();
    void HandleDialog();
    void HandleMenuLoop(QWidget *menu);

    // --- the kinds of step ---
    void DrillKey();
    void WheelTurn();
    void CtrlShortcut();
    void PlainKey();
    void MenuByKeyboard();
    void ClickSomewhere();
    void SwitchPattern();
    void TriggerAction();
    void TypeIntoCard();
    void EditListCell();
    void PasteHere();
    void FindInList();
    void AnswerInMode();

    QWidget *KeyTarget() const;
    void SendKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    void TypeText(const QString &text);
    void Paste(const QString &text);
    void Settle();
    void ActivateWindow();

    QTemporaryDir dir_;
    MonkeyPrompts prompts_;
    std::unique_ptr<TForm1> form_;
    QTimer dialogTimer_;
    int dialogSteps_ = 0;
    std::vector<std::string> log_;
    QString failure_;
    int stepsRun_ = 0;
    CardTextMap before_;
    CardRecordMap recordsBefore_;
    const TMondaiSet *currentBefore_ = nullptr;
    std::unique_ptr<MarkWatcher> marks_;
    std::vector<const TMondaiSet *> touchable_;
    FileStamp stampBefore_;
    QString fileBefore_;
};

// Installs handlers that print the seed and the steps so far when the program dies.
void InstallCrashReport(const quint64 *seed, const std::vector<std::string> *const *log);
