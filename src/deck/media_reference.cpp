#include "deck/media_reference.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr QStringView kPictureExtensions[] = {u".bmp", u".jpg", u".jpeg", u".png", u".gif"};
constexpr QStringView kSoundExtensions[] = {u".wav", u".mp3", u".ogg"};

template <size_t N> bool EndsWithAny(QStringView text, const QStringView (&extensions)[N]) {
    for (QStringView extension : extensions)
        if (text.endsWith(extension, Qt::CaseInsensitive))
            return true;
    return false;
}

bool IsFile(const QString &path) {
    const QFileInfo info(path);
    return info.isFile() && info.isReadable();
}

} // namespace

MediaReference ReferenceOfLine(QStringView line) {
    const QStringView trimmed = line.trimmed();
    if (trimmed.size() < 2 || (trimmed.front() != u'/' && trimmed.front() != u'\\'))
        return {};
    MediaKind kind = MediaKind::None;
    if (EndsWithAny(trimmed, kPictureExtensions))
        kind = MediaKind::Picture;
    else if (EndsWithAny(trimmed, kSoundExtensions))
        kind = MediaKind::Sound;
    if (kind == MediaKind::None)
        return {};
    QString path = trimmed.toString();
    path.replace(u'\\', u'/');
    return {kind, path};
}

MediaReference FirstReference(const QString &text, MediaKind kind) {
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        MediaReference reference = ReferenceOfLine(line);
        if (reference.kind == kind)
            return reference;
    }
    return {};
}

QString ResolveReference(const QString &path, const QString &programFolder,
                         const QString &deckFolder) {
    for (const QString &folder : {programFolder, deckFolder}) {
        if (folder.isEmpty())
            continue;
        const QString candidate = QDir::cleanPath(folder + path);
        if (IsFile(candidate))
            return candidate;
    }
    return IsFile(path) ? QDir::cleanPath(path) : QString();
}
