// The recent decks of the File menu and the window title.
#include "app/tform1.h"

#include "deck/recent_files.h"
#include "ui/app_texts.h"
#include "ui/prompts.h"

#include <QAction>
#include <QFileInfo>

namespace {

QAction *RecentEntry(const QObject &window, int entry) {
    return window.findChild<QAction *>(QStringLiteral("men_File_%1").arg(entry));
}

// A path is shown as it is: a "&" in it is a character, not a menu mnemonic.
QString MenuCaption(QString path) {
    return path.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

RecentFileList::Paths TForm1::RecentPaths() const {
    RecentFileList::Paths paths;
    for (int entry = 1; entry <= RecentFileList::Count; ++entry) {
        if (const QAction *action = RecentEntry(*this, entry))
            paths[size_t(entry - 1)] = action->data().toString();
    }
    return paths;
}

void TForm1::ShowRecentPaths(const RecentFileList::Paths &paths) {
    for (int entry = 1; entry <= RecentFileList::Count; ++entry) {
        if (QAction *action = RecentEntry(*this, entry)) {
            const QString &path = paths[size_t(entry - 1)];
            action->setData(path);
            action->setText(MenuCaption(path));
            action->setVisible(!path.isEmpty());
        }
    }
}

void TForm1::UpdateRecentFiles() {
    RecentFileList list(RecentPaths());
    list.PutOnTop(deck_.DeckFileName);
    ShowRecentPaths(list.Entries());
    setWindowTitle(app_texts::WindowCaptionPrefix() + FileNameOnly(deck_.DeckFileName));
}

void TForm1::ClickOpenFileName(int entry) {
    if (entry < 1 || entry > RecentFileList::Count)
        return;
    const QString path = RecentPaths()[size_t(entry - 1)];
    if (path.isEmpty())
        return;
    // A file that exists but cannot be read is not missing: opening it reports why, and the
    // entry stays.
    if (QFileInfo::exists(path))
        OpenDeckFile(path);
    else
        RemoveRecentFile(entry);
}

void TForm1::RemoveRecentFile(int entry) {
    RecentFileList list(RecentPaths());
    const int removed = list.Remove(RecentPaths()[size_t(entry - 1)]);
    for (int i = 0; i < removed; ++i)
        prompts_.Warning(this, QStringLiteral("ファイルが存在しません\n履歴から消去しました。"));
    ShowRecentPaths(list.Entries());
}
