#pragma once

#include <QString>

// What a file dropped on the window becomes, decided from its path relative to the program's
// folder. Both can hold at once (a file named photo.jpg.txt).
struct DropKind {
    bool reference = false; // a picture or sound: its path goes into the card text
    bool deck = false;      // a text, CSV or TSV file: opened as a deck
};

// `path` relative to `folder` (both absolute): the folders they share are skipped, each further
// folder of `folder` becomes "../", and the rest of `path` follows.
QString RelativeToFolder(const QString &path, const QString &folder);

// The exact, case-sensitive name tests: ".bmp" and ".BMP" count, ".Bmp" does not. They look for
// the extension anywhere in the path, not only at its end.
DropKind DropKindOf(const QString &relativePath);

// The line a picture or sound adds to a card: "/" + the relative path.
QString DropReference(const QString &relativePath);
