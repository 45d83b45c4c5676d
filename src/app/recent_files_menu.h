#pragma once

#include "deck/recent_files.h"

#include <QString>

#include <functional>

class Prompts;
class QWidget;

// The recent decks of the File menu. The menu entries (actions named men_File_1 to men_File_5
// among the window's children) are where the paths live; this keeps them in order and opens
// or drops the one chosen.
class RecentFilesMenu {
public:
    using OpenDeck = std::function<void(const QString &path)>;
    RecentFilesMenu(QWidget &window, Prompts &prompts, OpenDeck openDeck);

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
    QWidget &window_;
    Prompts &prompts_;
    OpenDeck openDeck_;
};
