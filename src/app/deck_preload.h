#pragma once

#include "deck/deck.h"

#include <QString>

#include <atomic>
#include <thread>

// The deck a start opens (the one named on the command line, else the most recent one), read
// on a thread of its own while the window is being built; a plain Shift-JIS deck is made into cards
// there too. The window still opens it the usual way, asking what it would ask, and takes over the
// cards only when they were built from exactly the lines it settles on.
class DeckPreload {
public:
    // Starts at once; the cards built are those due by `today`.
    DeckPreload(QString path, qint32 today);
    ~DeckPreload(); // waits for the thread; cards not built yet are not built any more
    DeckPreload(const DeckPreload &) = delete;
    DeckPreload &operator=(const DeckPreload &) = delete;

    // Waits until the thread has done what it does.
    void Wait();
    // Whether `path` is the file read, and it has not been taken yet.
    bool Holds(const QString &path) const { return !taken_ && path == path_; }
    // Waits for the thread; the file as it read it. Once only.
    DeckFileRead TakeRead();
    // Makes the cards built on the thread the deck opened from `read`, when they were built from
    // `cardLines` for `today` into a deck with nothing open yet; false leaves everything as it
    // was, for the deck to be opened the usual way.
    bool OpenParsed(Deck &deck, DeckFileRead &&read, const DeckLines &cardLines, qint32 today,
                    CardRefList &askQueue);

private:
    void Run();

    const QString path_;
    const qint32 today_;
    DeckFileRead read_;
    bool taken_ = false;
    std::atomic<bool> abandoned_ = false;
    bool parsed_ = false;
    Deck deck_;
    CardRefList queue_;
    std::thread thread_;
};
