#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

// The user's manual: an HTML page beside the executable (a build tree or a portable copy) or in
// the data folder of an installed copy.
class HelpPage {
public:
    // Hands the page to a browser; calls the failure callback, now or later, when none opened it.
    using Opener = std::function<void(const QUrl &, std::function<void()> failed)>;

    // Opens pages with the desktop's browser and looks beside the running executable.
    HelpPage();

    void SetOpener(Opener opener) { opener_ = std::move(opener); }
    void SetExecutablePath(const QString &path) { executablePath_ = path; }

    // The first page that exists, or empty.
    QString PagePath() const;
    // Hands the page to the opener. `failed` learns the page's path when no browser could show
    // it; `missing` learns where the page was looked for when there is none.
    void Open(std::function<void(const QString &path)> failed,
              std::function<void(const QStringList &lookedIn)> missing) const;

private:
    Opener opener_;
    QString executablePath_;
};

// Where the page may lie, in the order they are tried: the executable's path with ".html",
// then the installed copies under share/.
QStringList HelpPageCandidates(const QString &executablePath);

// Hands pages to `program` (xdg-open on the desktop); a failure is reported only when the
// program could not start or found no browser, not when a browser it started ended badly.
HelpPage::Opener DesktopOpener(const QString &program);

// What the user reads when the page is nowhere.
QString HelpPageMissingMessage(const QStringList &lookedIn);

// What the user reads when no browser could show the page.
QString HelpPageNotOpenedMessage(const QString &path);
