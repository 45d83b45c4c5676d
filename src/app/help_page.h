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
    // Hands the page to the opener; nothing happens when there is no page. `failed` learns the
    // page's path when no browser could show it.
    void Open(std::function<void(const QString &path)> failed) const;

private:
    Opener opener_;
    QString executablePath_;
};

// Where the page may lie, in the order they are tried: the executable's path with ".html",
// then the installed copies under share/.
QStringList HelpPageCandidates(const QString &executablePath);

// What the user reads when no browser could show the page.
QString HelpPageNotOpenedMessage(const QString &path);
