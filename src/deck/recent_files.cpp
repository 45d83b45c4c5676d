#include "deck/recent_files.h"

#include <QStringList>

namespace {
RecentFileList::Paths FirstOf(const QStringList &list) {
    RecentFileList::Paths paths;
    for (int i = 0; i < RecentFileList::Count && i < list.size(); ++i)
        paths[size_t(i)] = list[i];
    return paths;
}

QStringList ToList(const RecentFileList::Paths &paths) {
    return QStringList(paths.begin(), paths.end());
}
} // namespace

void RecentFileList::PutOnTop(const QString &path) {
    QStringList list = ToList(paths_);
    list.removeAll(path);
    list.prepend(path);
    paths_ = FirstOf(list);
}

int RecentFileList::Remove(const QString &path) {
    if (path.isEmpty())
        return 0;
    QStringList list = ToList(paths_);
    const int removed = int(list.removeAll(path));
    paths_ = FirstOf(list);
    return removed;
}

QString FileNameOnly(const QString &path) {
    return path.mid(path.lastIndexOf(QLatin1Char('/')) + 1);
}
