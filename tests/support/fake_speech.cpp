#include "support/fake_speech.h"

#include "speech/speech_engine.h"

namespace {
FakeSpeech::Script nextScript;
FakeSpeech *lastMade = nullptr;
} // namespace

bool FakeSpeech::Create() {
    calls_ << QStringLiteral("Create");
    return !script_.createFails;
}

bool FakeSpeech::Speak(const QString &text) {
    calls_ << QStringLiteral("Speak:") + text;
    return !script_.speakFails;
}

bool FakeSpeech::Stop() {
    calls_ << QStringLiteral("Stop");
    return !script_.stopFails;
}

std::optional<int> FakeSpeech::VoiceCount() {
    if (script_.listFails)
        return std::nullopt;
    return int(script_.voices.size());
}

std::optional<QString> FakeSpeech::VoiceName(int index) {
    if (index < 1 || index > script_.voices.size())
        return std::nullopt;
    return script_.voices[index - 1];
}

bool FakeSpeech::SelectVoice(int index) {
    calls_ << QStringLiteral("Select:%1").arg(index);
    if (index < 1 || index > script_.voices.size() || script_.failingVoices.contains(index))
        return false;
    script_.current = index;
    return true;
}

std::optional<int> FakeSpeech::CurrentVoice() {
    return script_.current;
}

std::string FakeSpeech::Take() {
    const QString joined = calls_.join(QLatin1Char(' '));
    calls_.clear();
    return joined.toStdString();
}

void UseFakeSpeech() {
    SetSpeechFactory([]() -> std::unique_ptr<SpeechComponent> {
        auto fake = std::make_unique<FakeSpeech>(std::exchange(nextScript, {}));
        lastMade = fake.get();
        return fake;
    });
}

FakeSpeech::Script &NextFakeSpeech() {
    return nextScript;
}

FakeSpeech *LastFakeSpeech() {
    return lastMade;
}
