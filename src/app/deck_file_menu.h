#pragma once

#include "app/recent_files_menu.h"

#include <QObject>

#include <functional>
#include <memory>

class DeckDocument;
class Prompts;
class QWidget;

// The File menu: open, save, save as, the recent decks, import and export, exit. Opening and
// saving are the deck document's, which knows whether the open deck needs saving first.
class DeckFileMenu : public QObject {
    Q_OBJECT
public:
    DeckFileMenu(QWidget &window, Prompts &prompts, DeckDocument &document,
                 std::function<void()> exit);
    ~DeckFileMenu() override;

    // Adds the menu to the menu bar.
    void Create(QWidget *menuBar);
    RecentFilesMenu &Recent() { return *recent_; }

private:
    QWidget &window_;
    Prompts &prompts_;
    DeckDocument &document_;
    std::function<void()> exit_;
    std::unique_ptr<RecentFilesMenu> recent_;
};
