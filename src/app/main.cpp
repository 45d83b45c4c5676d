#include "app/single_instance.h"
#include "app/startup_probe.h"
#include "app/tform1.h"
#include "ui/prompts.h"
#include "view/program_icon.h"

#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kardeon"));
    // Lets the desktop match the window with the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(KARDEON_APP_ID));
    QApplication::setWindowIcon(ProgramIcon());
    QString path;
    if (argc > 1)
        path = QString::fromLocal8Bit(argv[1]).remove(QLatin1Char('"'));
    // A relative path means this process's folder, which a running instance does not share.
    if (!path.isEmpty())
        path = QFileInfo(path).absoluteFilePath();

    SingleInstance instance(SingleInstance::ProgramFolder());
    const SingleInstance::Lead lead = instance.Claim();
    if (lead == SingleInstance::Lead::Running) {
        // Another instance runs: it opens our deck, or nothing happens at all.
        if (!path.isEmpty())
            return instance.HandOff(path) ? 0 : 1;
        return 0;
    }

    // Qt's own dialogs (opening and saving files) speak the program's language.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_ja"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    QtPrompts prompts;
    TForm1 form(prompts);
    instance.SetBusyCheck([] { return QApplication::activeModalWidget() != nullptr; });
    if (lead == SingleInstance::Lead::First)
        instance.Listen([&form](const QString &handed) { form.ReceiveHandOff(handed); });
    form.OpenStartDeck(path);
    // Without the lock this window runs alone; it says so rather than ending unseen.
    if (lead == SingleInstance::Lead::NoLock)
        form.ShowStatus(SingleInstance::NoLockMessage());
    WatchFirstPaintForBenchmark(&form);
    form.show();
    return app.exec();
}
