// Reading the current card aloud.
#include "app/tform1.h"

#include "app/after_first_paint.h"
#include "speech/speech_engine.h"
#include "speech/speech_output.h"
#include "speech/start_gate.h"

#include <QAction>
#include <QMenu>

void TForm1::CreateSpeech() {
    speech_ = std::make_unique<SpeechOutput>(SpeechAvailable, settings_.speakEnglish, prompts_);
    speech_->SetMenuItems(speechItems_.question, speechItems_.answer);
    speech_->UpdateMarks();
    speech_->SetRecordedVoice(
        [this](const QByteArray &stored) { return PlayRecordedVoice(stored); });
    connect(settingsMenu_, &QMenu::aboutToShow, this, [this] { speech_->MenuOpening(); });
    connect(speechItems_.voiceSettings, &QAction::triggered, this,
            &TForm1::men_Other_SpeakSettingClick);
    speech_->SetNotice(
        [this](const QString &text, const QString &details) { ShowNotice(text, details); });
    speech_->Start(MakeSpeechComponent());
    // When start-up holds the engine back, it loads once the window is drawn.
    if (speech_start::Held())
        afterPaint_->Add(&speech_start::Release);
}

void TForm1::AutoSpeak() {
    if (speech_) // the settings may move the drill before speech exists
        speech_->AutoSpeak(drill_);
}

void TForm1::men_Other_SpeakSettingClick() {
    VoiceDialogOpen = true;
    speech_->RunVoiceDialog(this);
    VoiceDialogOpen = false;
}
