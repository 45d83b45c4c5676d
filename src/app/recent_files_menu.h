#pragma once

#include "deck/recent_files.h"

#include <QList>
#include <QString>

#include <functional>

class Prompts;
class QAction;
class QWidget;

// The recent decks of the File menu. The menu entries are where the paths live; this keeps them
// in order and opens or drops the one chosen.
class RecentFilesMenu {
public:
    using OpenDeck = std::function<void(const QString &path)>;
    // `entries` are the File menu's recent entries, first to last; the chosen one is opened
    // through `openDeck`, a missing one is reported over `window`.
    RecentFilesMenu(QList<QAction *> entries, QWidget &window, Prompts &prompts, OpenDeck openDeck);

    // The recent decks, most recent first, as the entries show them.
    RecentFileList::Paths Paths() const;
    void Show(const RecentFileList::Paths &paths);
    // Puts an opened or saved deck first.
    void PutOnTop(const QString &path);
    // An entry (counted from 1) was chosen: its deck opens, or the entry goes when the file is
    // missing.
    void Choose(int entry);
    // Drops a missing file's entries, telling the user once for each.
    void Remove(int entry);

private:
    QAction *Entry(int entry) const { return entries_.value(entry - 1); }

    QList<QAction *> entries_;
    QWidget &window_;
    Prompts &prompts_;
    OpenDeck openDeck_;
};
