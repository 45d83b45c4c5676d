#pragma once

#include "speech/speech_component.h"

#include <QSet>
#include <QStringList>

#include <string>

// A speech engine that records what it is asked to do.
class FakeSpeech : public SpeechComponent {
public:
    struct Script {
        bool createFails = false;
        bool speakFails = false;
        bool stopFails = false;
        bool listFails = false; // the voice list cannot be read
        QStringList voices{QStringLiteral("Voice A [a]"), QStringLiteral("Voice B [b]"),
                           QStringLiteral("Voice C [c]")};
        int current = 1;
        QSet<int> failingVoices; // cannot be selected
        bool noOutput = false;   // plays into nothing
        QString failureWords;    // the engine's own words on a failure
    };

    explicit FakeSpeech(Script script) : script_(std::move(script)) {}

    bool Create() override;
    bool Speak(const QString &text) override;
    bool Stop() override;
    std::optional<int> VoiceCount() override;
    std::optional<QString> VoiceName(int index) override;
    bool SelectVoice(int index) override;
    std::optional<int> CurrentVoice() override;
    QString FailureDetails() const override { return script_.failureWords; }
    bool HasOutput() override { return !script_.noOutput; }

    Script &Edit() { return script_; }
    // As an engine that finished starting in the background and failed.
    void FailLate() { ReportLateFailure(); }
    // The calls since the last Take, e.g. "Stop Speak:A Select:2", and forgets them.
    std::string Take();

private:
    Script script_;
    QStringList calls_;
};

// Every window of the test program speaks through a fake. The next fake made follows
// NextFakeSpeech(), which is then reset to the default script.
void UseFakeSpeech();
FakeSpeech::Script &NextFakeSpeech();
// The fake of the window made last.
FakeSpeech *LastFakeSpeech();
