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
    // Merges the deck file at `path` into the open deck, against the versions of the deck known
    // here (most recent first; none: the two-way rule). False, with the user told why, when
    // nothing was merged.
    bool MergeFile(const QString &path, const std::vector<DeckVersion> &known);
    // A deck of other cards was opened: the list of a merge goes, the new file is watched, and
    // conflict copies beside it are offered.
    void DeckReplaced();
    // Offers the conflict copies beside the open deck not declined before in this run.
    void OfferConflictCopies();
    // Where the versions of the deck read or saved here are kept, beside the review log.
    static QString BasePathForDeck(const QString &deckPath);
    // The list of cards to look at, while it is shown.
    QListWidget *ConflictList() const { return list_; }

private:
    void CloseList();
    void ShowConflicts(const std::vector<const TMondaiSet *> &cards);
    void Watch();
    // After the file or its folder changed on disk (events coalesced).
    void DiskChanged();
    // The versions of the deck file read or saved here, most recent first, kept for merges to
    // find what both sides started from; at most kKeptVersions.
    std::vector<DeckVersion> KnownVersions() const;
    // A version of the file now held in the open deck (read, saved or merged in).
    void Remember(quint64 hash, const MergeBase &base);
    // Whether the open deck holds everything of the file version `hash`.
    bool Holds(quint64 hash) const;

    Deck &deck_;
    Drill &drill_;
    Prompts &prompts_;
    QWidget *window_;
    Hooks hooks_;
    QPointer<QListWidget> list_;
    QFileSystemWatcher *watcher_;
    QTimer settle_;
    bool busy_ = false;       // a question or a save is under way: disk changes wait
    QSet<QString> declined_;  // conflict copies the user chose not to merge in this run
    FileStamp opened_;        // the file as the deck was opened from it
    bool openedKept_ = false; // the opened version is among the kept ones
    QSet<quint64> held_;      // other file versions the open deck holds: read, saved, merged
    // The deck just after conflict copies were merged into it, until it is saved or read again.
    std::optional<DeckVersion> mergedCopies_;
};
