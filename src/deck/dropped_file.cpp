#include "deck/dropped_file.h"

#include <QStringList>

#include <algorithm>
#include <initializer_list>

namespace {

// The extensions a dropped file is told apart by; only these exact spellings count. Pictures and
// sounds: the first six are the long-standing ones, the rest what Linux desktops mostly hold.
const std::initializer_list<const char16_t *> ReferenceExtensions = {
    u".bmp",  u".BMP",  u".wav", u".WAV", u".jpg", u".JPG", u".png", u".PNG",
    u".jpeg", u".JPEG", u".gif", u".GIF", u".mp3", u".MP3", u".ogg", u".OGG"};
// Decks, and tab-separated text from other programs, which opening offers to import.
const std::initializer_list<const char16_t *> DeckExtensions = {u".txt", u".TXT", u".csv",
                                                                u".CSV", u".tsv", u".TSV"};

bool ContainsAny(const QString &text, std::initializer_list<const char16_t *> parts) {
    return std::any_of(parts.begin(), parts.end(), [&text](const char16_t *part) {
        return text.contains(QString::fromUtf16(part), Qt::CaseSensitive);
    });
}

QStringList Folders(const QString &folder) {
    return folder.split(QLatin1Char('/'), Qt::SkipEmptyParts);
}

} // namespace

QString RelativeToFolder(const QString &path, const QString &folder) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    const QStringList fileFolders = Folders(path.left(std::max<qsizetype>(slash, 0)));
    const QStringList programFolders = Folders(folder);
    qsizetype shared = 0;
    while (shared < fileFolders.size() && shared < programFolders.size() &&
           fileFolders[shared] == programFolders[shared])
        ++shared;
    QString relative;
    for (qsizetype i = shared; i < programFolders.size(); ++i)
        relative += QStringLiteral("../");
    for (qsizetype i = shared; i < fileFolders.size(); ++i)
        relative += fileFolders[i] + QLatin1Char('/');
    return relative + path.mid(slash + 1);
}

DropKind DropKindOf(const QString &relativePath) {
    DropKind kind;
    kind.reference = ContainsAny(relativePath, ReferenceExtensions);
    kind.deck = ContainsAny(relativePath, DeckExtensions);
    return kind;
}

QString DropReference(const QString &relativePath) {
    return QLatin1Char('/') + relativePath;
}
