#pragma once

// Holds back the loading of the speech engine while the window draws itself for the first
// time: on a busy machine the engine's voice data and sound device would compete with the
// first paint for the processor. The program holds it at start-up and releases it once its
// window has been drawn; nothing holds it unless asked to. Asking for the voices releases it,
// since the answer cannot wait.
namespace speech_start {
void Hold();
void Release();
bool Held();
// Blocks the calling thread (the engine's starting thread) until released.
void WaitUntilReleased();
} // namespace speech_start
