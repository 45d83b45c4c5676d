#include "view/card_cells.h"

#include "deck/card.h"
#include "deck/sjis_codec.h"
#include "view/long_text.h"

#include <QMouseEvent>
#include <QTextBlock>
#include <QToolButton>

TMyPane::TMyPane(int kind, int row, QWidget *parent) : QFrame(parent), Kind(kind), Row(row) {
    setObjectName(QStringLiteral("CellPane_%1_%2").arg(kind).arg(row));
    setFrameStyle(QFrame::Box | QFrame::Plain);
    setLineWidth(1);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, p.color(QPalette::Base));
    p.setColor(QPalette::WindowText, Qt::black);
    setPalette(p);
}

void TMyPane::SetContents(TMyMemo *memo, TMyImage *image) {
    memo_ = memo;
    image_ = image;
    LayOut();
}

void TMyPane::SetTextHeight(int height) {
    if (textHeight_ == height)
        return;
    textHeight_ = height;
    LayOut();
}

void TMyPane::SetImageShare(int percent) {
    if (imageShare_ == percent)
        return;
    imageShare_ = percent;
    LayOut();
}

QToolButton *TMyPane::SoundButton() {
    if (!soundButton_) {
        soundButton_ = new QToolButton(this);
        soundButton_->setObjectName(objectName() + QStringLiteral("_Sound"));
        soundButton_->setText(QStringLiteral("▶"));
        soundButton_->setAutoRaise(true);
        soundButton_->setFocusPolicy(Qt::NoFocus);
        soundButton_->hide();
    }
    return soundButton_;
}

void TMyPane::SetSoundButtonVisible(bool visible) {
    if (!visible && !soundButton_)
        return;
    SoundButton()->setVisible(visible);
    LayOut();
}

void TMyPane::resizeEvent(QResizeEvent *event) {
    QFrame::resizeEvent(event);
    LayOut();
}

void TMyPane::LayOut() {
    const QRect inner = contentsRect();
    int textHeight = textHeight_ < 0 ? inner.height() : qMin(textHeight_, inner.height());
    if (imageShare_ > 0)
        textHeight = textHeight * (100 - imageShare_) / 100;
    if (memo_)
        memo_->setGeometry(inner.x(), inner.y(), inner.width(), textHeight);
    if (image_)
        image_->setGeometry(inner.x(), inner.y() + textHeight, inner.width(),
                            inner.height() - textHeight);
    if (soundButton_ && soundButton_->isVisible()) {
        const QSize size = soundButton_->sizeHint();
        soundButton_->setGeometry(inner.right() + 1 - size.width(),
                                  inner.bottom() + 1 - size.height(), size.width(), size.height());
        soundButton_->raise();
    }
}

TMyMemo::TMyMemo(int kind, int row, QWidget *parent)
    : QPlainTextEdit(parent), Kind(kind), Row(row) {
    setObjectName(QStringLiteral("CellMemo_%1_%2").arg(kind).arg(row));
    setFrameStyle(QFrame::NoFrame);
    setTabChangesFocus(true);
    SetEditable(false);
}

void TMyMemo::Clear() {
    Shown = false;
    Cut = false;
    if (!document()->isEmpty())
        clear();
}

void TMyMemo::SetEditable(bool editable) {
    editable = editable && !Cut;
    // Redraws call this for every box; leave unchanged boxes alone.
    if (isReadOnly() == !editable && (focusPolicy() == Qt::StrongFocus) == editable)
        return;
    setReadOnly(!editable);
    setFocusPolicy(editable ? Qt::StrongFocus : Qt::NoFocus);
    viewport()->setCursor(editable ? Qt::IBeamCursor : Qt::ArrowCursor);
}

void TMyMemo::SetAlignment(Qt::Alignment alignment) {
    QTextOption option = document()->defaultTextOption();
    if (option.alignment() == alignment)
        return;
    option.setAlignment(alignment);
    document()->setDefaultTextOption(option);
}

void TMyMemo::mouseDoubleClickEvent(QMouseEvent *event) {
    QPlainTextEdit::mouseDoubleClickEvent(event);
    Q_EMIT doubleClicked(this);
}

namespace {
void ShowField(TMyMemo *box, const QByteArray &stored) {
    box->Shown = true;
    QString text = sjis::ToDisplay(DisplayForm(stored)).text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // The box's tooltip stays the help comment; the "…" shows the cut.
    ShownText shown = CutLongLines(std::move(text));
    box->Cut = shown.cut;
    if (shown.cut)
        box->SetEditable(false);
    box->setPlainText(shown.text);
}
} // namespace

void ShowMondai(const TMondaiSet *card, TMyMemo *box, DrillDirection direction) {
    if (!box || !card)
        return;
    ShowField(box, card->GetText(AskedText(direction)));
}

void ShowKaitou(const TMondaiSet *card, TMyMemo *answerBox, TMyMemo *referenceBox,
                bool &suppressEdits, DrillDirection direction) {
    if (!card)
        return;
    const bool before = suppressEdits;
    suppressEdits = true;
    if (answerBox)
        ShowField(answerBox, card->GetText(ExpectedText(direction)));
    if (referenceBox)
        ShowField(referenceBox, card->Sankou());
    suppressEdits = before;
}

void SelectWholeText(QPlainTextEdit *box) {
    // The whole text, every line ended by CR LF, less one: everything that is visible.
    QTextCursor cursor(box->document());
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    box->setTextCursor(cursor);
}
