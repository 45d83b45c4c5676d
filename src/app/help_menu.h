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
    // `showComments` shows or hides the help comments over the window's controls.
    HelpMenu(QWidget &window, Prompts &prompts, std::function<void(bool)> showComments);
    ~HelpMenu() override;

    // Adds the menu to the menu bar.
    void Create(QWidget *menuBar);
    // The help comments (ﾍﾙﾌﾟｺﾒﾝﾄ表示), a setting: shown or not, with the item ticked to match.
    bool CommentsShown() const { return commentsShown_; }
    void ShowComments(bool on);
    HelpPage &Page() { return *page_; }

    void OpenManual();
    void ShowVersion();

private:
    QWidget &window_;
    Prompts &prompts_;
    std::function<void(bool)> showComments_;
    bool commentsShown_ = true;
    std::unique_ptr<HelpPage> page_;
    QAction *comment_ = nullptr;
};
