#include "deck/conflict_copies.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

namespace conflict_copies {

namespace {

// The name split as the tools split it: before the last dot, and the dot with what follows.
struct NameParts {
    QString stem;
    QString suffix; // with its dot; empty for a name without one
};

NameParts Split(const QString &name) {
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0)
        return {name, QString()};
    return {name.left(dot), name.mid(dot)};
}

} // namespace

bool IsCopyOf(const QString &fileName, const QString &deckName) {
    const NameParts deck = Split(deckName);
    if (deck.stem.isEmpty() || !fileName.startsWith(deck.stem) || !fileName.endsWith(deck.suffix))
        return false;
    const QString middle =
        fileName.mid(deck.stem.size(), fileName.size() - deck.stem.size() - deck.suffix.size());
    static const QRegularExpression kinds[] = {
        QRegularExpression(QStringLiteral(R"(^\.sync-conflict-\d{8}-\d{6}-[A-Z0-9]{7}$)")),
        QRegularExpression(
            QStringLiteral(R"(^ \(conflicted copy \d{4}-\d{2}-\d{2} \d{6}(?: \(\d+\))?\)$)")),
        QRegularExpression(
            QStringLiteral(R"(^ \([^()]*'s conflicted copy \d{4}-\d{2}-\d{2}(?: \(\d+\))?\)$)")),
    };
    for (const QRegularExpression &kind : kinds)
        if (kind.match(middle).hasMatch())
            return true;
    return false;
}

QStringList CopiesOf(const QString &deckPath) {
    const QFileInfo deck(deckPath);
    QStringList copies;
    const QDir folder = deck.absoluteDir();
    for (const QString &name : folder.entryList(QDir::Files | QDir::Hidden, QDir::Name))
        if (IsCopyOf(name, deck.fileName()))
            copies << folder.filePath(name);
    return copies;
}

} // namespace conflict_copies
