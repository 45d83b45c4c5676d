#pragma once

#include <QObject>

#include <functional>

class Deck;
class Drill;
class DrillInput;
class MainPanels;
class Prompts;
class QWidget;

// The drill's controls in the left column and under the cards: すすめ and できた with the check
// mark before them, the counters, the arrow-key and auto-save switches with the arrow captions,
// and the record bar. It keeps the two switches' values and asks the drill's questions.
class DrillControls : public QObject {
    Q_OBJECT
public:
    // `newCardStatus` gives "新規 k/N" for the status line, empty without a limit.
    DrillControls(QWidget &window, const MainPanels &panels, const Deck &deck, const Drill &drill,
                  DrillInput &input, Prompts &prompts, std::function<QString()> newCardStatus);

    // Whether the arrow keys drill (矢印キー).
    bool ArrowKeys() const { return arrowKeys_; }
    void SetArrowKeys(bool on);
    // Whether a changed deck is saved without asking (自動保存).
    bool AutoSave() const { return autoSave_; }
    void SetAutoSave(bool on);

    // The counters, the record bar and the check mark, after a redraw.
    void ShowCounters();

    // The drill's questions: start every card over at the end of study, reset every card, the
    // bookmarked card is exempt from できた, the bookmark's card is not being asked.
    bool AskRestartStudy();
    bool ConfirmResetAll();
    void ShowBookmarkExempt();
    void BookmarkNotInQueue();

private:
    // The check boxes and the arrow captions, pale while the arrow keys do not drill.
    void ShowSwitches();

    QWidget &window_;
    const MainPanels &panels_;
    const Deck &deck_;
    const Drill &drill_;
    Prompts &prompts_;
    std::function<QString()> newCardStatus_;
    bool arrowKeys_ = true;
    bool autoSave_ = false;
};
