#pragma once

#include <QFrame>
#include <QPlainTextEdit>

#include "drill/drill_direction.h"
#include "view/cell_image.h"

class TMondaiSet;

// Kinds of card text a cell shows.
enum CellKind { KindQuestion = 1, KindAnswer = 2, KindReference = 3 };

class TMyMemo;
class TMyImage;
class QToolButton;

// The framed panel of one cell: the text box on top, the picture area below.
class TMyPane : public QFrame {
    Q_OBJECT
public:
    TMyPane(int kind, int row, QWidget *parent = nullptr);
    qint32 Kind;
    qint32 Row;

    void SetContents(TMyMemo *memo, TMyImage *image);
    // Height of the text box; -1 lets it fill the pane.
    void SetTextHeight(int height);
    // With a picture, the picture area takes this share (percent) of the pane below the text;
    // 0 gives the text box the whole height.
    void SetImageShare(int percent);
    // The play button in the pane's corner, created when first shown.
    QToolButton *SoundButton();
    void SetSoundButtonVisible(bool visible);
    TMyMemo *Memo() const { return memo_; }

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void LayOut();
    TMyMemo *memo_ = nullptr;
    TMyImage *image_ = nullptr;
    QToolButton *soundButton_ = nullptr;
    int textHeight_ = -1;
    int imageShare_ = 0;
};

// A card text box; `Shown` while it holds a field of a card.
class TMyMemo : public QPlainTextEdit {
    Q_OBJECT
public:
    TMyMemo(int kind, int row, QWidget *parent = nullptr);
    qint32 Kind;
    qint32 Row;
    bool Shown = false;
    // Shows only the start of a line too long to lay out (long_text.h): read-only, and never
    // stored back into the card.
    bool Cut = false;

    // Empties the box and forgets its card (the caller suppresses edits).
    void Clear();
    // Whether the user may click into, type in and tab to the box.
    void SetEditable(bool editable);
    void SetAlignment(Qt::Alignment alignment);

Q_SIGNALS:
    void doubleClicked(TMyMemo *memo);

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
};

// Put the side of a card asked first, or the other side and the reference, into text boxes and
// mark them shown. The caller keeps edits suppressed while these write.
void ShowMondai(const TMondaiSet *card, TMyMemo *box,
                DrillDirection direction = DrillDirection::QuestionFirst);
void ShowKaitou(const TMondaiSet *card, TMyMemo *answerBox, TMyMemo *referenceBox,
                bool &suppressEdits, DrillDirection direction = DrillDirection::QuestionFirst);

// Whole visible text selected (MyMemoDblClick).
void SelectWholeText(QPlainTextEdit *box);
