#include "view/find_bar.h"

#include "view/card_table_model.h"
#include "view/list_grid.h"

#include <QApplication>
#include <QBoxLayout>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

// One slice of searching between events: typing never waits longer than this.
constexpr int kSliceMs = 12;

QCheckBox *AddCheck(QHBoxLayout *row, QWidget *parent, const char *name, const QString &caption,
                    bool checked) {
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(checked);
    row->addWidget(box);
    return box;
}

QPushButton *AddButton(QHBoxLayout *row, QWidget *parent, const char *name,
                       const QString &caption) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QLatin1String(name));
    button->setFocusPolicy(Qt::NoFocus);
    button->setAutoDefault(false);
    button->setFixedWidth(28);
    row->addWidget(button);
    return button;
}

} // namespace

FindBar::FindBar(const CardOwnerList &cards, ListGrid *grid, QWidget *parent)
    : QWidget(parent), search_(cards), cards_(cards), grid_(grid) {
    setObjectName(QStringLiteral("FindBar"));
    // Two rows, so that the text box stays wide in the narrowest window.
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(4, 2, 4, 2);
    rows->setSpacing(2);
    auto *row = new QHBoxLayout;
    auto *options = new QHBoxLayout;
    rows->addLayout(row);
    rows->addLayout(options);
    row->setSpacing(4);
    options->setSpacing(8);
    row->addWidget(new QLabel(QStringLiteral("検索:"), this));
    text_ = new QLineEdit(this);
    text_->setObjectName(QStringLiteral("FindText"));
    text_->setClearButtonEnabled(true);
    text_->installEventFilter(this);
    row->addWidget(text_, 1);
    connect(AddButton(row, this, "FindPrevious", QStringLiteral("▲")), &QPushButton::clicked, this,
            [this] { Step(true); });
    connect(AddButton(row, this, "FindNext", QStringLiteral("▼")), &QPushButton::clicked, this,
            [this] { Step(false); });
    connect(AddButton(row, this, "FindClose", QStringLiteral("×")), &QPushButton::clicked, this,
            &FindBar::Close);
    question_ = AddCheck(options, this, "FindQuestion", QStringLiteral("問題"), true);
    answer_ = AddCheck(options, this, "FindAnswer", QStringLiteral("解答"), true);
    reference_ = AddCheck(options, this, "FindReference", QStringLiteral("参考"), true);
    kana_ = AddCheck(options, this, "FindKana", QStringLiteral("かな＝カナ"), false);
    kana_->setToolTip(QStringLiteral("ひらがなとカタカナを区別せずに探します"));
    state_ = new QLabel(this);
    state_->setObjectName(QStringLiteral("FindState"));
    options->addWidget(state_, 1);

    connect(text_, &QLineEdit::textChanged, this, &FindBar::Restart);
    for (QCheckBox *box : {question_, answer_, reference_, kana_})
        connect(box, &QCheckBox::toggled, this, &FindBar::Restart);
    slices_.setSingleShot(true);
    slices_.setInterval(0);
    connect(&slices_, &QTimer::timeout, this, &FindBar::RunSlice);
    connect(grid_, &ListGrid::CardEdited, this, &FindBar::CardEdited);
    // The bar belongs to the list: it closes when the list goes.
    grid_->installEventFilter(this);
    hide();
}

bool FindBar::Holds(const QObject *object) {
    for (auto *widget = qobject_cast<const QWidget *>(object); widget;
         widget = widget->parentWidget()) {
        if (qobject_cast<const FindBar *>(widget))
            return true;
    }
    return false;
}

void FindBar::Open(QWidget *returnFocus) {
    if (!Holds(returnFocus))
        returnFocus_ = returnFocus;
    show();
    text_->setFocus(Qt::ShortcutFocusReason);
    text_->selectAll();
    if (!text_->text().isEmpty() && !search_.Active())
        Restart();
}

// The found row stays current with the keyboard in its cell, as if it had been clicked: the
// card commands then act on the card the user was looking at. Without a match the focus goes
// back where it came from.
void FindBar::Close() {
    if (isHidden())
        return;
    slices_.stop();
    search_.Clear();
    MarkRows(false);
    const QModelIndex found =
        match_ >= 0 && grid_->isVisible() ? grid_->currentIndex() : QModelIndex();
    match_ = -1;
    if (found.isValid())
        grid_->EditCell(found.column(), found.row() + 1);
    else if (returnFocus_ && returnFocus_->isVisible() && returnFocus_->isEnabled())
        returnFocus_->setFocus(Qt::OtherFocusReason);
    hide();
    // Where that is gone (a cell editor closed meanwhile), the keys go to the window itself
    // rather than to the hidden bar.
    if (QWidget *focus = QApplication::focusWidget(); Holds(focus))
        focus->clearFocus();
}

void FindBar::DeckReplaced() {
    slices_.stop();
    search_.Forget();
    match_ = -1;
    bookmark_ = nullptr;
    if (isVisible())
        Restart();
}

void FindBar::CardEdited(const TMondaiSet *card) {
    search_.NoteEdited(card);
}

void FindBar::DeckMayHaveChanged(const TMondaiSet *bookmark) {
    if (bookmark != bookmark_) {
        // Setting or clearing a bookmark puts the marker into a question or takes it out.
        if (bookmark_)
            search_.NoteEdited(bookmark_);
        if (bookmark)
            search_.NoteEdited(bookmark);
        bookmark_ = bookmark;
    }
    if (isVisible() && search_.Active() && search_.Stale())
        Restart();
}

qsizetype FindBar::StartCard() const {
    if (match_ >= 0 && match_ < qsizetype(cards_.size()))
        return match_;
    const QModelIndex current = grid_->currentIndex();
    return current.isValid() ? current.row() : grid_->TopRow() - 1;
}

void FindBar::Restart() {
    slices_.stop();
    const qsizetype from = StartCard();
    match_ = -1;
    search_.Start(text_->text(), kana_->isChecked(),
                  {question_->isChecked(), answer_->isChecked(), reference_->isChecked()},
                  std::max<qsizetype>(0, from));
    MarkRows(search_.Active());
    if (!search_.Active()) {
        ShowState(text_->text().isEmpty() ? QString() : QStringLiteral("見つかりません"));
        return;
    }
    RunSlice();
}

void FindBar::RunSlice() {
    const bool done = search_.Step(QDeadlineTimer(kSliceMs));
    if (match_ < 0 && search_.FirstMatch() >= 0)
        GoTo(search_.FirstMatch());
    grid_->viewport()->update();
    ShowState();
    if (!done)
        slices_.start();
}

void FindBar::Step(bool backwards) {
    if (text_->text().isEmpty())
        return;
    if (!search_.Active() || search_.Stale())
        Restart();
    if (!search_.Active())
        return;
    slices_.stop();
    search_.Finish();
    bool wrapped = false;
    const qsizetype from = match_ >= 0 ? match_ : StartCard() - (backwards ? 0 : 1);
    const qsizetype next = search_.Neighbour(from, backwards, &wrapped);
    if (next >= 0)
        GoTo(next);
    grid_->viewport()->update();
    ShowState(!wrapped    ? QString()
              : backwards ? QStringLiteral("末尾から続けました")
                          : QStringLiteral("先頭から続けました"));
}

// The match's row becomes the list's current row, its first matching column the current cell;
// the keyboard stays in the bar, so typing never goes into the cell.
void FindBar::GoTo(qsizetype card) {
    match_ = card;
    const int column = question_->isChecked() ? 1 : answer_->isChecked() ? 2 : 3;
    const QModelIndex cell = grid_->model()->index(int(card), column);
    const bool typing = text_->hasFocus();
    grid_->setCurrentIndex(cell);
    grid_->scrollTo(cell, QAbstractItemView::EnsureVisible);
    if (typing && !text_->hasFocus())
        text_->setFocus(Qt::OtherFocusReason);
}

void FindBar::ShowState(const QString &notice) {
    QString state;
    if (!search_.Active()) {
        state = text_->text().isEmpty() ? QString() : QStringLiteral("見つかりません");
    } else if (!search_.Finished()) {
        // A count still growing is never shown as a total: "0 件" would read as "none".
        state = search_.Count() == 0 ? QStringLiteral("検索中…")
                                     : QStringLiteral("検索中… %1 件以上").arg(search_.Count());
    } else if (search_.Count() == 0) {
        state = QStringLiteral("見つかりません");
    } else {
        state = QStringLiteral("%1 件中 %2 件目").arg(search_.Count()).arg(search_.Rank(match_));
    }
    state_->setText(
        notice.isEmpty() ? state : state + QStringLiteral("（") + notice + QStringLiteral("）"));
}

void FindBar::MarkRows(bool on) {
    auto *model = qobject_cast<CardTableModel *>(grid_->model());
    if (!model)
        return;
    if (on)
        model->SetRowMarks([this](int row) { return search_.IsMatch(row); });
    else
        model->SetRowMarks({});
}

bool FindBar::eventFilter(QObject *watched, QEvent *event) {
    if (watched == grid_ && event->type() == QEvent::Hide) {
        Close();
    } else if (watched == text_ && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool back = key->modifiers().testFlag(Qt::ShiftModifier);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter ||
            key->key() == Qt::Key_F3) {
            Step(back);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void FindBar::keyPressEvent(QKeyEvent *event) {
    if (event->key() == Qt::Key_Escape) {
        Close();
        return;
    }
    if (event->key() == Qt::Key_F3)
        Step(event->modifiers().testFlag(Qt::ShiftModifier));
    // Keys the bar's controls leave (arrows in the text, for one) end here: passed on to the
    // window they would drive the drill.
    event->accept();
}
