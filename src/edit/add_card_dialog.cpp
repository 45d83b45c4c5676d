#include "edit/add_card_dialog.h"

#include "deck/card.h"
#include "settings/settings.h"
#include "ui/font_setup.h"
#include "view/named_widget.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

namespace {
constexpr int Margin = 8;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
// Inside the group box: the labels' column, then the boxes with 18 pixels above the first,
// 2 between them and 15 below the second.
constexpr int BoxLeft = 39;
constexpr int BoxRightMargin = 47;
constexpr int BoxesTop = 18;
constexpr int BoxGap = 2;
constexpr int BoxesBottom = 15;

QCheckBox *OptionBox(QWidget *parent, const char *name, const QString &caption) {
    auto *box = Named(new QCheckBox(caption, parent), name);
    box->setFocusPolicy(Qt::ClickFocus);
    return box;
}

QString ClipboardText() {
    QString text = QApplication::clipboard()->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}
} // namespace

TForm3::TForm3(AppSettings &settings, QWidget *mainWindow)
    : QDialog(mainWindow), settings_(settings), mainWindow_(mainWindow) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("追加して挿入"));
    // No system menu and so no close box: the dialog closes through its buttons and keys.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    QFont formFont(DefaultFaceName());
    formFont.setPixelSize(12);
    setFont(formFont);
    setMinimumSize(MinWidth, MinHeight);
    CreateControls();
    resize(settings_.tuikaWidth, settings_.tuikaHeight);
    // Until the first closing the question box has no preference and the answer box takes
    // Japanese input.
    ApplyInputMethods(false);
}

void TForm3::CreateControls() {
    Panel_Sounyu_Up = Named(new QWidget(this), "Panel_Sounyu_Up");
    Panel_Sounyu_Down = Named(new QWidget(this), "Panel_Sounyu_Down");

    form3_Group_Up = Named(new QGroupBox(QStringLiteral("追加するカードの内容"), Panel_Sounyu_Up),
                           "form3_Group_Up");
    form3_Label_Mondai =
        Named(new QLabel(QStringLiteral("問題"), form3_Group_Up), "form3_Label_Mondai");
    form3_Label_Kaitou =
        Named(new QLabel(QStringLiteral("解答"), form3_Group_Up), "form3_Label_Kaitou");
    form3_Mondai = Named(new QPlainTextEdit(form3_Group_Up), "form3_Mondai");
    form3_Kaitou = Named(new QPlainTextEdit(form3_Group_Up), "form3_Kaitou");
    for (QPlainTextEdit *box : {form3_Mondai, form3_Kaitou})
        box->setTabChangesFocus(true);
    form3_Label_Mondai->setBuddy(form3_Mondai);
    form3_Label_Kaitou->setBuddy(form3_Kaitou);

    CreateLowerPanel(Panel_Sounyu_Down);

    // Tab moves among the two text boxes and the radio group only.
    setTabOrder(form3_Mondai, form3_Kaitou);
    for (QAbstractButton *item : radioItems_->buttons())
        setTabOrder(form3_Kaitou, item);

    // Enter is looked at before any control acts on it.
    for (QWidget *child : findChildren<QWidget *>())
        child->installEventFilter(this);
}

void TForm3::CreateLowerPanel(QWidget *panel) {
    form3_RadioTuika =
        Named(new QGroupBox(QStringLiteral("挿入位置を指定"), panel), "form3_RadioTuika");
    radioItems_ = new QButtonGroup(this);
    const QStringList items{QStringLiteral("最初"), QStringLiteral("現在"), QStringLiteral("最後")};
    for (int i = 0; i < items.size(); ++i) {
        auto *item = new QRadioButton(items[i], form3_RadioTuika);
        item->setObjectName(QStringLiteral("form3_RadioTuika_%1").arg(i));
        radioItems_->addButton(item, i);
    }

    form3_CheckIdou = OptionBox(panel, "form3_CheckIdou", QStringLiteral("追加後、挿入位置に移動"));
    optionGroup_ = Named(new QGroupBox(QStringLiteral("オプション"), panel), "form3_GroupOption");
    form3_CheckIME = OptionBox(optionGroup_, "form3_CheckIME",
                               QStringLiteral("IME切替 （問題=英語, 解答=日本語）"));
    form3_CheckClip =
        OptionBox(optionGroup_, "form3_CheckClip", QStringLiteral("ClipBordから問題へ自動入力"));
    form3_CheckEnter = OptionBox(optionGroup_, "form3_CheckEnter", QStringLiteral("Enterで確定"));
    connect(form3_CheckEnter, &QCheckBox::clicked, this, &TForm3::form3_CheckEnterClick);

    d_bOK = Named(new QPushButton(QStringLiteral("OK"), panel), "d_bOK");
    d_bCancel = Named(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), panel), "d_bCancel");
    for (QPushButton *button : {d_bOK, d_bCancel}) {
        button->setFocusPolicy(Qt::NoFocus);
        // Enter belongs to the Enter option and the text boxes, never to a default button.
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(d_bOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(d_bCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TForm3::resizeEvent(QResizeEvent *event) {
    QDialog::resizeEvent(event);
    FormResize();
}

// The panels and groups follow the dialog; the two text boxes share the group's height.
void TForm3::FormResize() {
    const int w = width();
    const int upperHeight = qMax(0, height() - LowerPanelHeight);
    Panel_Sounyu_Up->setGeometry(0, 0, w, upperHeight);
    Panel_Sounyu_Down->setGeometry(0, upperHeight, w, LowerPanelHeight);

    // Lower panel: the radio group in three columns, the move option, the options, the buttons.
    const int inner = w - 2 * Margin;
    form3_RadioTuika->setGeometry(Margin, 0, inner, 42);
    const int column = (inner - 2 * Margin) / 3;
    for (QAbstractButton *item : radioItems_->buttons())
        item->setGeometry(Margin + radioItems_->id(item) * column, 17, column, 18);
    form3_CheckIdou->setGeometry(2 * Margin, 46, w - 3 * Margin, 18);
    optionGroup_->setGeometry(Margin, 68, inner, 80);
    const QList<QCheckBox *> options{form3_CheckIME, form3_CheckClip, form3_CheckEnter};
    for (int i = 0; i < options.size(); ++i)
        options[i]->setGeometry(6, 16 + 20 * i, inner - 8, 18);
    d_bCancel->setGeometry(w - Margin - ButtonWidth, 154, ButtonWidth, ButtonHeight);
    d_bOK->setGeometry(w - Margin - 2 * ButtonWidth - 6, 154, ButtonWidth, ButtonHeight);

    // Upper panel: the group box on all four sides, the boxes by the group's size.
    form3_Group_Up->setGeometry(Margin, 6, inner, qMax(0, upperHeight - 8));
    const QSize group = form3_Group_Up->size();
    const int boxWidth = qMax(0, group.width() - BoxRightMargin);
    const int boxHeight = qMax(0, (group.height() - BoxesTop - BoxGap - BoxesBottom) / 2);
    form3_Mondai->setGeometry(BoxLeft, BoxesTop, boxWidth, boxHeight);
    form3_Kaitou->setGeometry(BoxLeft, BoxesTop + boxHeight + BoxGap, boxWidth, boxHeight);
    form3_Label_Mondai->setGeometry(Margin, BoxesTop + 2, BoxLeft - Margin - 2, 14);
    form3_Label_Kaitou->setGeometry(Margin, form3_Kaitou->y() + 2, BoxLeft - Margin - 2, 14);
}

int TForm3::Run(const QFont &questionFont, const QFont &answerFont) {
    Place();
    Fill(questionFont, answerFont);
    const int result = exec();
    StoreState();
    return result;
}

// Beside the main window with the stored offsets and size, but always on its screen.
void TForm3::Place() {
    QRect wanted(mainWindow_->pos() + QPoint(settings_.tuikaLeft, settings_.tuikaTop),
                 QSize(settings_.tuikaWidth, settings_.tuikaHeight).expandedTo(minimumSize()));
    if (const QScreen *screen = mainWindow_->screen()) {
        const QRect area = screen->availableGeometry();
        wanted.setSize(wanted.size().boundedTo(area.size()).expandedTo(minimumSize()));
        wanted.moveLeft(qBound(area.left(), wanted.left(), area.right() + 1 - wanted.width()));
        wanted.moveTop(qBound(area.top(), wanted.top(), area.bottom() + 1 - wanted.height()));
    }
    move(wanted.topLeft());
    resize(wanted.size());
}

void TForm3::Fill(const QFont &questionFont, const QFont &answerFont) {
    form3_Mondai->clear();
    form3_Kaitou->clear();
    if (QAbstractButton *item = radioItems_->button(settings_.tuikaMode))
        item->setChecked(true);
    form3_Mondai->setFont(questionFont);
    form3_Kaitou->setFont(answerFont);
    form3_CheckIdou->setChecked(settings_.tuikaIdou);
    form3_CheckEnter->setChecked(settings_.tuikaEnter);
    form3_CheckIME->setChecked(settings_.tuikaIME);
    form3_CheckClip->setChecked(settings_.tuikaClip);
    form3_Mondai->setFocus();
    const QString clip = ClipboardText();
    if (settings_.tuikaClip && !clip.isEmpty()) {
        form3_Mondai->setPlainText(clip);
        form3_Kaitou->setFocus();
    }
}

void TForm3::StoreState() {
    const QPoint offset = pos() - mainWindow_->pos();
    settings_.tuikaTop = offset.y();
    settings_.tuikaLeft = offset.x();
    settings_.tuikaWidth = width();
    settings_.tuikaHeight = height();
    settings_.tuikaMode = InsertionIndex();
    settings_.tuikaIdou = form3_CheckIdou->isChecked();
    settings_.tuikaClip = form3_CheckClip->isChecked();
    settings_.tuikaIME = form3_CheckIME->isChecked();
    // The modes take effect when the boxes next take the focus, that is at the next opening.
    ApplyInputMethods(settings_.tuikaIME);
}

// Switched: the question box takes direct (alphanumeric) entry and the answer box the input
// method; otherwise both may use it.
void TForm3::ApplyInputMethods(bool switched) {
    form3_Mondai->setAttribute(Qt::WA_InputMethodEnabled, !switched);
    form3_Kaitou->setAttribute(Qt::WA_InputMethodEnabled, true);
}

void TForm3::form3_CheckEnterClick() {
    settings_.tuikaEnter = form3_CheckEnter->isChecked();
}

int TForm3::InsertionIndex() const {
    const int checked = radioItems_->checkedId();
    return checked < 0 ? settings_.tuikaMode : checked;
}

TForm3::NewCardTexts TForm3::NewCard() const {
    NewCardTexts made{std::make_unique<TMondaiSet>(), {}, {}};
    made.question = StoreEdit(*made.card, 1, form3_Mondai->toPlainText(), 0);
    made.answer = StoreEdit(*made.card, 2, form3_Kaitou->toPlainText(), 0);
    return made;
}

// Enter (with or without Shift or Ctrl) confirms the dialog when the option says so; otherwise
// it goes on to the control, where a text box makes a line break of it.
bool TForm3::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && form3_CheckEnter->isChecked()) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}
