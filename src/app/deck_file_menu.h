#pragma once

#include "app/recent_files_menu.h"

#include <QObject>

#include <functional>
#include <memory>

class Prompts;
class QMenu;
class QWidget;

// The File menu: open, save, save as, the recent decks, import and export, exit. Opening and
// saving are the window's, which knows whether the open deck needs saving first.
class DeckFileMenu : public QObject {
    Q_OBJECT
public:
    struct Commands {
        std::function<void()> open;
        std::function<void()> save;
        std::function<void()> saveAs;
        std::function<void()> exit;
        std::function<void(const QString &path)> openDeck; // a recent deck
        std::function<void(QMenu *file)> addExchangeMenu;  // 取り込みと書き出し
    };
    DeckFileMenu(QWidget &window, Prompts &prompts, Commands commands);
    ~DeckFileMenu() override;

    // Adds the menu to the menu bar.
    void Create(QWidget *menuBar);
    RecentFilesMenu &Recent() { return *recent_; }

private:
    QWidget &window_;
    Prompts &prompts_;
    Commands commands_;
    std::unique_ptr<RecentFilesMenu> recent_;
};
