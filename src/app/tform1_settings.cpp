// The settings file: read once while the window is created, written once when it closes.
#include "app/tform1.h"

void TForm1::ReadSettings() {
    // Until a settings file exists every option keeps the value the window was built with.
}

void TForm1::WriteSettings() {}
