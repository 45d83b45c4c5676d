#include "speech/speech_output.h"

#include "deck/sjis_codec.h"
#include "drill/drill.h"
#include "speech/speech_component.h"
#include "speech/tform2.h"
#include "ui/menu_items.h"

#include <QAction>
#include <QMenu>

namespace {

QString WithEngineWords(const QString &advice, const QString &engineWords) {
    if (engineWords.isEmpty())
        return advice;
    return advice + QStringLiteral("\nespeak-ng: ") + engineWords;
}

} // namespace

SpeechOutput::SpeechOutput(int &mode, Prompts &prompts) : mode_(mode), prompts_(prompts) {}

SpeechOutput::~SpeechOutput() = default;

SpeechMenuItems AddSpeechMenu(QMenu *settingsMenu) {
    QMenu *speak = AddMenu(settingsMenu, "men_Other_Speak", QStringLiteral("発音を聞く"));
    SpeechMenuItems items;
    items.question = AddCheckItem(speak, "men_Other_SpeakMondai", QStringLiteral("問題"), false);
    items.answer = AddCheckItem(speak, "men_Other_SpeakKaitou", QStringLiteral("解答"), false);
    items.voiceSettings =
        AddItem(speak, "men_Other_SpeakSetting", QStringLiteral("発音の設定詳細..."));
    return items;
}

void SpeechOutput::SetMenuItems(QAction *speakMondai, QAction *speakKaitou) {
    speakMondai_ = speakMondai;
    speakKaitou_ = speakKaitou;
    // A checkable item flips its own mark before it reports the click; the handlers decide from
    // the mark the user clicked on.
    QObject::connect(speakMondai, &QAction::triggered, speakMondai, [this](bool checked) {
        speakMondai_->setChecked(!checked);
        ClickSpeakMondai();
    });
    QObject::connect(speakKaitou, &QAction::triggered, speakKaitou, [this](bool checked) {
        speakKaitou_->setChecked(!checked);
        ClickSpeakKaitou();
    });
}

void SpeechOutput::Start(std::unique_ptr<SpeechComponent> component) {
    speech_ = std::move(component);
    available_ = speech_ && speech_->Create() && speech_->Speak(QStringLiteral("."));
    if (!available_) {
        // The engine's words go with the notice; the engine does not stay.
        const QString details = speech_ ? speech_->FailureDetails() : QString();
        speech_.reset();
        BecomeUnavailable(details);
        return;
    }
    speech_->OnLateFailure([this] { BecomeUnavailable(speech_->FailureDetails()); });
}

void SpeechOutput::BecomeUnavailable(const QString &details) {
    // Only a learner who asked for speech misses it.
    if (mode_ != Off)
        Tell(CannotStartNotice(),
             WithEngineWords(QStringLiteral("espeak-ng を起動できないため、読み上げを止めました。"),
                             details));
    available_ = false;
    mode_ = Off;
    UpdateMarks();
}

// The notices are short enough for the status line at the window's first size; the rest goes
// into the details.
QString SpeechOutput::CannotStartNotice() {
    return QStringLiteral("読み上げを使えません。");
}

QString SpeechOutput::CannotSpeakNotice() {
    return QStringLiteral("読み上げに失敗しました。");
}

QString SpeechOutput::NoOutputNotice() {
    return QStringLiteral("読み上げの音を出せません。");
}

void SpeechOutput::Tell(const QString &text, const QString &details) {
    if (told_ || !notice_)
        return;
    told_ = true;
    notice_(text, details);
}

void SpeechOutput::CheckOutput() {
    // Asked at the first text, not at start-up: looking for sound devices takes time.
    if (outputChecked_)
        return;
    outputChecked_ = true;
    if (!speech_->HasOutput())
        Tell(NoOutputNotice(),
             QStringLiteral("音声の出力先がありません。サウンドデバイスもサウンドサーバー "
                            "(PipeWire, PulseAudio) も見つかりませんでした。"));
}

void SpeechOutput::AutoSpeak(const Drill &drill) {
    const TMondaiSet *card = drill.Current();
    if (!card)
        return;
    if (drill.DisplayPattern() == PatternMain) {
        // The question was spoken when it came up; the answer is not visible yet.
        if (mode_ == Question && drill.AnswerShown())
            return;
        if (mode_ == Answer && !drill.AnswerShown())
            return;
    }
    if (!available_ || !speech_)
        return;
    // Speech is a side show: a failing engine never stops the drill step or its redraw.
    speech_->Stop();
    // The mode names the box, and the boxes follow the drill's direction.
    const QByteArray text = mode_ == Question ? card->GetText(AskedText(drill.Direction()))
                            : mode_ == Answer ? card->GetText(ExpectedText(drill.Direction()))
                                              : QByteArray();
    if (!text.isEmpty())
        SpeakField(text);
}

void SpeechOutput::SpeakField(const QByteArray &storedText) {
    if (recorded_ && recorded_(storedText))
        return;
    // Spoken all the same: a device the check cannot see may still take it.
    CheckOutput();
    if (!speech_->Speak(sjis::ToDisplay(storedText).text))
        Tell(CannotSpeakNotice(),
             WithEngineWords(
                 QStringLiteral("音声の選択 (設定 → 発音を聞く → 発音の設定詳細) を見直してく"
                                "ださい。"),
                 speech_->FailureDetails()));
}

void SpeechOutput::ClickSpeakMondai() {
    mode_ = speakMondai_ && speakMondai_->isChecked() ? Off : Question;
    UpdateMarks();
}

void SpeechOutput::ClickSpeakKaitou() {
    mode_ = speakKaitou_ && speakKaitou_->isChecked() ? Off : Answer;
    UpdateMarks();
}

void SpeechOutput::UpdateMarks() {
    if (mode_ < Off || mode_ > Answer)
        return;
    if (speakMondai_)
        speakMondai_->setChecked(mode_ == Question);
    if (speakKaitou_)
        speakKaitou_->setChecked(mode_ == Answer);
}

void SpeechOutput::MenuOpening() {
    if (speakMondai_)
        speakMondai_->setEnabled(available_);
    if (speakKaitou_)
        speakKaitou_->setEnabled(available_);
}

void SpeechOutput::RunVoiceDialog(QWidget *mainWindow) {
    SpeechComponent *speech = available_ ? speech_.get() : nullptr;
    const std::optional<int> opening = speech ? speech->CurrentVoice() : std::nullopt;
    if (!dialog_)
        dialog_ = std::make_unique<TForm2>(prompts_, mainWindow);
    dialog_->move(mainWindow->pos() + QPoint(70, 40));
    dialog_->FillVoices(speech);
    dialogOpen_ = true;
    const int result = dialog_->exec();
    dialogOpen_ = false;
    if (!speech)
        return;
    if (result == QDialog::Accepted)
        speech->SelectVoice(dialog_->SelectedIndex() + 1);
    else if (opening)
        speech->SelectVoice(*opening);
}
