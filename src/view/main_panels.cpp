// Building the main window's panels, the control column and the record bar.
#include "view/main_panels.h"

#include "deck/user_sample.h"
#include "ui/font_setup.h"
#include "view/card_view.h"
#include "view/named_widget.h"
#include "view/no_deck_hint.h"
#include "view/panel_widgets.h"
#include "view/sample_offer.h"
#include "view/status_notice.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {
constexpr int LeftPanelWidth = 100;
constexpr int BottomStripHeight = 20;
constexpr int RecordBarWidth = 280;
constexpr int LeftDownHeight = 112;

// Panels painted in the button face colour.
QWidget *FacePanel(QWidget *parent, const char *name) {
    auto *panel = Named(new QWidget(parent), name);
    panel->setAutoFillBackground(true);
    panel->setBackgroundRole(QPalette::Button);
    return panel;
}

QLabel *FaceLabel(QWidget *parent, const char *name, Qt::Alignment alignment) {
    auto *label = Named(new QLabel(parent), name);
    label->setAutoFillBackground(true);
    label->setBackgroundRole(QPalette::Button);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}
} // namespace

MainPanels::MainPanels(QMainWindow &window) {
    auto *central = new QWidget(&window);
    auto *column = new QVBoxLayout(central);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    window.setCentralWidget(central);

    Panel_Main = FacePanel(central, "Panel_Main");
    Panel1 = Named(new QWidget(central), "Panel1");
    Panel1->setFixedHeight(BottomStripHeight);
    column->addWidget(Panel_Main, 1);
    column->addWidget(Panel1);

    auto *row = new QHBoxLayout(Panel_Main);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    Panel_Left = FacePanel(Panel_Main, "Panel_Left");
    Panel_Left->setFixedWidth(LeftPanelWidth);
    // The three view panels share the area right of the control column.
    auto *viewArea = FacePanel(Panel_Main, "ViewArea");
    auto *stack = new QGridLayout(viewArea);
    stack->setContentsMargins(0, 0, 0, 0);
    Panel_Mondai = FacePanel(viewArea, "Panel_Mondai");
    Panel_Renban = FacePanel(viewArea, "Panel_Renban");
    Panel_Grid = FacePanel(viewArea, "Panel_Grid");
    for (QWidget *panel : {Panel_Mondai, Panel_Renban, Panel_Grid})
        stack->addWidget(panel, 0, 0);
    noDeckHint = new NoDeckHint(viewArea);
    stack->addWidget(noDeckHint, 0, 0, Qt::AlignCenter);
    sampleOffer =
        new SampleOffer(noDeckHint, InstalledSamplePath(QCoreApplication::applicationFilePath()));
    Panel_Main_Right = FacePanel(Panel_Main, "Panel_Main_Right");
    Panel_Main_Right->setFixedWidth(3);
    row->addWidget(Panel_Left);
    row->addWidget(viewArea, 1);
    row->addWidget(Panel_Main_Right);

    // The focus box lies behind the view panels: it can hold the focus but is never seen.
    fSannkou0 = Named(new QPlainTextEdit(Panel_Main), "fSannkou0");
    fSannkou0->setGeometry(LeftPanelWidth, 0, 8, 8);
    fSannkou0->setFocusPolicy(Qt::NoFocus);
    fSannkou0->lower();

    // The card cells come before the control column, which keeps the focus chain's order.
    cells = std::make_unique<CardView>(Panel_Mondai, Panel_Renban);
    cells->ForEachMemo([](TMyMemo *memo) { memo->setFont(DefaultFont(12)); });

    CreateLeftPanel(Panel_Left);
    CreateRecordBar(Panel1);
}

MainPanels::~MainPanels() = default;

QLineEdit *MainPanels::CreateCaptionBox(QWidget *parent, const QString &name, const QString &text) {
    auto *box = new QLineEdit(text, parent);
    box->setObjectName(name);
    box->setReadOnly(true);
    box->setFrame(false);
    box->setFocusPolicy(Qt::NoFocus);
    box->setBackgroundRole(QPalette::Button);
    box->setAutoFillBackground(true);
    QPalette p = box->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    box->setPalette(p);
    box->setCursor(Qt::ArrowCursor);
    captionBoxes.append(box);
    return box;
}

void MainPanels::CreateLeftPanel(QWidget *parent) {
    auto *column = new QVBoxLayout(parent);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    auto *top = new QWidget(parent);
    top->setFixedHeight(260);
    column->addWidget(top);
    column->addStretch(1);
    Panel_LeftDown = FacePanel(parent, "Panel_LeftDown");
    Panel_LeftDown->setFixedHeight(LeftDownHeight);
    column->addWidget(Panel_LeftDown);

    CreateCaptionBox(top, QStringLiteral("Edit_HyoujiHouho"), QStringLiteral("表示方法"))
        ->setGeometry(6, 6, 86, 16);
    SelectBox = Named(new PopupComboBox(top), "SelectBox");
    SelectBox->addItems({QStringLiteral("メイン"), QStringLiteral("サブ（2）"),
                         QStringLiteral("サブ（3）"), QStringLiteral("サブ（4）"),
                         QStringLiteral("サブ（5）"), QStringLiteral("一覧")});
    SelectBox->setGeometry(6, 24, 86, 22);
    SelectBox->setFocusPolicy(Qt::ClickFocus);

    myCheck = Named(new ClickLabel(QStringLiteral("✓"), top), "myCheck");
    QFont checkFont = parent->font();
    checkFont.setPointSize(22);
    checkFont.setBold(true);
    myCheck->setFont(checkFont);
    myCheck->setAlignment(Qt::AlignCenter);
    myCheck->setGeometry(28, 50, 44, 34);

    Num_Now = Named(new QGroupBox(QStringLiteral(" 0"), top), "Num_Now");
    Num_Now->setGeometry(4, 86, 90, 58);
    CreateCaptionBox(Num_Now, QStringLiteral("Edit_MondaiSuu"), QStringLiteral("問題数:"))
        ->setGeometry(3, 18, 58, 15);
    CreateCaptionBox(Num_Now, QStringLiteral("Edit_SyutudaiKensuu"), QStringLiteral("出題件数:"))
        ->setGeometry(3, 37, 58, 15);
    // The counters sit right of the captions and shrink their text to show long counts whole.
    Num_Total = Named(new FittingLabel(QStringLiteral("0"), Num_Now), "Num_Total");
    Num_Total->setGeometry(60, 18, 27, 15);
    Num_Total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Num_Select = Named(new FittingLabel(QStringLiteral("0"), Num_Now), "Num_Select");
    Num_Select->setGeometry(60, 37, 27, 15);
    Num_Select->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    ArrowCheck = Named(new QCheckBox(top), "ArrowCheck");
    ArrowCheck->setGeometry(6, 150, 18, 16);
    ArrowCheck->setFocusPolicy(Qt::NoFocus);
    CreateCaptionBox(top, QStringLiteral("Edit_Yajirusi"), QStringLiteral("矢印キー"))
        ->setGeometry(26, 150, 66, 16);
    Panel_Arrow = Named(new QFrame(top), "Panel_Arrow");
    static_cast<QFrame *>(Panel_Arrow)->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    Panel_Arrow->setGeometry(6, 170, 86, 52);
    const std::array<std::pair<QLabel **, const char *>, 3> arrows{
        {{&Label3, "Label3"}, {&Label4, "Label4"}, {&Label5, "Label5"}}};
    const QStringList captions{QStringLiteral("↑（もどる）"), QStringLiteral("→（できた）"),
                               QStringLiteral("↓（すすめ）")};
    for (int i = 0; i < 3; ++i) {
        *arrows[i].first = Named(new QLabel(captions[i], Panel_Arrow), arrows[i].second);
        (*arrows[i].first)->setGeometry(6, 3 + 16 * i, 78, 15);
    }

    AutoSaveCheck = Named(new QCheckBox(top), "AutoSaveCheck");
    AutoSaveCheck->setGeometry(6, 230, 18, 16);
    AutoSaveCheck->setFocusPolicy(Qt::NoFocus);
    CreateCaptionBox(top, QStringLiteral("Edit_AutoSave"), QStringLiteral("自動保存"))
        ->setGeometry(26, 230, 66, 16);

    auto *bar = Named(new QFrame(parent), "myBar");
    bar->setFrameStyle(QFrame::VLine | QFrame::Sunken);
    bar->setGeometry(LeftPanelWidth - 6, 0, 6, 0);
    bar->hide(); // only a divider, and the panel edge already divides

    btnSusume = Named(new QPushButton(QStringLiteral("すすめ"), Panel_LeftDown), "btnSusume");
    btnSusume->setGeometry(15, 4, 70, 50);
    btnDekita = Named(new QPushButton(QStringLiteral("できた"), Panel_LeftDown), "btnDekita");
    btnDekita->setGeometry(15, 58, 70, 50);
    for (QPushButton *button : {btnSusume, btnDekita}) {
        button->setFocusPolicy(Qt::NoFocus);
        QFont big = parent->font();
        big.setPointSize(11);
        button->setFont(big);
    }
}

void MainPanels::CreateRecordBar(QWidget *parent) {
    auto *row = new QHBoxLayout(parent);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    StatusBar1 = Named(new QStatusBar(parent), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    notice = new StatusNotice(StatusBar1);
    newCardStatus = Named(new QLabel(StatusBar1), "NewCardStatus");
    newCardStatus->hide();
    StatusBar1->addPermanentWidget(newCardStatus);
    Panel_Under = FacePanel(parent, "Panel_Under");
    Panel_Under->setFixedWidth(RecordBarWidth);
    row->addWidget(StatusBar1, 1);
    row->addWidget(Panel_Under);

    fBangou = FaceLabel(Panel_Under, "fBangou", Qt::AlignRight);
    fBangou->setGeometry(0, 2, 169, 16);
    fBangou_Label = FaceLabel(Panel_Under, "fBangou_Label", Qt::AlignLeft);
    fBangou_Label->setGeometry(175, 2, 10, 16);
    fBangou2 = FaceLabel(Panel_Under, "fBangou2", Qt::AlignRight);
    fBangou2->setGeometry(191, 2, 86, 16);
}
