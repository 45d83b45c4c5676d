#include "app/help_page.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

// xdg-open reports on its exit whether any browser took the page; QDesktopServices starts it
// detached and only knows whether it started.
void OpenWithDesktop(const QUrl &url, std::function<void()> failed) {
    auto *process = new QProcess(QCoreApplication::instance());
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         failed();
                         process->deleteLater();
                     });
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed](int exitCode, QProcess::ExitStatus status) {
                         if (status != QProcess::NormalExit || exitCode != 0)
                             failed();
                         process->deleteLater();
                     });
    process->setStandardOutputFile(QProcess::nullDevice());
    process->start(QStringLiteral("xdg-open"), {url.toString(QUrl::FullyEncoded)});
}

} // namespace

HelpPage::HelpPage()
    : opener_(OpenWithDesktop), executablePath_(QCoreApplication::applicationFilePath()) {}

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

void HelpPage::Open(std::function<void(const QString &path)> failed) const {
    const QString path = PagePath();
    if (!path.isEmpty() && opener_)
        opener_(QUrl::fromLocalFile(path), [failed, path] {
            if (failed)
                failed(path);
        });
}

QString HelpPageNotOpenedMessage(const QString &path) {
    return QStringLiteral("ヘルプを表示する Web ブラウザーが見つかりませんでした。\n"
                          "次のファイルをブラウザーで開いてください。\n\n%1")
        .arg(QDir::toNativeSeparators(path));
}
