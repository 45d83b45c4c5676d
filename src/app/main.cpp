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
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

// The deck named on the command line, as a full path; empty without one.
QString DeckArgument(int argc, char **argv) {
    if (argc < 2)
        return {};
    const QString path = QString::fromLocal8Bit(argv[1]).remove(QLatin1Char('"'));
    // A relative path means this process's folder, which a running instance does not share.
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

} // namespace

int main(int argc, char **argv) {
    // The deck is read while the window is built. A lone argument Qt will not take for one of
    // its own options is a deck, and is read from the very start.
    std::unique_ptr<DeckPreload> preload;
    if (argc == 2 && argv[1][0] != '\0' && argv[1][0] != '-')
        preload = std::make_unique<DeckPreload>(DeckArgument(argc, argv), TodayNumber());

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kardeon"));
    // Lets the desktop match the window with the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KARDEON_APP_ID));
    const QString path = DeckArgument(argc, argv);

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
