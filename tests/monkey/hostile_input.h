#pragma once

#include <QDir>
#include <QString>
#include <QStringList>

#include <random>
#include <utility>
#include <vector>

using MonkeyRng = std::mt19937_64;

// A uniformly drawn index below `count` (count > 0).
int Pick(MonkeyRng &rng, int count);
// True with the given chance in percent.
bool Chance(MonkeyRng &rng, int percent);

// Text a user might type or paste anywhere: numbers beyond 32 bits, commas, quotes at either
// end, the "\n" escape, Shift-JIS characters whose second byte is a backslash, characters
// Shift-JIS lacks, control characters, and now and then a line of 10,000 characters.
QString HostileText(MonkeyRng &rng);
// A short piece of it, to be typed key by key.
QString HostileKeys(MonkeyRng &rng);

// Decks and non-decks for the open and save dialogs, written into `folder`.
struct HostileFiles {
    explicit HostileFiles(const QDir &folder);
    QStringList openable;  // paths the open dialog may return (some missing or not files)
    QStringList saveNames; // paths the save-as dialog may return
    QString startDeck;     // a sound deck of a few dozen cards
    // Other programs' files among `openable` (a spreadsheet's CSV, an executable) and their
    // bytes: no answer to any question may change them. The save dialog never names them.
    std::vector<std::pair<QString, QByteArray>> foreign;
};
