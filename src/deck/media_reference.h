#pragma once

#include <QString>
#include <QStringView>

// Picture and sound references in card texts: a line that, trimmed, starts with "/" or "\" and
// ends in a picture or sound file extension ("/pic/cat.jpg", or "\pic\cat.bmp" in older decks).
// The reference stays ordinary text in the card; these functions only read it.
enum class MediaKind { None, Picture, Sound };

struct MediaReference {
    MediaKind kind = MediaKind::None;
    QString path; // as written, backslashes read as "/"
};

// What one line of a shown text refers to; None for any other line.
MediaReference ReferenceOfLine(QStringView line);

// The first reference of the given kind in a text (lines split at "\n"), if any.
MediaReference FirstReference(const QString &text, MediaKind kind);

// The file a reference names: looked up below the program's folder first (what a dropped file
// writes), then below the deck's folder, then as an absolute path. Empty when none exists.
QString ResolveReference(const QString &path, const QString &programFolder,
                         const QString &deckFolder);
