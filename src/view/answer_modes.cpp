#include "view/answer_modes.h"

#include "deck/sjis_codec.h"
#include "drill/drill.h"
#include "settings/settings.h"
#include "view/card_cells.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QEvent>
#include <QGridLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

// Colour pairs that read on light and dark themes alike: the text colour is set with the
// background, never left to the palette.
constexpr auto kRightBack = "#1b5e20";
constexpr auto kWrongBack = "#b71c1c";
constexpr auto kMarkText = "#ffffff";

QString MarkedHtml(const answercheck::Marked &marked, const char *background) {
    QString html;
    for (const answercheck::Piece &piece : marked) {
        const QString text = piece.text.toHtmlEscaped();
        html += piece.differs ? QStringLiteral("<span style=\"background-color:%1; color:%2;\">"
                                               "<b>%3</b></span>")
                                    .arg(QLatin1String(background), QLatin1String(kMarkText), text)
                              : text;
    }
    return html;
}

QString ButtonStyle(const char *background) {
    return QStringLiteral("QPushButton { background-color: %1; color: %2; font-weight: bold; }")
        .arg(QLatin1String(background), QLatin1String(kMarkText));
}

// One line of a choice's text, so that four long answers still fit under the question.
QString ChoiceCaption(int index, const QByteArray &display) {
    QString text = sjis::ToQString(display).simplified();
    constexpr int kLongest = 40;
    if (text.size() > kLongest)
        text = text.left(kLongest - 1) + QChar(0x2026);
    return QStringLiteral("&%1  %2").arg(index + 1).arg(text.replace(u'&', QStringLiteral("&&")));
}

const QString &DirectionName(DrillDirection direction) {
    static const QString names[] = {QStringLiteral("問題→解答"), QStringLiteral("解答→問題")};
    return names[int(direction)];
}

const QString &ModeName(AnswerMode mode) {
    static const QString names[] = {QStringLiteral("自分で判定"), QStringLiteral("入力して答える"),
                                    QStringLiteral("4択")};
    return names[int(mode)];
}

bool IsEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

AnswerModes::AnswerModes(Drill &drill, Deck &deck, QWidget *parent)
    : QObject(parent), drill_(drill), deck_(deck) {
    BuildPanel(parent);
}

AnswerModes::~AnswerModes() = default;

void AnswerModes::BuildPanel(QWidget *parent) {
    panel_ = new QWidget(parent);
    panel_->setObjectName(QStringLiteral("AnswerPanel"));
    auto *layout = new QVBoxLayout(panel_);
    layout->setContentsMargins(4, 4, 4, 4);

    typedRow_ = new QWidget(panel_);
    auto *typed = new QVBoxLayout(typedRow_);
    typed->setContentsMargins(0, 0, 0, 0);
    box_ = new QLineEdit(typedRow_);
    box_->setObjectName(QStringLiteral("AnswerBox"));
    box_->installEventFilter(this);
    verdictLabel_ = new QLabel(typedRow_);
    verdictLabel_->setObjectName(QStringLiteral("AnswerVerdict"));
    verdictLabel_->setTextFormat(Qt::RichText);
    verdictLabel_->setWordWrap(true);
    overrideButton_ = new QPushButton(QStringLiteral("正解にする (Ctrl+Enter)"), typedRow_);
    overrideButton_->setObjectName(QStringLiteral("AcceptAsRight"));
    overrideButton_->setFocusPolicy(Qt::NoFocus);
    connect(overrideButton_, &QPushButton::clicked, this, &AnswerModes::AcceptAsRight);
    typed->addWidget(box_);
    typed->addWidget(verdictLabel_);
    typed->addWidget(overrideButton_, 0, Qt::AlignLeft);
    layout->addWidget(typedRow_);

    choiceRow_ = new QWidget(panel_);
    auto *grid = new QGridLayout(choiceRow_);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i < 4; ++i) {
        auto *button = new QPushButton(choiceRow_);
        button->setObjectName(QStringLiteral("Choice_%1").arg(i + 1));
        button->setFocusPolicy(Qt::NoFocus);
        connect(button, &QPushButton::clicked, this, [this, i] { Choose(i); });
        grid->addWidget(button, i / 2, i % 2);
        choiceButtons_[std::size_t(i)] = button;
    }
    layout->addWidget(choiceRow_);
    panel_->hide();

    statusLabel_ = new QLabel(parent);
    statusLabel_->setObjectName(QStringLiteral("DrillModeLabel"));
    UpdateStatus();
}

void AnswerModes::ShowNoteIn(QStatusBar &statusLine) {
    statusLine.addPermanentWidget(statusLabel_);
    connect(&statusLine, &QStatusBar::messageChanged, statusLabel_,
            [label = statusLabel_](const QString &text) { label->setVisible(text.isEmpty()); });
}

void AnswerModes::CreateMenus(QMenu *settingsMenu) {
    QMenu *direction = settingsMenu->addMenu(QStringLiteral("出題の向き"));
    direction->setObjectName(QStringLiteral("men_Set_Direction"));
    direction->menuAction()->setObjectName(direction->objectName());
    auto *sides = new QActionGroup(direction);
    questionFirst_ = direction->addAction(DirectionName(DrillDirection::QuestionFirst));
    answerFirst_ = direction->addAction(DirectionName(DrillDirection::AnswerFirst));
    for (QAction *side : {questionFirst_, answerFirst_}) {
        side->setCheckable(true);
        sides->addAction(side);
    }
    questionFirst_->setObjectName(QStringLiteral("men_Set_DirectionForward"));
    answerFirst_->setObjectName(QStringLiteral("men_Set_DirectionReverse"));
    connect(questionFirst_, &QAction::triggered, this,
            [this] { SetDirection(DrillDirection::QuestionFirst); });
    connect(answerFirst_, &QAction::triggered, this,
            [this] { SetDirection(DrillDirection::AnswerFirst); });
    direction->addSeparator();
    toggleDirection_ = direction->addAction(QStringLiteral("向きを入れ替える"));
    toggleDirection_->setObjectName(QStringLiteral("men_Set_DirectionToggle"));
    toggleDirection_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_R));
    connect(toggleDirection_, &QAction::triggered, this, &AnswerModes::ToggleDirection);

    QMenu *modes = settingsMenu->addMenu(QStringLiteral("答え方"));
    modes->setObjectName(QStringLiteral("men_Set_AnswerMode"));
    modes->menuAction()->setObjectName(modes->objectName());
    auto *group = new QActionGroup(modes);
    for (int i = 0; i < 3; ++i) {
        QAction *action = modes->addAction(ModeName(AnswerMode(i)));
        action->setObjectName(QStringLiteral("men_Set_AnswerMode%1").arg(i));
        action->setCheckable(true);
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, i] { SetMode(AnswerMode(i)); });
        modeActions_[std::size_t(i)] = action;
    }
    modes->addSeparator();
    kanaSameAction_ = modes->addAction(QStringLiteral("ひらがなとカタカナを区別しない"));
    kanaSameAction_->setObjectName(QStringLiteral("men_Set_AnswerKanaSame"));
    kanaSameAction_->setCheckable(true);
    connect(kanaSameAction_, &QAction::triggered, this, &AnswerModes::SetKanaSame);
    UpdateMenuMarks();
}

void AnswerModes::Load(const AppSettings &settings) {
    kanaSame_ = settings.answerKanaSame;
    mode_ = AnswerMode(settings.answerMode);
    UpdateMenuMarks();
    UpdateStatus();
}

void AnswerModes::Store(AppSettings &settings) const {
    settings.drillDirection = int(drill_.Direction());
    settings.answerMode = int(mode_);
    settings.answerKanaSame = kanaSame_;
}

DrillDirection AnswerModes::Direction() const {
    return drill_.Direction();
}

void AnswerModes::SetDirection(DrillDirection direction) {
    if (drill_.Direction() != direction) {
        drill_.SetDirection(direction);
        if (redraw_)
            redraw_();
    }
    UpdateMenuMarks();
    UpdateStatus();
}

void AnswerModes::ToggleDirection() {
    SetDirection(drill_.Direction() == DrillDirection::QuestionFirst
                     ? DrillDirection::AnswerFirst
                     : DrillDirection::QuestionFirst);
}

void AnswerModes::SetMode(AnswerMode mode) {
    mode_ = mode;
    UpdateMenuMarks();
    UpdateStatus();
    Refresh();
}

void AnswerModes::SetKanaSame(bool same) {
    kanaSame_ = same;
    UpdateMenuMarks();
}

QString AnswerModes::Description() const {
    return QStringLiteral("%1・%2").arg(DirectionName(drill_.Direction()), ModeName(mode_));
}

void AnswerModes::UpdateMenuMarks() {
    if (!questionFirst_)
        return;
    questionFirst_->setChecked(drill_.Direction() == DrillDirection::QuestionFirst);
    answerFirst_->setChecked(drill_.Direction() == DrillDirection::AnswerFirst);
    for (int i = 0; i < 3; ++i)
        modeActions_[std::size_t(i)]->setChecked(int(mode_) == i);
    kanaSameAction_->setChecked(kanaSame_);
}

void AnswerModes::UpdateStatus() {
    statusLabel_->setText(Description());
}

bool AnswerModes::Shown() const {
    return mode_ != AnswerMode::Judged && drill_.DisplayPattern() == PatternMain &&
           drill_.Current();
}

void AnswerModes::Refresh() {
    if (!Shown()) {
        panel_->hide();
        asked_ = nullptr;
        return;
    }
    const bool fresh = drill_.Current() != asked_ || drill_.Direction() != askedDirection_ ||
                       mode_ != askedMode_ || (sawAnswer_ && !drill_.AnswerShown());
    if (fresh)
        StartQuestion();
    else if (drill_.AnswerShown() && !answered_)
        ShowRevealedWithoutAnswer();
    sawAnswer_ = drill_.AnswerShown();
}

void AnswerModes::StartQuestion() {
    asked_ = drill_.Current();
    askedDirection_ = drill_.Direction();
    askedMode_ = mode_;
    answered_ = right_ = overridden_ = false;
    verdict_ = {};
    choices_.reset();
    verdictLabel_->hide();
    overrideButton_->hide();
    typedRow_->setVisible(mode_ == AnswerMode::Typed);
    choiceRow_->setVisible(mode_ == AnswerMode::Choice);
    if (mode_ == AnswerMode::Choice) {
        choices_ = PickChoices(deck_.Cards(), *drill_.Current(), drill_.Direction(), rng_);
        if (!choices_) {
            if (notice_)
                notice_(QStringLiteral("このデッキは答えが4種類に満たないため、4択にできません。"
                                       "自分で判定する出題にもどします。"));
            SetMode(AnswerMode::Judged);
            return;
        }
        for (int i = 0; i < 4; ++i) {
            QPushButton *button = choiceButtons_[std::size_t(i)];
            button->setText(ChoiceCaption(i, choices_->texts[std::size_t(i)]));
            button->setStyleSheet(QString());
            button->setEnabled(true);
        }
    } else {
        box_->clear();
        // The box asks for the side the drill's direction hides.
        box_->setPlaceholderText(drill_.Direction() == DrillDirection::QuestionFirst
                                     ? QStringLiteral("解答を入力して Enter")
                                     : QStringLiteral("問題を入力して Enter"));
        box_->setReadOnly(false);
        box_->setEnabled(true);
    }
    panel_->show();
    if (drill_.AnswerShown())
        ShowRevealedWithoutAnswer();
    else
        FocusBox();
    FitHeight();
}

void AnswerModes::FocusBox() {
    if (mode_ == AnswerMode::Typed && Shown() && !answered_ && !drill_.AnswerShown())
        box_->setFocus(Qt::OtherFocusReason);
}

// The question and answer panes share what the panel leaves; the panel takes only its lines.
void AnswerModes::FitHeight() {
    panel_->setFixedHeight(panel_->layout()->sizeHint().height());
}

// The answer was shown with すすめ before any answer was given: nothing left to answer.
void AnswerModes::ShowRevealedWithoutAnswer() {
    box_->setReadOnly(true);
    for (QPushButton *button : choiceButtons_)
        button->setEnabled(false);
    if (choices_)
        choiceButtons_[std::size_t(choices_->right)]->setStyleSheet(ButtonStyle(kRightBack));
}

void AnswerModes::Step(const std::function<void()> &step) {
    if (stepHook_)
        stepHook_();
    step();
}

void AnswerModes::GiveVerdict(bool right) {
    answered_ = true;
    right_ = right;
    TMondaiSet *card = drill_.Current();
    Step([this, card, right] {
        if (!drill_.AnswerShown())
            drill_.GoNext(); // shows the answer, as すすめ does
        // できた on the bookmark's card only ever brings its message; the normal drill passes it.
        if (right && drill_.Current() == card && card != drill_.BookmarkCard() &&
            !drill_.DoneFlag())
            drill_.GoDone();
    });
}

void AnswerModes::GoOn() {
    Step([this] { drill_.GoNext(); });
}

void AnswerModes::Enter() {
    if (!Shown() || mode_ == AnswerMode::Judged)
        return;
    if (answered_ || drill_.AnswerShown()) {
        GoOn();
        return;
    }
    if (mode_ != AnswerMode::Typed || preedit_)
        return;
    const QByteArray answer =
        DisplayForm(drill_.Current()->GetText(ExpectedText(drill_.Direction())));
    verdict_ = answercheck::Check(box_->text(), answer, kanaSame_);
    box_->setReadOnly(true);
    ShowTypedVerdict();
    GiveVerdict(verdict_.right);
}

void AnswerModes::ShowTypedVerdict() {
    if (verdict_.right) {
        verdictLabel_->setText(QStringLiteral("<span style=\"background-color:%1; color:%2;\">"
                                              "<b>&nbsp;○ 正解&nbsp;</b></span>")
                                   .arg(QLatin1String(kRightBack), QLatin1String(kMarkText)));
    } else {
        verdictLabel_->setText(
            QStringLiteral("<span style=\"background-color:%1; color:%2;\"><b>&nbsp;× "
                           "不正解&nbsp;</b></span>&nbsp; 正しくは: %3<br>あなたの答え: %4")
                .arg(QLatin1String(kWrongBack), QLatin1String(kMarkText),
                     MarkedHtml(verdict_.expected, kRightBack),
                     verdict_.typed.isEmpty() ? QStringLiteral("（空欄）")
                                              : MarkedHtml(verdict_.typed, kWrongBack)));
        overrideButton_->setEnabled(true);
        overrideButton_->show();
    }
    verdictLabel_->show();
    FitHeight();
}

void AnswerModes::AcceptAsRight() {
    if (mode_ != AnswerMode::Typed || !Shown() || !answered_ || right_ || overridden_ ||
        drill_.Current() != asked_)
        return;
    overridden_ = true;
    overrideButton_->setEnabled(false);
    verdictLabel_->setText(verdictLabel_->text() + QStringLiteral("<br>正解にしました。"));
    TMondaiSet *card = drill_.Current();
    Step([this, card] {
        if (card != drill_.BookmarkCard() && !drill_.DoneFlag())
            drill_.GoDone();
    });
}

void AnswerModes::Choose(int index) {
    if (mode_ != AnswerMode::Choice || !Shown() || !choices_ || answered_ || drill_.AnswerShown() ||
        index < 0 || index > 3)
        return;
    MarkChoices(index);
    GiveVerdict(index == choices_->right);
}

void AnswerModes::MarkChoices(int chosen) {
    for (int i = 0; i < 4; ++i) {
        QPushButton *button = choiceButtons_[std::size_t(i)];
        button->setEnabled(false);
        if (i == choices_->right)
            button->setStyleSheet(ButtonStyle(kRightBack));
        else if (i == chosen)
            button->setStyleSheet(ButtonStyle(kWrongBack));
    }
}

AnswerModes::KeyUse AnswerModes::TakeKey(QObject *watched, int key,
                                         Qt::KeyboardModifiers modifiers) {
    if (!Shown())
        return KeyUse::NotMine;
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    // A key the box leaves unused travels on to the window: it stays the box's all the same.
    if (box_->hasFocus()) {
        if (IsEnter(key)) {
            ctrl ? AcceptAsRight() : Enter();
            return KeyUse::Consumed;
        }
        if (key == Qt::Key_Escape) {
            if (leaveBox_)
                leaveBox_();
            return KeyUse::Consumed;
        }
        return KeyUse::ToWidget;
    }
    // Keys typed into a card's own text boxes stay there.
    if (qobject_cast<TMyMemo *>(watched) || qobject_cast<TMyMemo *>(QApplication::focusWidget()))
        return KeyUse::NotMine;
    if (IsEnter(key) && (answered_ || drill_.AnswerShown())) {
        ctrl ? AcceptAsRight() : GoOn();
        return KeyUse::Consumed;
    }
    if (mode_ == AnswerMode::Choice && key >= Qt::Key_1 && key <= Qt::Key_4 && !ctrl) {
        Choose(key - Qt::Key_1);
        return KeyUse::Consumed;
    }
    return KeyUse::NotMine;
}

bool AnswerModes::eventFilter(QObject *watched, QEvent *event) {
    // Text still being composed is the input method's: Enter then commits it, and only the
    // committed text is ever checked.
    if (watched == box_ && event->type() == QEvent::InputMethod)
        preedit_ = !static_cast<QInputMethodEvent *>(event)->preeditString().isEmpty();
    if (watched == box_ && event->type() == QEvent::FocusOut)
        preedit_ = false;
    return QObject::eventFilter(watched, event);
}
