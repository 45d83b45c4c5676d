#pragma once

#include <QString>

#include <functional>
#include <optional>

// What the program asks of a text-to-speech engine. Every operation reports failure through its
// result; voices are counted from 1.
class SpeechComponent {
public:
    virtual ~SpeechComponent() = default;

    virtual bool Create() = 0;
    // Starts speaking and returns at once; never waits for the end of the speech.
    virtual bool Speak(const QString &text) = 0;
    // Silences whatever is being spoken.
    virtual bool Stop() = 0;
    virtual std::optional<int> VoiceCount() = 0;
    virtual std::optional<QString> VoiceName(int index) = 0;
    virtual bool SelectVoice(int index) = 0;
    virtual std::optional<int> CurrentVoice() = 0;
    // The engine's own words on why it failed to start or to speak the last text; empty when it
    // has none.
    virtual QString FailureDetails() const { return {}; }
    // Whether what is spoken reaches a sound output at all; an engine playing into nothing
    // reports no error of its own.
    virtual bool HasOutput() { return true; }

    // An engine that finishes starting after Create() has returned calls `handler` on the
    // user-interface thread when that start failed after all.
    void OnLateFailure(std::function<void()> handler) { lateFailure_ = std::move(handler); }

protected:
    void ReportLateFailure() {
        if (lateFailure_)
            lateFailure_();
    }

private:
    std::function<void()> lateFailure_;
};
