#pragma once

#include "speech/speech_component.h"

#include <functional>
#include <memory>

using SpeechFactory = std::function<std::unique_ptr<SpeechComponent>()>;

// The engine the program speaks with: espeak-ng on the sound device, unless replaced.
std::unique_ptr<SpeechComponent> MakeSpeechComponent();
// Replaces the engine for tests; an empty factory restores the real one.
void SetSpeechFactory(SpeechFactory factory);
