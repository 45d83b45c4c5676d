// Reading the current card aloud.
#include "app/tform1.h"

void TForm1::CreateSpeech() {
    SpeechAvailable = false;
}

void TForm1::AutoSpeak() {}
