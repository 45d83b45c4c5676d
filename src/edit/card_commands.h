#pragma once

#include <QObject>

#include <functional>

class CardPopupMenu;
class Drill;
class QAction;
class QMenu;
class QString;

// The card commands of the card menu and of the card boxes' context menu: add, delete, find,
// take back a delete and the bookmark items. Which card a command meant depends on the view, so
// adding, deleting, finding and setting the bookmark are handed to the window's view.
class CardCommands : public QObject {
    Q_OBJECT
public:
    struct Handlers {
        std::function<void()> insert;      // カード追加 of the card menu (Ctrl+N)
        std::function<void()> remove;      // カード削除 of the card menu (Ctrl+D)
        std::function<void()> find;        // 検索 (Ctrl+F)
        std::function<void()> popupInsert; // カード追加 of the context menu
        std::function<void()> popupRemove; // カード削除 of the context menu
        std::function<void()> setBookmark; // しおりの設定
        std::function<void(const QString &)> status;
    };
    CardCommands(Drill &drill, Handlers handlers, QObject *parent = nullptr);

    // Appends the items below the drill's steps.
    void AddItems(QMenu *cardMenu);
    void ConnectPopup(const CardPopupMenu &popup);

    // 元に戻す: the last delete comes back, and the status line says which card.
    void TakeBackDelete();

private:
    void EnableForState();
    void EnableAll();

    Drill &drill_;
    Handlers handlers_;
    QAction *delete_ = nullptr;
    QAction *insert_ = nullptr;
    QAction *undo_ = nullptr;
};
