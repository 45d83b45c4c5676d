#include "speech/speech_engine.h"

#include "speech/espeak_speech.h"

namespace {
SpeechFactory &Factory() {
    static SpeechFactory factory;
    return factory;
}
} // namespace

std::unique_ptr<SpeechComponent> MakeSpeechComponent() {
    if (Factory())
        return Factory()();
    return std::make_unique<EspeakSpeech>();
}

void SetSpeechFactory(SpeechFactory factory) {
    Factory() = std::move(factory);
}
