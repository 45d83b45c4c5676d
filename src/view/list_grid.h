#pragma once

#include "view/wheel_notches.h"

#include "deck/deck.h"
#include "drill/day_number.h"

#include <QTableView>

#include <functional>

class CardTableModel;
class GridDelegate;
class QLineEdit;

// The list view GridHyouji: the whole deck as an editable table. Grid rows count as the user
// sees them: row 0 is the header, grid row r shows card r (CardList index r - 1).
class ListGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int RowHeight = 18;
    static constexpr int WheelStep = 11;

    explicit ListGrid(const CardOwnerList &cards, QWidget *parent = nullptr);

    // Where the drill's current card, today's day number and the edit guard come from.
    void SetSources(std::function<const TMondaiSet *()> currentCard, DayClock today,
                    const bool *suppressEdits);

    // Shows the cards as they are now, closes the cell editor and leaves no visible cell
    // selected; with `scroll`, brings the current card's row into view.
    void FillGrid(bool scroll);
    // Makes card `cardIndex` (CardList) current with its question cell open for editing, in view.
    void ShowCardRow(int cardIndex);
    // Opens the editor on a grid cell (the header is row 0, a text column at least) with the
    // keyboard in it, as a click on the cell does; nothing when the row shows no card.
    void EditCell(int column, int row);
    // The cell editor's text changed by the user's hand.
    void GridHyoujiSetEditText(int column, int row, const QString &text);
    // Stores an edited cell into its card.
    void GridWriteBack(int column, int row, const QString &text);
    // Turns wheel movement over the table into whole steps (WheelTurned), one per notch.
    void TakeWheel(int angleDelta, Qt::KeyboardModifiers modifiers);
    // Question and answer share what the fixed columns leave of the window's width.
    void ResizeColumns(int windowWidth);

    // The grid cell (x = column, y = grid row) under a point in the grid's own coordinates;
    // (-1, -1) when the point is on no cell.
    QPoint CellAt(const QPoint &gridPos) const;
    // A grid cell's rectangle in the grid's own coordinates (the header is row 0).
    QRect CellRect(int column, int row) const;
    // The open cell editor and its grid cell, or null / (-1, -1).
    QLineEdit *CellEditor() const;
    QPoint EditorCell() const;

    // Grid row shown at the top of the data area, and moving it (clamped to the scroll range).
    int TopRow() const;
    void SetTopRow(int row);

    CardTableModel *Model() const { return model_; }

Q_SIGNALS:
    // A wheel step over the table: -11 down, +11 up; the table itself never scrolls by wheel.
    void WheelTurned(int amount, Qt::KeyboardModifiers modifiers);
    // A number cell got text that is not a 32-bit integer; the text is for the user. Sent from
    // the event loop after the edit, once for edits rejected in a row, so a box may be shown.
    void ConversionFailed(const QString &message);
    // Characters the deck cannot hold were left out of an edit (each once).
    void CharactersDropped(const QString &characters);
    // A double quote right before a comma got a space between them.
    void QuoteCommaSeparated();
    // A cell edit was stored into a card.
    void CardEdited(const TMondaiSet *card);

protected:
    void wheelEvent(QWheelEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void CloseCellEditor();
    void ScrollToCurrent();
    void ApplyScrollRule();
    bool CurrentRowFullyShown() const;
    void FitNumberColumn();
    void SettleGeometry();
    // The user's text as the card will hold it: without the characters the deck cannot hold,
    // and with a space between a quote and a comma; the cell editor then shows that text.
    QByteArray EncodeForCard(const QString &text);
    void RejectNumber(int column, int row, const QString &text);
    void RefillAndEditOn(int column, int row, const QByteArray &typed, const QByteArray &stored);

    CardTableModel *model_;
    GridDelegate *delegate_;
    std::function<const TMondaiSet *()> currentCard_;
    DayClock today_;
    const bool *suppressEdits_ = nullptr;
    WheelNotches wheel_;
    // The last rejected number text while its message waits for the event loop; null otherwise.
    QString rejectedText_;
};
