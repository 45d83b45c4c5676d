#include "view/card_view.h"

#include "drill/drill.h"

#include <QFontMetrics>
#include <QSplitter>
#include <QVBoxLayout>

namespace {
// The vertical room of the window that is not sub rows: caption, menu and the bottom strip.
constexpr int OuterChrome = 72;
constexpr int DefaultMondaiHeight = 100;
} // namespace

CardView::CardView(QWidget *panelMondai, QWidget *panelRenban) {
    CreateCells(panelMondai, panelRenban);
}

void CardView::CreateCells(QWidget *panelMondai, QWidget *panelRenban) {
    splitter_ = new QSplitter(Qt::Vertical, panelMondai);
    splitter_->setObjectName(QStringLiteral("Splitter1"));
    splitter_->setHandleWidth(1);
    splitter_->setChildrenCollapsible(false);
    splitter_->setOpaqueResize(true);
    auto *layout = new QVBoxLayout(panelMondai);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(splitter_);

    for (int row = 0; row < RowCount; ++row) {
        for (int kind = KindQuestion; kind <= KindReference; ++kind) {
            auto *pane =
                new TMyPane(kind, row, row == 0 ? static_cast<QWidget *>(splitter_) : panelRenban);
            auto *memo = new TMyMemo(kind, row, pane);
            auto *image = new TMyImage(pane);
            image->setObjectName(QStringLiteral("CellImage_%1_%2").arg(kind).arg(row));
            pane->SetContents(memo, image);
            panes_[kind - 1][row] = pane;
            memos_[kind - 1][row] = memo;
            images_[kind - 1][row] = image;
            if (kind == KindReference) {
                // The reference is kept with the card but never shown in the card view.
                pane->setParent(panelRenban);
                pane->hide();
            }
        }
    }
    splitter_->setStretchFactor(0, 0);
    splitter_->setStretchFactor(1, 1);
    SetMondaiHeight(DefaultMondaiHeight);
}

TMyMemo *CardView::FocusedMemo() const {
    for (int row = 0; row < RowCount; ++row)
        for (int kind = KindQuestion; kind <= KindReference; ++kind)
            if (Memo(kind, row)->hasFocus())
                return Memo(kind, row);
    return nullptr;
}

void CardView::LayoutCells(int outerHeight, int outerWidth, int leftPanelWidth, int subRows) {
    if (subRows <= 0)
        return;
    QWidget *panel = Pane(KindQuestion, 1)->parentWidget();
    panel->setUpdatesEnabled(false);
    const int h = (outerHeight - OuterChrome) / subRows;
    const int w = (outerWidth - leftPanelWidth - 10) / 2;
    for (int row = 1; row < RowCount; ++row) {
        const bool visible = row <= subRows;
        const int top = (row - 1) * h;
        for (int kind : {KindQuestion, KindAnswer}) {
            TMyPane *pane = Pane(kind, row);
            pane->setVisible(visible);
            if (kind == KindQuestion)
                pane->setGeometry(0, top, w - 5, h - 1);
            else
                pane->setGeometry(w - 3, top, w + 2, h - 1);
        }
        Pane(KindReference, row)->setGeometry(0, top, w - 5, h - 1);
    }
    SizeCellTexts(outerHeight, subRows);
    panel->setUpdatesEnabled(true);
}

void CardView::SizeCellTexts(int outerHeight, int subRows) {
    if (subRows <= 0)
        return;
    const int a = (outerHeight - OuterChrome) / subRows;
    for (int kind = KindQuestion; kind <= KindReference; ++kind) {
        for (int row = 0; row < RowCount; ++row) {
            Pane(kind, row)->SetTextHeight(row == 0 ? -1 : a - 1);
            Pane(kind, row)->SetImageShare(CellImageFlag[kind - 1][row] ? ImagePercent : 0);
        }
    }
}

void CardView::ClearAll() {
    ForEachMemo([](TMyMemo *memo) { memo->Clear(); });
}

bool CardView::Fill(const Drill &drill, bool &suppressEdits) {
    auto parkIfFocused = [](TMyMemo *memo, bool &park) {
        if (memo->hasFocus())
            park = true;
    };
    bool park = false;
    if (const TMondaiSet *card = drill.Current()) {
        const DrillDirection side = drill.Direction();
        ShowMondai(card, Memo(KindQuestion, 0), side);
        ShowMondai(card, Memo(KindQuestion, 1), side);
        if (drill.AnswerShown())
            ShowKaitou(card, Memo(KindAnswer, 0), Memo(KindReference, 0), suppressEdits, side);
        ShowKaitou(card, Memo(KindAnswer, 1), Memo(KindReference, 1), suppressEdits, side);
    } else {
        for (int row : {0, 1})
            for (int kind : {KindQuestion, KindAnswer})
                parkIfFocused(Memo(kind, row), park);
    }
    if (!drill.AnswerShown())
        parkIfFocused(Memo(KindAnswer, 0), park);
    for (int row = 2; row <= drill.SubRows() && row < RowCount; ++row) {
        if (const TMondaiSet *card = drill.CardOfRow(row))
            ShowMondai(card, Memo(KindQuestion, row), drill.Direction());
        else
            parkIfFocused(Memo(KindQuestion, row), park);
    }
    return park;
}

void CardView::UpdateEditability() {
    ForEachMemo([](TMyMemo *memo) { memo->SetEditable(memo->Shown); });
}

void CardView::ApplyAlignment(bool left) {
    for (int row = 0; row < RowCount; ++row) {
        Qt::Alignment question =
            left ? Qt::AlignLeft : (row == 0 ? Qt::AlignHCenter : Qt::AlignRight);
        Memo(KindQuestion, row)->SetAlignment(question);
    }
    Memo(KindAnswer, 0)->SetAlignment(left ? Qt::AlignLeft : Qt::AlignHCenter);
}

void CardView::KeepAnswerRoom() {
    constexpr int Lines = 3;
    const TMyMemo *memo = Memo(KindAnswer, 0);
    const QFontMetrics metrics(memo->font());
    const int text = Lines * metrics.lineSpacing() + 2 * int(memo->document()->documentMargin());
    TMyPane *pane = Pane(KindAnswer, 0);
    pane->setMinimumHeight(text + 2 * pane->frameWidth());
}

int CardView::MondaiHeight() const {
    return Pane(KindQuestion, 0)->height();
}

void CardView::PlaceUnderQuestion(QWidget *panel) {
    splitter_->insertWidget(1, panel);
    splitter_->setStretchFactor(1, 0);
    splitter_->setStretchFactor(2, 1);
    splitter_->setCollapsible(1, false);
}

void CardView::SetMondaiHeight(int height) {
    const int total = qMax(splitter_->height(), height + 100);
    // Panels placed between question and answer keep the height they ask for.
    QList<int> sizes{height};
    int between = 0;
    for (int i = 1; i + 1 < splitter_->count(); ++i) {
        const QWidget *panel = splitter_->widget(i);
        sizes.append(panel->isVisibleTo(splitter_) ? panel->sizeHint().height() : 0);
        between += sizes.back();
    }
    sizes.append(total - height - between - splitter_->handleWidth() * (splitter_->count() - 1));
    splitter_->setSizes(sizes);
}
