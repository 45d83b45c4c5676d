#pragma once

#include "deck/deck_merge.h"

#include <QListWidget>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QTimer>

#include <functional>
#include <vector>

class Drill;
class Prompts;
class QFileSystemWatcher;
class QWidget;
enum class SaveOutcome;

// Keeps the open deck together with its file when another program (a sync tool bringing another
// machine's drill) changes the file: a change on disk is read in at once (merged with what is
// unsaved here), saving merges the two card by card, conflict copies a sync tool left beside
// the deck are offered for merging, and the cards that need a look are listed in a small window
// of their own.
class DeckSync : public QObject {
    Q_OBJECT
public:
    struct Hooks {
        std::function<void(const QString &)> showStatus;
        std::function<void()> cardsReplaced;                // after a merge, before the redraw
        std::function<void(const TMondaiSet *)> showInList; // the card's row in the list
    };
    DeckSync(Deck &deck, Drill &drill, Prompts &prompts, QWidget *window, Hooks hooks);
    ~DeckSync() override;

    // Saves the open deck. When its file changed on disk since it was read or saved here, asks
    // first: 統合して保存 merges the file's cards in and saves, 上書き writes ours over it,
    // キャンセル keeps both as they are.
    SaveOutcome Save();
    // Merges the deck file at `path` into the open deck (nothing as base: the two-way rule).
    // False, with the user told why, when nothing was merged.
    bool MergeFile(const QString &path, const MergeBase *base);
    // A deck of other cards was opened: the list of a merge goes, the new file is watched, and
    // conflict copies beside it are offered.
    void DeckReplaced();
    // Offers the conflict copies beside the open deck not declined before in this run.
    void OfferConflictCopies();
    // Where a save keeps, beside the review log, the deck as last read before it.
    static QString BasePathForDeck(const QString &deckPath);
    // The list of cards to look at, while it is shown.
    QListWidget *ConflictList() const { return list_; }

private:
    void ShowConflicts(const std::vector<const TMondaiSet *> &cards);
    void Watch();
    // After the file or its folder changed on disk (events coalesced).
    void DiskChanged();
    // Keeps the base of the version just saved: the deck as last read from disk, which the
    // other machines started from too. A conflict copy of either version finds it there.
    void RememberBase();
    // The kept base, when the deck file or `copy` holds the version it was kept for.
    std::optional<MergeBase> RememberedBase(const QString &copy) const;

    Deck &deck_;
    Drill &drill_;
    Prompts &prompts_;
    QWidget *window_;
    Hooks hooks_;
    QPointer<QListWidget> list_;
    QFileSystemWatcher *watcher_;
    QTimer settle_;
    bool busy_ = false;      // a question or a save is under way: disk changes wait
    QSet<QString> declined_; // conflict copies the user chose not to merge in this run
    // The deck as last read from disk (opened, read again, merged in); nothing: the lines read.
    std::optional<MergeBase> readBase_;
};
