#pragma once

#include "view/card_cells.h"

#include <array>

class Drill;
class QSplitter;
class QWidget;

// The 3 x 6 card cells: row 0 is the single card of the main pattern (in Panel_Mondai, question
// above Splitter1, answer below), rows 1 to 5 the rows of the sub pattern (in Panel_Renban).
class CardView {
public:
    static constexpr int KindCount = 3;
    static constexpr int RowCount = 6;

    CardView(QWidget *panelMondai, QWidget *panelRenban);

    TMyPane *Pane(int kind, int row) const { return panes_[kind - 1][row]; }
    TMyMemo *Memo(int kind, int row) const { return memos_[kind - 1][row]; }
    TMyImage *Image(int kind, int row) const { return images_[kind - 1][row]; }
    QSplitter *Splitter() const { return splitter_; }
    template <typename F> void ForEachMemo(F &&visit) const {
        for (const auto &kind : memos_)
            for (TMyMemo *memo : kind)
                visit(memo);
    }
    // The card text box with the keyboard focus, row by row and question, answer, reference.
    TMyMemo *FocusedMemo() const;

    // Geometry of the sub rows from the window's outer size.
    void LayoutCells(int outerHeight, int outerWidth, int leftPanelWidth, int subRows);
    void SizeCellTexts(int outerHeight, int subRows);

    // The drawing steps of a redraw; the caller suppresses edits around them. Fill answers
    // whether a box that lost its card had the focus, so the focus must be parked.
    void ClearAll();
    bool Fill(const Drill &drill, bool &suppressEdits);
    void UpdateEditability();

    // Left: every question box and the main answer box left-justified. Centre: the main view
    // centred and the sub questions right-justified. Sub answers stay left-justified.
    void ApplyAlignment(bool left);

    // The main view's answer pane keeps room for a few lines of its font, however high the
    // question pane is asked to be.
    void KeepAnswerRoom();

    // A panel between the main view's question and answer (the answer modes' box).
    void PlaceUnderQuestion(QWidget *panel);

    int MondaiHeight() const;
    void SetMondaiHeight(int height);

    // Cells showing a picture give their text box only (100 - ImagePercent)% of their height.
    std::array<std::array<int, RowCount>, KindCount> CellImageFlag{};
    int ImagePercent = 60;

private:
    void CreateCells(QWidget *panelMondai, QWidget *panelRenban);

    std::array<std::array<TMyPane *, RowCount>, KindCount> panes_{};
    std::array<std::array<TMyMemo *, RowCount>, KindCount> memos_{};
    std::array<std::array<TMyImage *, RowCount>, KindCount> images_{};
    QSplitter *splitter_ = nullptr;
};
