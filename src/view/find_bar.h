#pragma once

#include "deck/card_search.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

class ListGrid;
class QCheckBox;
class QLabel;
class QLineEdit;

// The find bar (検索) under the list view: searches as the user types, steps through the
// matches with Enter/F3 and Shift+Enter/Shift+F3, wrapping with a notice, and closes with Esc,
// leaving the found row current with the keyboard in it (or, with no match, giving the focus
// back). The current match's row becomes the list's current row; the other
// matching rows are marked in the row-number column. Nothing but the current cell moves: the
// drill and the cards are never touched. A large deck is searched in slices between events.
class FindBar : public QWidget {
    Q_OBJECT
public:
    FindBar(const CardOwnerList &cards, ListGrid *grid, QWidget *parent);

    // Shows the bar with its text selected; Esc without a match gives the focus back to
    // `returnFocus`.
    void Open(QWidget *returnFocus);
    void Close();
    // Another deck was opened.
    void DeckReplaced();
    // A card's texts were edited.
    void CardEdited(const TMondaiSet *card);
    // After a redraw: cards may have been added, deleted or taken back, and the bookmark
    // marker may have moved to `bookmark`.
    void DeckMayHaveChanged(const TMondaiSet *bookmark);
    // Whether `object` is part of a find bar (its keys are never the drill's).
    static bool Holds(const QObject *object);

    // Next (or previous) match from the current one; what Enter and F3 do.
    void Step(bool backwards);
    const CardSearch &Search() const { return search_; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Restart();
    void RunSlice();
    void GoTo(qsizetype card);
    qsizetype StartCard() const;
    void ShowState(const QString &notice = {});
    void MarkRows(bool on);

    CardSearch search_;
    const CardOwnerList &cards_;
    ListGrid *grid_;
    QLineEdit *text_;
    QCheckBox *question_;
    QCheckBox *answer_;
    QCheckBox *reference_;
    QCheckBox *kana_;
    QLabel *state_;
    QTimer slices_;
    QPointer<QWidget> returnFocus_;
    qsizetype match_ = -1; // card of the current match
    const TMondaiSet *bookmark_ = nullptr;
};
