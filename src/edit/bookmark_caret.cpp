#include "edit/bookmark_caret.h"

#include <QtGlobal>

int CaretBeforeSameText(const QString &before, const QString &after, int caret) {
    caret = qBound(0, caret, int(before.size()));
    const QStringView rest = QStringView(before).mid(caret);
    if (QStringView(after).endsWith(rest))
        return int(after.size() - rest.size());
    return qBound(0, caret + int(after.size() - before.size()), int(after.size()));
}
