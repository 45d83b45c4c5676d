#include "speech/espeak_speech.h"

#include "media/sound_player.h"
#include "speech/start_gate.h"

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>

#include <QMetaObject>

#include <algorithm>
#include <cstring>

namespace {

// espeak-ng has one engine per process, so one place receives its samples.
EspeakSpeech::SampleSink *activeSink = nullptr;

int ReceiveSamples(short *samples, int count, espeak_EVENT *) {
    if (activeSink && samples && count > 0)
        (*activeSink)(samples, count);
    return 0; // go on synthesising
}

// The language list is a run of (priority byte, zero-terminated name) ending with a zero byte.
QStringList Languages(const char *list) {
    QStringList languages;
    if (!list)
        return languages;
    while (*list) {
        const char *name = list + 1;
        languages << QString::fromUtf8(name);
        list = name + std::strlen(name) + 1;
    }
    return languages;
}

EspeakVoice FromEspeak(const espeak_VOICE &voice) {
    EspeakVoice v;
    v.name = QByteArray(voice.name ? voice.name : "");
    v.languages = Languages(voice.languages);
    // Some voice files write their names with underscores for spaces.
    v.label = QString::fromUtf8(v.name).replace(QLatin1Char('_'), QLatin1Char(' ')).simplified();
    if (!v.languages.isEmpty())
        v.label += QStringLiteral(" [%1]").arg(v.languages.first());
    return v;
}

} // namespace

EspeakSpeech::EspeakSpeech() : background_(true) {}

EspeakSpeech::EspeakSpeech(SampleSink sink, QByteArray dataFolder)
    : background_(false), sink_(std::move(sink)), dataFolder_(std::move(dataFolder)) {}

EspeakSpeech::~EspeakSpeech() {
    if (starter_.joinable()) {
        {
            // A start still held back is not worth making now.
            std::lock_guard lock(mutex_);
            closing_ = true;
        }
        speech_start::Release();
        starter_.join();
    }
    if (state_ == State::Ready)
        espeak_Cancel();
    if (initialised_)
        espeak_Terminate();
    if (activeSink == &sink_)
        activeSink = nullptr;
}

QList<EspeakVoice> EspeakSpeech::SortedVoices(QList<EspeakVoice> voices) {
    std::stable_sort(voices.begin(), voices.end(), [](const EspeakVoice &a, const EspeakVoice &b) {
        const int byLabel = a.label.compare(b.label, Qt::CaseInsensitive);
        return byLabel != 0 ? byLabel < 0 : a.name < b.name;
    });
    return voices;
}

int EspeakSpeech::DefaultVoiceIndex(const QList<EspeakVoice> &voices) {
    for (const char *wanted : {"en-us", "en"}) {
        const QString language = QString::fromLatin1(wanted);
        for (qsizetype i = 0; i < voices.size(); ++i)
            if (voices[i].languages.contains(language, Qt::CaseInsensitive))
                return int(i) + 1;
    }
    return voices.isEmpty() ? 0 : 1;
}

void EspeakSpeech::Fail(int status) {
    char words[256] = {};
    espeak_ng_GetStatusCodeMessage(espeak_ng_STATUS(status), words, sizeof words);
    std::lock_guard lock(mutex_);
    failure_ = QString::fromUtf8(words);
}

bool EspeakSpeech::StartEngine() {
    // espeak_Initialize would start even without its data and only print why; its steps tell.
    espeak_ng_InitializePath(dataFolder_.isEmpty() ? nullptr : dataFolder_.constData());
    espeak_ng_ERROR_CONTEXT context = nullptr;
    const espeak_ng_STATUS status = espeak_ng_Initialize(&context);
    espeak_ng_ClearErrorContext(&context);
    // The output is set up whatever the outcome, as espeak_Initialize does: the engine's end
    // expects it.
    const espeak_ng_STATUS output = espeak_ng_InitializeOutput(
        background_ ? ENOUTPUT_MODE_SPEAK_AUDIO : ENOUTPUT_MODE_SYNCHRONOUS, 0, nullptr);
    initialised_ = true;
    if (status != ENS_OK || output != ENS_OK || espeak_ng_GetSampleRate() <= 0) {
        Fail(status != ENS_OK ? status : output != ENS_OK ? output : ENS_NOT_INITIALIZED);
        return false;
    }
    if (!background_) {
        activeSink = &sink_;
        espeak_SetSynthCallback(ReceiveSamples);
    }
    QList<EspeakVoice> found;
    for (const espeak_VOICE **voice = espeak_ListVoices(nullptr); voice && *voice; ++voice)
        found << FromEspeak(**voice);
    voices_ = SortedVoices(found);
    const int english = DefaultVoiceIndex(voices_);
    if (english == 0 || espeak_SetVoiceByName(voices_[english - 1].name.constData()) != EE_OK) {
        Fail(ENS_VOICE_NOT_FOUND);
        return false;
    }
    current_ = english;
    return true;
}

void EspeakSpeech::StartInBackground() {
    speech_start::WaitUntilReleased();
    {
        std::lock_guard lock(mutex_);
        if (closing_)
            return;
    }
    bool ok = StartEngine();
    {
        std::lock_guard lock(mutex_);
        if (ok && pending_)
            ok = SynthNow(*pending_);
        pending_.reset();
        state_ = ok ? State::Ready : State::Failed;
    }
    if (!ok)
        QMetaObject::invokeMethod(
            &notifier_, [this] { ReportLateFailure(); }, Qt::QueuedConnection);
}

bool EspeakSpeech::Create() {
    if (state_ != State::NotCreated)
        return state_ != State::Failed;
    if (!background_) {
        const bool ok = StartEngine();
        state_ = ok ? State::Ready : State::Failed;
        return ok;
    }
    state_ = State::Starting;
    starter_ = std::thread([this] { StartInBackground(); });
    return true;
}

bool EspeakSpeech::SynthNow(const QByteArray &utf8) {
    const espeak_ng_STATUS status =
        espeak_ng_Synthesize(utf8.constData(), size_t(utf8.size()) + 1, 0, POS_CHARACTER, 0,
                             espeakCHARS_UTF8, nullptr, nullptr);
    if (status == ENS_OK)
        return true;
    char words[256] = {};
    espeak_ng_GetStatusCodeMessage(status, words, sizeof words);
    failure_ = QString::fromUtf8(words); // the caller holds mutex_
    return false;
}

bool EspeakSpeech::HasOutput() {
    // The samples of a synthesis into a sink never reach a device.
    return !background_ || HasAudioOutput();
}

QString EspeakSpeech::FailureDetails() const {
    std::lock_guard lock(mutex_);
    return failure_;
}

bool EspeakSpeech::Speak(const QString &text) {
    std::lock_guard lock(mutex_);
    switch (state_) {
    case State::Starting:
        pending_ = text.toUtf8(); // the latest text wins, as a stop would have silenced the rest
        return true;
    case State::Ready:
        return SynthNow(text.toUtf8());
    default:
        return false;
    }
}

bool EspeakSpeech::Stop() {
    std::lock_guard lock(mutex_);
    switch (state_) {
    case State::Starting:
        pending_.reset();
        return true;
    case State::Ready:
        return espeak_Cancel() == EE_OK;
    default:
        return false;
    }
}

bool EspeakSpeech::WaitReady() {
    if (starter_.joinable()) {
        speech_start::Release();
        starter_.join();
    }
    std::lock_guard lock(mutex_);
    return state_ == State::Ready;
}

std::optional<int> EspeakSpeech::VoiceCount() {
    if (!WaitReady())
        return std::nullopt;
    return int(voices_.size());
}

std::optional<QString> EspeakSpeech::VoiceName(int index) {
    if (!WaitReady() || index < 1 || index > voices_.size())
        return std::nullopt;
    return voices_[index - 1].label;
}

bool EspeakSpeech::SelectVoice(int index) {
    if (!WaitReady() || index < 1 || index > voices_.size())
        return false;
    std::lock_guard lock(mutex_);
    // The engine changes voice at once, also under an utterance still being played.
    if (background_)
        espeak_Cancel();
    if (espeak_SetVoiceByName(voices_[index - 1].name.constData()) != EE_OK)
        return false;
    current_ = index;
    return true;
}

std::optional<int> EspeakSpeech::CurrentVoice() {
    if (!WaitReady())
        return std::nullopt;
    return current_;
}
