#include "view/drill_controls.h"

#include "deck/deck.h"
#include "deck/sjis_codec.h"
#include "drill/drill.h"
#include "drill/scheduling.h"
#include "ui/prompts.h"
#include "view/drill_input.h"
#include "view/main_panels.h"
#include "view/panel_widgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>

namespace {
// The pale text of switched-off captions and of the check mark before できた: the text colour
// faded most of the way into the background, whatever the desktop's palette calls disabled.
QColor PaleText(const QPalette &palette) {
    const QColor text = palette.color(QPalette::WindowText);
    const QColor back = palette.color(QPalette::Window);
    auto mix = [](int a, int b) { return (a + 2 * b) / 3; };
    return QColor(mix(text.red(), back.red()), mix(text.green(), back.green()),
                  mix(text.blue(), back.blue()));
}

void SetTextColour(QWidget *widget, const QColor &colour) {
    // On a button-face panel a label would otherwise draw in the button text colour.
    widget->setForegroundRole(QPalette::WindowText);
    QPalette p = widget->palette();
    p.setColor(QPalette::WindowText, colour);
    widget->setPalette(p);
}
} // namespace

DrillControls::DrillControls(QWidget &window, const MainPanels &panels, const Deck &deck,
                             const Drill &drill, DrillInput &input, Prompts &prompts,
                             std::function<QString()> newCardStatus)
    : QObject(&window), window_(window), panels_(panels), deck_(deck), drill_(drill),
      prompts_(prompts), newCardStatus_(std::move(newCardStatus)) {
    connect(panels.btnSusume, &QPushButton::clicked, &input, &DrillInput::Susume);
    connect(panels.btnDekita, &QPushButton::clicked, &input, &DrillInput::Dekita);
    connect(panels.myCheck, &ClickLabel::clicked, &input, &DrillInput::Dekita);
    connect(panels.ArrowCheck, &QCheckBox::clicked, this, &DrillControls::SetArrowKeys);
    connect(panels.AutoSaveCheck, &QCheckBox::clicked, this, &DrillControls::SetAutoSave);
    ShowSwitches();
}

void DrillControls::SetArrowKeys(bool on) {
    arrowKeys_ = on;
    ShowSwitches();
}

void DrillControls::SetAutoSave(bool on) {
    autoSave_ = on;
    ShowSwitches();
}

void DrillControls::ShowSwitches() {
    panels_.ArrowCheck->setChecked(arrowKeys_);
    panels_.AutoSaveCheck->setChecked(autoSave_);
    const QPalette &palette = window_.palette();
    const QColor colour = arrowKeys_ ? palette.color(QPalette::WindowText) : PaleText(palette);
    for (QLabel *label : {panels_.Label3, panels_.Label4, panels_.Label5})
        SetTextColour(label, colour);
}

void DrillControls::ShowCounters() {
    const TMondaiSet *card = drill_.Current();
    panels_.Num_Now->setTitle(QStringLiteral(" %1").arg(drill_.CurrentCardNumber()));
    panels_.Num_Total->SetFittingText(QString::number(deck_.Cards().size()));
    panels_.Num_Select->SetFittingText(QString::number(drill_.Queue().size()));
    const QString newCards = newCardStatus_();
    panels_.newCardStatus->setText(newCards);
    panels_.newCardStatus->setVisible(!newCards.isEmpty());
    if (card) {
        panels_.fBangou->setText(sjis::ToQString(RecordText(*card)));
        panels_.fBangou_Label->setText(QStringLiteral("["));
        panels_.fBangou2->setText(
            sjis::ToQString(DaysText(*card, drill_.DoneFlag(), drill_.Today())));
    } else {
        panels_.fBangou->clear();
        panels_.fBangou_Label->clear();
        panels_.fBangou2->clear();
    }
    const QPalette &palette = window_.palette();
    SetTextColour(panels_.myCheck,
                  drill_.DoneFlag() ? palette.color(QPalette::WindowText) : PaleText(palette));
}

bool DrillControls::AskRestartStudy() {
    return prompts_.ConfirmCarefully(
        &window_, QStringLiteral("すべての学習を終了しました。\nやり直しますか？\n\n"
                                 "・「はい」を押すと、すぐに全問題が\n再出題されます。\n"
                                 "・「ｷｬﾝｾﾙ」を押すと、後日、復習\n対象となった問題から"
                                 "、順次再出\n題されます。"));
}

bool DrillControls::ConfirmResetAll() {
    return prompts_.ConfirmCarefully(
        &window_, QStringLiteral("すべての問題を再度題します。\nよろしいですか？\n\n"
                                 "・復習までの時間がすべて0に\n変更されます。\n"
                                 "・正誤記録は変更されません。"));
}

void DrillControls::ShowBookmarkExempt() {
    prompts_.Inform(&window_,
                    QStringLiteral("[しおり] 設定の問題は、\n正解・不正解の処理が行われません。\n"
                                   "無視して進めてください。"),
                    {PromptButton::Yes});
}

void DrillControls::BookmarkNotInQueue() {
    panels_.StatusBar1->showMessage(QStringLiteral("しおりのカードは、いまは出題されていません。"));
}
