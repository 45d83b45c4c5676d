#pragma once

#include "ui/prompts.h"

// The version box: what the program is, which build and Qt it runs on, and its licence.
MessageRequest AboutRequest();

// The program's version, as the project names it ("0.1").
QString ProgramVersion();
