#pragma once

#include <QByteArray>
#include <QString>

// How a deck path is kept in the settings file (the recent decks under [FileName_]).
//
// A path Shift-JIS can hold, and that reads back as itself, is stored as its Shift-JIS bytes,
// exactly as earlier versions wrote it. Any other path (characters Shift-JIS lacks such as
// "é", Hangul or emoji; control characters; blanks at either end, which the file trims; a path
// that itself starts with the marker) is stored as
//
//     /dev/null/utf-8/ + the path's UTF-8 bytes, percent-escaped except for A-Z a-z 0-9 - . _ ~ /
//
// e.g. "/home/u/café.csv" -> "/dev/null/utf-8//home/u/caf%C3%A9.csv". The stored form is plain
// ASCII, so every Shift-JIS reader takes it in unchanged. /dev/null is a character device on
// every Linux system, never a folder, so no file can exist below it: an earlier version that
// reads this form as an ordinary path finds the file missing and drops the entry, and can
// never open some other file in its place.
namespace stored_path {

inline constexpr char Marker[] = "/dev/null/utf-8/";

QByteArray Encode(const QString &path);
// Bytes that are not the escaped form (a hand-edited value, an escape that is not UTF-8) are
// read as Shift-JIS like any other value: at worst a path to a file that does not exist.
QString Decode(const QByteArray &bytes);

} // namespace stored_path
