#include "app/help_page.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>

namespace {

// xdg-open's exit code when it found no program to open the page with.
constexpr int NoProgramFound = 3;

} // namespace

// xdg-open waits for a browser it started, so its exit code is often the browser's: a browser
// that crashed or was killed after showing the page is no reason to say there is none. Only an
// opener that could not start, or that found no browser, counts as a failure.
HelpPage::Opener DesktopOpener(const QString &program) {
    return [program](const QUrl &url, std::function<void()> failed) {
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
                             if (status == QProcess::NormalExit && exitCode == NoProgramFound)
                                 failed();
                             process->deleteLater();
                         });
        process->setStandardOutputFile(QProcess::nullDevice());
        process->setStandardErrorFile(QProcess::nullDevice());
        process->start(program, {url.toString(QUrl::FullyEncoded)});
    };
}

HelpPage::HelpPage()
    : opener_(DesktopOpener(QStringLiteral("xdg-open"))),
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

void HelpPage::Open(std::function<void(const QString &path)> failed,
                    std::function<void(const QStringList &lookedIn)> missing) const {
    const QString path = PagePath();
    if (path.isEmpty()) {
        if (missing)
            missing(HelpPageCandidates(executablePath_));
        return;
    }
    if (opener_)
        opener_(QUrl::fromLocalFile(path), [failed, path] {
            if (failed)
                failed(path);
        });
}

QString HelpPageMissingMessage(const QStringList &lookedIn) {
    QStringList places;
    for (const QString &path : lookedIn)
        places << QDir::toNativeSeparators(path);
    return QStringLiteral("ヘルプ (説明書) が見つかりませんでした。次の場所を探しました。\n\n%1")
        .arg(places.join(QLatin1Char('\n')));
}

QString HelpPageNotOpenedMessage(const QString &path) {
    return QStringLiteral("ヘルプを表示する Web ブラウザーが見つかりませんでした。\n"
                          "次のファイルをブラウザーで開いてください。\n\n%1")
        .arg(QDir::toNativeSeparators(path));
}
