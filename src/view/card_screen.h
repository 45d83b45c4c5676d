#pragma once

#include <QObject>
#include <QSize>

#include <functional>

class Deck;
class Drill;
class MainPanels;

// The card view on screen: which of the three views shows (one card, two to five cards, the
// list), the cells' geometry as the window's size changes, the drawing of the cells and the
// parking box that takes the focus when a command leaves the card boxes.
class CardScreen : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        // The window's size with its frame, as the layout formulas count it.
        std::function<QSize()> outerSize;
        // Draws the whole window again: the cells and everything that follows the drill.
        std::function<void()> redraw;
    };
    // `suppressEdits` is set while the cells are filled, so filling is never taken for typing.
    CardScreen(const MainPanels &panels, const Deck &deck, Drill &drill, bool &suppressEdits,
               Hooks hooks, QObject *parent);

    // Shows the drill's view: the chooser, the cells' layout and the panel, then a redraw.
    void ApplyPattern();
    // The view chooser's entry `index`: メイン, サブ（2）…サブ（5）, 一覧.
    void ChoosePattern(int index);
    void LayoutCells();
    void SizeCellTexts();
    // The cells' part of a redraw: the current cards, the focus, the no-deck note.
    void Draw();
    void ParkFocus();

private:
    const MainPanels &panels_;
    const Deck &deck_;
    Drill &drill_;
    bool &suppressEdits_;
    Hooks hooks_;
};
