#pragma once

#include "deck/card.h"
#include "deck/deck_lines.h"
#include "deck/line_fields.h"
#include "deck/merge_base.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace file_access {
class ContentHasher;
}

using CardOwnerList = std::vector<std::unique_ptr<TMondaiSet>>; // owns the cards
using CardRefList = std::vector<TMondaiSet *>;                  // refers to cards it does not own

// The deck file as it was when the program last read or wrote it, to notice another program
// changing it in the meantime.
class FileStamp {
public:
    FileStamp() = default;
    // A file whose content hash is known, as after writing it.
    FileStamp(QString path, qint64 size, qint64 modifiedNs, quint64 hash);
    // A file just read: the hash of `bytes` is worked out when it is first asked for, so that
    // opening a large deck does not wait for it. `bytes` are shared, not copied.
    static FileStamp OfBytes(QString path, qint64 modifiedNs, const QByteArray &bytes);

    // The content hash; worked out now if it still is not.
    quint64 Hash() const;
    bool HashPending() const { return pending_; }

    QString path; // empty: nothing known
    qint64 size = 0;
    qint64 modifiedNs = 0;

private:
    // Not for use from two threads at once: the first Hash() fills these in.
    mutable quint64 hash_ = 0;
    mutable bool pending_ = false;
    mutable QByteArray unhashed_; // the bytes read, while pending_
};

struct DeckFileRead;
struct DeckVersion;
struct FileMerge;
struct FileResult;

// The file side of the open deck. Read through the accessors; changed only by the operations
// below and by the deck room's own file functions (opening, parsing, saving, merging).
class Deck {
public:
    // Every card, file order.
    const CardOwnerList &Cards() const { return cards_; }
    // Full path; empty until a deck is opened.
    const QString &FileName() const { return fileName_; }
    // The file's lines as last read or written.
    const DeckLines &SavedLines() const { return savedLines_; }
    // The deck as last rendered.
    const DeckLines &RenderedLines() const { return renderedLines_; }
    // FileName()'s file as last read or written.
    const FileStamp &DiskStamp() const { return diskStamp_; }
    // The cards as last saved, for merging with the file when another program changed it; not
    // known after reading (see BaseOfDeck).
    const std::optional<MergeBase> &SavedBase() const { return savedBase_; }

    // The file the deck is saved to from now on (a new name chosen, or the old one back).
    void SetFileName(const QString &path) { fileName_ = path; }
    // Lines to build the cards from with ParseDeck, as if read from the file.
    void SetSavedLines(DeckLines lines) { savedLines_ = std::move(lines); }
    // A deck parsed ahead of opening becomes this one, with its file as it was read.
    void TakeParsed(Deck &&parsed, FileStamp stamp);
    // A deck of `cards` that has no file yet (as taken from another program's file).
    void StartUnsaved(CardOwnerList cards);

    // Adding and deleting cards; `at` is a Cards() index.
    void AddCard(std::unique_ptr<TMondaiSet> card) { cards_.push_back(std::move(card)); }
    void AppendCards(CardOwnerList cards);
    void InsertCard(qsizetype at, std::unique_ptr<TMondaiSet> card);
    std::unique_ptr<TMondaiSet> TakeCard(qsizetype at);
    // Every card replaced at once (merging two versions of the deck); returns the old ones.
    CardOwnerList ReplaceCards(CardOwnerList cards);

private:
    friend void OpenReadDeck(Deck &, DeckFileRead &&, const DeckLines &, qint32, CardRefList &);
    friend void ParseDeckInParts(Deck &, qint32, CardRefList &, int);
    friend int RenderDeckLines(Deck &);
    friend FileResult SaveDeck(Deck &);
    friend FileMerge MergeFileIntoDeck(Deck &, const QString &, const std::vector<DeckVersion> &);

    CardOwnerList cards_;
    QString fileName_;
    DeckLines savedLines_;
    DeckLines renderedLines_;
    FileStamp diskStamp_;
    std::optional<MergeBase> savedBase_;
};

// Larger decks are refused before a byte is read: reading one could cost the memory the open
// deck needs.
constexpr qint64 MaxDeckBytes = qint64(1) << 30;

// Outcome of reading or writing a file: `error` is a Japanese message for the user.
struct FileResult {
    bool ok = true;
    QString error;
};

// Reads a deck file whole. Only a regular file of at most MaxDeckBytes is read.
FileResult ReadDeckFile(const QString &path, DeckLines *lines);
// The same, also telling what the file looked like when it was read.
FileResult ReadDeckFile(const QString &path, DeckLines *lines, FileStamp *stamp);

// A deck file read for opening, and what opening needs to know about it.
struct DeckFileRead {
    FileResult result;
    DeckLines lines;         // the file's lines
    FileStamp stamp;         // the file as read
    bool unsuitable = false; // IsUnsuitable(lines)
    bool utf8 = false;       // written in UTF-8 rather than Shift-JIS (a suitable file only)
};

// The one way a deck is opened, in two steps around the questions the window may ask in
// between. Reads the file once, into a buffer sized from its length, and tests it.
DeckFileRead ReadDeckForOpening(const QString &path);
// Whether the file read still has the size and modification time it had then.
bool StillAsRead(const DeckFileRead &read);
// Makes the file read the open deck: its lines become SavedLines and the file DeckFileName and
// DiskStamp; the cards are built from `cardLines` (the file's own lines unless they were
// converted) and the due ones queued.
void OpenReadDeck(Deck &deck, DeckFileRead &&read, const DeckLines &cardLines, qint32 today,
                  CardRefList &askQueue);
void OpenReadDeck(Deck &deck, DeckFileRead &&read, qint32 today, CardRefList &askQueue);

// Any text file read whole with the checks and messages of a deck file (exports, imports).
FileResult ReadTextFile(const QString &path, QByteArray *bytes);
// Writes `bytes` to `path` atomically and durably; the message says why it could not.
FileResult WriteTextFile(const QString &path, QByteArrayView bytes);
// The same with the content handed over in blocks, as file_access::WriteFileInBlocks takes them:
// a file of any size without holding it whole.
FileResult WriteTextFileInBlocks(const QString &path,
                                 const std::function<std::optional<QByteArrayView>()> &next);

// True when neither of the first two lines holds a comma (a missing line holds none).
bool IsUnsuitable(const DeckLines &lines);

// The n-th field (1-based) of a line in stored form; empty past the end of the line.
QByteArray ExtractField(QByteArrayView line, int n);

// Integer columns: optional sign and decimal digits within 32 bits; anything else is 0.
qint32 FieldToInt(QByteArrayView field);

// Builds the cards from SavedLines, their texts slices of its bytes; the due ones (Jikan < today)
// go to `askQueue` in file order.
// Large decks are parsed in parts side by side; ParseDeckInParts names how many.
void ParseDeck(Deck &deck, qint32 today, CardRefList &askQueue);
void ParseDeckInParts(Deck &deck, qint32 today, CardRefList &askQueue, int partCount);

// One card as a file line (no line end).
QByteArray RenderCardLine(const TMondaiSet &card);

// Renders the cards into RenderedLines. Returns 1, leaving RenderedLines untouched, when the
// deck has no cards; else 0.
int RenderDeckLines(Deck &deck);

// Renders and writes the deck atomically and durably to DeckFileName, a block at a time; on
// success SavedLines stands for what was written (known by size and hash when it differs from
// the lines read; the cards keep their texts where they are) and DiskStamp describes the
// written file. Nothing is written for an empty deck. On failure SavedLines is
// unchanged.
FileResult SaveDeck(Deck &deck);

// Whether DeckFileName's file still holds what the program last read or wrote there.
enum class DiskState { AsLastSeen, Changed, Missing };
DiskState CheckDeckOnDisk(const Deck &deck);

// Renders the cards in blocks and tells whether they differ from SavedLines. Only one block of
// the rendering is held at a time.
bool IsDeckChanged(Deck &deck);

// Renders the cards as file bytes, a block of about kBlockBytes at a time, comparing them with
// the saved lines on the way (with their size and hash, for lines known by hash). The cards must
// not change while it runs.
class DeckRenderer {
public:
    static constexpr qsizetype kBlockBytes = qsizetype(1) << 20;
    // With `hashAll`, hashes the whole rendering as it goes (see Hash).
    DeckRenderer(const CardOwnerList &cards, const DeckLines &saved, bool hashAll = false);
    ~DeckRenderer();
    // The next block of whole lines; empty after the last.
    QByteArrayView Next();
    // Lines known by hash are the same so far until the end shows otherwise.
    bool SameSoFar() const { return same_; }
    // Where the block last returned starts in the rendering; after the last, its whole size.
    qsizetype Offset() const { return offset_; }
    // The size of the whole rendering.
    qsizetype TotalBytes() const;
    // After the last block: whether the whole rendering equals the saved lines.
    bool SameAsSaved() const;
    // The content hash of the blocks returned so far, when they are hashed (else 0).
    quint64 Hash() const;

private:
    void Compare(QByteArrayView block);

    const CardOwnerList &cards_;
    CardOwnerList::const_iterator next_;
    const DeckLines &saved_;
    std::unique_ptr<file_access::ContentHasher> hash_; // with hashAll or saved lines known by hash
    QByteArray block_;
    qsizetype offset_ = 0;
    bool same_ = true;
};
