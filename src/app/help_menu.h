#pragma once

#include <QObject>

#include <functional>
#include <memory>

class HelpPage;
class Prompts;
class QAction;
class QWidget;

// The Help menu: the help comments switch, the manual (F1) and the version box.
class HelpMenu : public QObject {
    Q_OBJECT
public:
    // `toggleComment` flips the help comments, which are the window's setting.
    HelpMenu(QWidget &window, Prompts &prompts, std::function<void()> toggleComment);
    ~HelpMenu() override;

    // Adds the menu to the menu bar.
    void Create(QWidget *menuBar);
    // Ticks the help comments item.
    void MarkComment(bool on);
    HelpPage &Page() { return *page_; }

    void OpenManual();
    void ShowVersion();

private:
    QWidget &window_;
    Prompts &prompts_;
    std::function<void()> toggleComment_;
    std::unique_ptr<HelpPage> page_;
    QAction *comment_ = nullptr;
};
