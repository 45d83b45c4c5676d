#include "view/program_icon.h"

#include <QDir>

QIcon ProgramIcon() {
    QIcon builtIn;
    // One folder per size, as in the icon theme ("16x16", "256x256", ...).
    const QDir sizes(QStringLiteral(":/icons/hicolor"));
    for (const QString &size : sizes.entryList(QDir::Dirs))
        builtIn.addFile(sizes.filePath(size + QStringLiteral("/kardeon.png")));
    return QIcon::fromTheme(QStringLiteral(KARDEON_APP_ID), builtIn);
}
