// The drill on screen: commands, keys, the wheel, counters and the drill's questions.
#include "app/tform1.h"

#include "deck/sjis_codec.h"
#include "overview/learning_progress.h"
#include "ui/prompts.h"
#include "view/card_view.h"
#include "view/drill_input.h"
#include "view/panel_widgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
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

void TForm1::ClickSusume() {
    drillInput_->Susume();
}

void TForm1::ClickDekita() {
    drillInput_->Dekita();
}

void TForm1::ClickArrowCheck() {
    Yajirusi = ArrowCheck->isChecked();
    UpdateArrowCaptions();
}

void TForm1::ClickAutoSaveCheck() {
    AutoSave = AutoSaveCheck->isChecked();
}

void TForm1::UpdateArrowCaptions() {
    ArrowCheck->setChecked(Yajirusi);
    AutoSaveCheck->setChecked(AutoSave);
    const QColor colour = Yajirusi ? palette().color(QPalette::WindowText) : PaleText(palette());
    for (QLabel *label : {Label3, Label4, Label5})
        SetTextColour(label, colour);
}

bool TForm1::CMChildKey(int key, Qt::KeyboardModifiers modifiers) {
    return drillInput_->TakeKey(key, modifiers);
}

void TForm1::ShowCounters() {
    const TMondaiSet *card = drill_.Current();
    Num_Now->setTitle(QStringLiteral(" %1").arg(drill_.CurrentCardNumber()));
    Num_Total->SetFittingText(QString::number(deck_.Cards().size()));
    Num_Select->SetFittingText(QString::number(drill_.Queue().size()));
    const QString newCards = progress_->NewCardStatus();
    newCardStatus_->setText(newCards);
    newCardStatus_->setVisible(!newCards.isEmpty());
    if (card) {
        fBangou->setText(sjis::ToQString(RecordText(*card)));
        fBangou_Label->setText(QStringLiteral("["));
        fBangou2->setText(sjis::ToQString(DaysText(*card, drill_.DoneFlag(), drill_.Today())));
    } else {
        fBangou->clear();
        fBangou_Label->clear();
        fBangou2->clear();
    }
    SetTextColour(myCheck,
                  drill_.DoneFlag() ? palette().color(QPalette::WindowText) : PaleText(palette()));
}

bool TForm1::AskRestartStudy() {
    return prompts_.ConfirmCarefully(
        this, QStringLiteral("すべての学習を終了しました。\nやり直しますか？\n\n"
                             "・「はい」を押すと、すぐに全問題が\n再出題されます。\n"
                             "・「ｷｬﾝｾﾙ」を押すと、後日、復習\n対象となった問題から"
                             "、順次再出\n題されます。"));
}

bool TForm1::ConfirmResetAll() {
    return prompts_.ConfirmCarefully(
        this, QStringLiteral("すべての問題を再度題します。\nよろしいですか？\n\n"
                             "・復習までの時間がすべて0に\n変更されます。\n"
                             "・正誤記録は変更されません。"));
}

void TForm1::ShowBookmarkExempt() {
    prompts_.Inform(this,
                    QStringLiteral("[しおり] 設定の問題は、\n正解・不正解の処理が行われません。\n"
                                   "無視して進めてください。"),
                    {PromptButton::Yes});
}

void TForm1::BookmarkNotInQueue() {
    StatusBar1->showMessage(QStringLiteral("しおりのカードは、いまは出題されていません。"));
}

void TForm1::OrderApplied(int jyun) {
    drillInput_->MarkOrder(jyun);
}
