#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

#include <functional>

// The user's manual: an HTML page beside the executable (a build tree or a portable copy) or in
// the data folder of an installed copy.
class HelpPage {
public:
    using Opener = std::function<void(const QUrl &)>;

    // Opens pages with the desktop's browser and looks beside the running executable.
    HelpPage();

    void SetOpener(Opener opener) { opener_ = std::move(opener); }
    void SetExecutablePath(const QString &path) { executablePath_ = path; }

    // The first page that exists, or empty.
    QString PagePath() const;
    // Hands the page to the opener; nothing happens when there is no page.
    void Open() const;

private:
    Opener opener_;
    QString executablePath_;
};

// Where the page may lie, in the order they are tried: the executable's path with ".html",
// then the installed copies under share/.
QStringList HelpPageCandidates(const QString &executablePath);
