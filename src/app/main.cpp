#include "app/command_line.h"
#include "app/deck_preload.h"
#include "app/single_instance.h"
#include "app/startup_probe.h"
#include "app/tform1.h"
#include "drill/day_number.h"
#include "settings/settings.h"
#include "speech/start_gate.h"
#include "ui/prompts.h"
#include "view/program_icon.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <cstdio>
#include <optional>

namespace {

QStringList RawArguments(int argc, char **argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

// --help and --version answer at once, without a window or a display. Anything else waits for
// Qt to take its own options (-platform, -style ...) out of the line. Returns the exit status,
// or nothing to go on.
std::optional<int> AnswerCommandLine(const CommandLine &line, bool final) {
    switch (line.action) {
    case CommandLine::Action::Run:
        return std::nullopt;
    case CommandLine::Action::Help:
        std::fputs(UsageText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Version:
        std::fputs(VersionText().toLocal8Bit().constData(), stdout);
        return 0;
    case CommandLine::Action::Error:
        break;
    }
    if (!final)
        return std::nullopt;
    std::fputs(CommandLineErrorText(line).toLocal8Bit().constData(), stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv) {
    const CommandLine raw = ReadCommandLine(RawArguments(argc, argv));
    if (const auto status = AnswerCommandLine(raw, false))
        return *status;
    // The deck is read while the window is built. A lone argument Qt will not take for one of
    // its own options is a deck, and is read from the very start.
    std::unique_ptr<DeckPreload> preload;
    if (argc == 2 && argv[1][0] != '\0' && argv[1][0] != '-')
        preload = std::make_unique<DeckPreload>(raw.deck, TodayNumber());

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kardeon"));
    // Lets the desktop match the window with the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KARDEON_APP_ID));
    const CommandLine line = ReadCommandLine(QCoreApplication::arguments());
    if (const auto status = AnswerCommandLine(line, true))
        return *status;
    const QString &path = line.deck;

    SingleInstance instance(SingleInstance::ProgramFolder());
    const SingleInstance::Lead lead = instance.Claim();
    if (lead == SingleInstance::Lead::Running) {
        // Another instance runs: it opens our deck, or nothing happens at all.
        if (!path.isEmpty())
            return instance.HandOff(path) ? 0 : 1;
        return 0;
    }

    // Without a deck named, the most recent one is read.
    if (!preload && path.isEmpty()) {
        const QString recent = LoadSettings(SettingsFilePath()).fileNames[0];
        if (!recent.isEmpty())
            preload = std::make_unique<DeckPreload>(recent, TodayNumber());
    }
    QApplication::setWindowIcon(ProgramIcon());

    // Qt's own dialogs (opening and saving files) speak the program's language.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    QtPrompts prompts;
    // The speech engine loads once the window has been drawn; the window lets it go then.
    speech_start::Hold();
    TForm1 form(prompts);
    instance.SetBusyCheck([] { return QApplication::activeModalWidget() != nullptr; });
    if (lead == SingleInstance::Lead::First)
        instance.Listen([&form](const QString &handed) { form.ReceiveHandOff(handed); });
    // The window's native side is made while the deck may still be being read.
    form.winId();
    form.OpenStartDeck(path, preload.get());
    preload.reset();
    // Without the lock this window runs alone; it says so rather than ending unseen.
    if (lead == SingleInstance::Lead::NoLock)
        form.ShowStatus(SingleInstance::NoLockMessage());
    WatchFirstPaintForBenchmark(&form);
    form.show();
    return app.exec();
}
