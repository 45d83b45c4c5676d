#pragma once

#include "drill/answer_check.h"
#include "drill/answer_choices.h"
#include "drill/drill_direction.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>
#include <optional>
#include <random>

class Deck;
class Drill;
class QAction;
class QEvent;
class QLabel;
class QStatusBar;
class QLineEdit;
class QMenu;
class QPushButton;
class QWidget;
struct AppSettings;

// How the learner answers: judging themselves (できた or not), typing the answer, or choosing
// it from four.
enum class AnswerMode { Judged = 0, Typed = 1, Choice = 2 };

// The drill modes: which side is asked, and how the learner answers. Every verdict goes through
// the drill's own steps (すすめ to show the answer, できた for a right one), so a card's record
// changes exactly as it would for the same verdict in the normal drill. The modes work in the
// main pattern; the sub and list patterns show both sides anyway and stay as they are.
class AnswerModes : public QObject {
    Q_OBJECT
public:
    AnswerModes(Drill &drill, Deck &deck, QWidget *parent);
    ~AnswerModes() override;

    // The box under the question, and the mode's note for the status line.
    QWidget *Panel() const { return panel_; }
    QLabel *StatusLabel() const { return statusLabel_; }
    // Puts the mode's note at the end of `statusLine`; a message needs the line's width (a
    // merge's count, a reload), so the note stands aside while one is shown.
    void ShowNoteIn(QStatusBar &statusLine);
    // The 出題の向き and 答え方 menus under `settingsMenu`.
    void CreateMenus(QMenu *settingsMenu);

    void Load(const AppSettings &settings);
    void Store(AppSettings &settings) const;

    // Before every drill step the modes take (the window silences a playing sound).
    void SetStepHook(std::function<void()> hook) { stepHook_ = std::move(hook); }
    // A note for the status line.
    void SetNotice(std::function<void(const QString &)> notice) { notice_ = std::move(notice); }
    // Redraws the window (after the direction changed).
    void SetRedraw(std::function<void()> redraw) { redraw_ = std::move(redraw); }
    // Gives the keyboard back to the window (Esc in the answer box).
    void SetLeaveBox(std::function<void()> leave) { leaveBox_ = std::move(leave); }
    void SetRandomEngine(std::mt19937 engine) { rng_ = engine; }

    // After every redraw: a new card gets a fresh box or fresh choices.
    void Refresh();
    // The typing mode gives the keyboard to its box while an answer is awaited.
    void FocusBox();

    // A key meant for the drill. Consumed: the modes took it; ToWidget: the answer box has the
    // keys, so the drill must leave it alone; NotMine: the drill's own keys apply.
    enum class KeyUse { NotMine, Consumed, ToWidget };
    KeyUse TakeKey(QObject *watched, int key, Qt::KeyboardModifiers modifiers);

    // --- commands ---
    DrillDirection Direction() const;
    void SetDirection(DrillDirection direction);
    void ToggleDirection();
    AnswerMode Mode() const { return mode_; }
    void SetMode(AnswerMode mode);
    bool KanaSame() const { return kanaSame_; }
    void SetKanaSame(bool same);
    // Enter in the typing mode: checks the typed answer, or, once checked, goes on.
    void Enter();
    // The choice `index` (0-3) of the four.
    void Choose(int index);
    // 正解にする: a wrong typed answer counts as right after all, once per card.
    void AcceptAsRight();

    // The mode in words, as the status line shows it.
    QString Description() const;
    // What the last check found (for the view and tests); empty before a check.
    const answercheck::Verdict &LastVerdict() const { return verdict_; }
    const std::optional<AnswerChoices> &Choices() const { return choices_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BuildPanel(QWidget *parent);
    bool Shown() const;
    void StartQuestion();
    void ShowRevealedWithoutAnswer();
    // Gives a verdict on the current card through the drill's steps.
    void GiveVerdict(bool right);
    void GoOn();
    void ShowTypedVerdict();
    void FitHeight();
    void MarkChoices(int chosen);
    void UpdateMenuMarks();
    void UpdateStatus();
    void Step(const std::function<void()> &step);

    Drill &drill_;
    Deck &deck_;
    AnswerMode mode_ = AnswerMode::Judged;
    bool kanaSame_ = false;
    std::mt19937 rng_{std::random_device{}()};

    // The card being asked, and how far its answer has come.
    const void *asked_ = nullptr;
    DrillDirection askedDirection_ = DrillDirection::QuestionFirst;
    AnswerMode askedMode_ = AnswerMode::Judged;
    bool answered_ = false;
    bool sawAnswer_ = false; // the answer was shown since the card was asked
    bool right_ = false;
    bool overridden_ = false;
    bool preedit_ = false; // the input method is composing in the box
    answercheck::Verdict verdict_;
    std::optional<AnswerChoices> choices_;

    QWidget *panel_ = nullptr;
    QWidget *typedRow_ = nullptr;
    QLineEdit *box_ = nullptr;
    QLabel *verdictLabel_ = nullptr;
    QPushButton *overrideButton_ = nullptr;
    QWidget *choiceRow_ = nullptr;
    std::array<QPushButton *, 4> choiceButtons_{};
    QLabel *statusLabel_ = nullptr;

    QAction *questionFirst_ = nullptr;
    QAction *answerFirst_ = nullptr;
    QAction *toggleDirection_ = nullptr;
    std::array<QAction *, 3> modeActions_{};
    QAction *kanaSameAction_ = nullptr;

    std::function<void()> stepHook_;
    std::function<void(const QString &)> notice_;
    std::function<void()> redraw_;
    std::function<void()> leaveBox_;
};
