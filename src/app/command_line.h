#pragma once

#include <QString>
#include <QStringList>

// The command line, as desktop programs read it: --help, --version, at most one deck, and "--"
// before a deck whose name starts with a dash.
struct CommandLine {
    enum class Action { Run, Help, Version, Error };
    Action action = Action::Run;
    QString deck;    // full path; empty without one
    QString message; // for Error: what was wrong, in Japanese
};

// `arguments` as QCoreApplication::arguments gives them, the program first.
CommandLine ReadCommandLine(const QStringList &arguments);

// What --help prints.
QString UsageText();
// What --version prints.
QString VersionText();
// The text printed for a command line that cannot be read.
QString CommandLineErrorText(const CommandLine &line);
