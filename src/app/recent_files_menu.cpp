#include "app/recent_files_menu.h"

#include "ui/prompts.h"

#include <QAction>
#include <QFileInfo>
#include <QWidget>

namespace {

// A path is shown as it is: a "&" in it is a character, not a menu mnemonic.
QString MenuCaption(QString path) {
    return path.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

RecentFilesMenu::RecentFilesMenu(QList<QAction *> entries, QWidget &window, Prompts &prompts,
                                 OpenDeck openDeck)
    : entries_(std::move(entries)), window_(window), prompts_(prompts),
      openDeck_(std::move(openDeck)) {}

RecentFileList::Paths RecentFilesMenu::Paths() const {
    RecentFileList::Paths paths;
    for (int entry = 1; entry <= RecentFileList::Count; ++entry) {
        if (const QAction *action = Entry(entry))
            paths[size_t(entry - 1)] = action->data().toString();
    }
    return paths;
}

void RecentFilesMenu::Show(const RecentFileList::Paths &paths) {
    for (int entry = 1; entry <= RecentFileList::Count; ++entry) {
        if (QAction *action = Entry(entry)) {
            const QString &path = paths[size_t(entry - 1)];
            action->setData(path);
            action->setText(MenuCaption(path));
            action->setVisible(!path.isEmpty());
        }
    }
}

void RecentFilesMenu::PutOnTop(const QString &path) {
    RecentFileList list(Paths());
    list.PutOnTop(path);
    Show(list.Entries());
}

void RecentFilesMenu::Choose(int entry) {
    if (entry < 1 || entry > RecentFileList::Count)
        return;
    const QString path = Paths()[size_t(entry - 1)];
    if (path.isEmpty())
        return;
    // A file that exists but cannot be read is not missing: opening it reports why, and the
    // entry stays.
    if (QFileInfo::exists(path))
        openDeck_(path);
    else
        Remove(entry);
}

void RecentFilesMenu::Remove(int entry) {
    RecentFileList list(Paths());
    const int removed = list.Remove(Paths()[size_t(entry - 1)]);
    for (int i = 0; i < removed; ++i)
        prompts_.Warning(&window_,
                         QStringLiteral("ファイルが存在しません\n履歴から消去しました。"));
    Show(list.Entries());
}
