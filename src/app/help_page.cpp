#include "app/help_page.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>

HelpPage::HelpPage()
    : opener_([](const QUrl &url) { QDesktopServices::openUrl(url); }),
      executablePath_(QCoreApplication::applicationFilePath()) {}

QStringList HelpPageCandidates(const QString &executablePath) {
    const QFileInfo executable(executablePath);
    const QDir folder = executable.absoluteDir();
    const QString page = executable.completeBaseName() + QStringLiteral(".html");
    return {folder.filePath(page),
            QDir::cleanPath(folder.filePath(QStringLiteral("../share/kardeon/kardeon.html"))),
            QDir::cleanPath(folder.filePath(QStringLiteral("../share/doc/kardeon/kardeon.html")))};
}

QString HelpPage::PagePath() const {
    for (const QString &candidate : HelpPageCandidates(executablePath_))
        if (QFileInfo(candidate).isFile())
            return candidate;
    return {};
}

void HelpPage::Open() const {
    const QString path = PagePath();
    if (!path.isEmpty() && opener_)
        opener_(QUrl::fromLocalFile(path));
}
