#pragma once

#include "speech/speech_component.h"

#include <QByteArray>
#include <QList>
#include <QObject>

#include <functional>
#include <mutex>
#include <optional>
#include <thread>

// One installed espeak-ng voice as the list shows it.
struct EspeakVoice {
    QByteArray name;       // espeak-ng's own name, used to select the voice
    QStringList languages; // most preferred first
    QString label;         // "English (America) [en-us]"
};

// The speech component on the espeak-ng library. espeak-ng keeps one engine per process, so at
// most one of these may exist at a time.
//
// On the desktop the engine starts on a background thread, so the window never waits for the
// voice data to load, and not before the start gate lets it (start_gate.h); what is spoken
// before it is ready is kept and spoken when it is. Speech is played asynchronously on the
// sound device.
class EspeakSpeech : public SpeechComponent {
public:
    using SampleSink = std::function<void(const short *samples, int count)>;

    EspeakSpeech();
    // Synthesises in the calling thread and hands the samples to `sink` instead of playing
    // them. An empty `dataFolder` means espeak-ng's own.
    EspeakSpeech(SampleSink sink, QByteArray dataFolder);
    ~EspeakSpeech() override;
    EspeakSpeech(const EspeakSpeech &) = delete;
    EspeakSpeech &operator=(const EspeakSpeech &) = delete;

    bool Create() override;
    bool Speak(const QString &text) override;
    bool Stop() override;
    std::optional<int> VoiceCount() override;
    std::optional<QString> VoiceName(int index) override;
    bool SelectVoice(int index) override;
    std::optional<int> CurrentVoice() override;
    QString FailureDetails() const override;
    bool HasOutput() override;

    // The voice list in the order shown, sorted by label; the English one the engine starts with.
    static QList<EspeakVoice> SortedVoices(QList<EspeakVoice> voices);
    static int DefaultVoiceIndex(const QList<EspeakVoice> &voices); // 1-based, 0 when none

private:
    enum class State { NotCreated, Starting, Ready, Failed };

    bool StartEngine();
    void StartInBackground();
    bool SynthNow(const QByteArray &utf8);
    void Fail(int status);
    // Waits for a background start; true when the engine is ready.
    bool WaitReady();

    const bool background_;
    SampleSink sink_;
    QByteArray dataFolder_;
    mutable std::mutex mutex_; // guards state_, pending_ and failure_ against the starting thread
    State state_ = State::NotCreated;
    std::optional<QByteArray> pending_; // spoken once a background start is done
    bool closing_ = false;              // gone before a held-back start began
    std::thread starter_;
    QObject notifier_; // delivers a late failure to the user-interface thread
    bool initialised_ = false;
    QList<EspeakVoice> voices_;
    int current_ = 0;
    QString failure_; // guarded by mutex_
};
