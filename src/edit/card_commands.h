#pragma once

#include "drill/drill.h"

#include <QObject>

#include <functional>

class CardPopupMenu;
class CardView;
class Deck;
class FontSettings;
class ListGrid;
class Prompts;
class QAction;
class QMenu;
class QString;
class QWidget;
class TForm3;
class TMyMemo;
struct AppSettings;

// The card commands of the card menu and of the card boxes' context menu: add, delete, find,
// take back a delete and the bookmark items. Which card a command means depends on the view:
// the focused card box or list cell, else the card in view, else the row the context menu was
// opened on.
class CardCommands : public QObject {
    Q_OBJECT
public:
    // What the commands need of the window around them.
    struct Window {
        QWidget *parent = nullptr;   // of the questions and the add-card dialog
        std::function<void()> find;  // 検索 (Ctrl+F): the find bar's business
        std::function<bool()> hints; // whether the window shows its hints (HelpComment)
        std::function<void(const QString &)> status;
        // Runs `step` with the card boxes' and the list's edits not stored: a redraw in it only
        // shows the cards.
        std::function<void(const std::function<void()> &step)> withoutStoringEdits;
    };
    CardCommands(const Deck &deck, Drill &drill, const CardView &cells, const FontSettings &fonts,
                 Prompts &prompts, Window window, QObject *parent = nullptr);

    // Appends the items below the drill's steps.
    void AddItems(QMenu *cardMenu);
    void ConnectPopup(CardPopupMenu &popup);
    // The list view the commands act on when it is shown.
    void SetList(ListGrid &list) { list_ = &list; }
    // The add-card dialog; it keeps its settings, and where a new card goes, in `settings`.
    void CreateAddDialog(AppSettings &settings);

    // カード追加 and カード削除 of the card menu.
    void InsertCard();
    void DeleteCard();
    // The same of the context menu, and しおりの設定.
    void PopupInsert();
    void PopupDelete();
    void PopupSetBookmark();
    // 元に戻す: the last delete comes back, and the status line says which card.
    void TakeBackDelete();
    // The add-card dialog is open (the window's mouse rules keep out of its way).
    bool AddDialogOpen() const { return addDialogOpen_; }

private:
    void EnableForState();
    void EnableAll();
    // The add flow: the dialog, then the new card placed relative to `target`.
    void AddCardTo(CardTarget target);
    void DeleteFromList();
    // The list row whose cell editor holds the caret, or -1.
    int FocusedListRow() const;
    void SetBookmarkFromBox(TMyMemo *memo);
    void SetBookmarkFromList();

    const Deck &deck_;
    Drill &drill_;
    const CardView &cells_;
    const FontSettings &fonts_;
    Prompts &prompts_;
    Window window_;
    ListGrid *list_ = nullptr;
    CardPopupMenu *popup_ = nullptr;
    TForm3 *addDialog_ = nullptr;
    AppSettings *settings_ = nullptr;
    bool addDialogOpen_ = false;
    QAction *delete_ = nullptr;
    QAction *insert_ = nullptr;
    QAction *undo_ = nullptr;
};
