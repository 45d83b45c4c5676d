#pragma once

#include "deck/card.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <memory>
#include <vector>

using CardOwnerList = std::vector<std::unique_ptr<TMondaiSet>>; // owns the cards
using CardRefList = std::vector<TMondaiSet *>;                  // refers to cards it does not own

// A deck's lines, held as the exact bytes a save writes: every line followed by CR LF.
// Two line lists are equal exactly when these bytes are equal.
class DeckLines {
public:
    DeckLines() = default;
    // Splits file bytes at CR LF, lone LF and lone CR; a break after the last line starts no
    // further line.
    static DeckLines FromFileBytes(const QByteArray &data);
    static DeckLines FromBytesWithCrLf(QByteArray bytes, qsizetype lineCount);

    qsizetype Count() const { return count_; }
    bool IsEmpty() const { return count_ == 0; }
    const QByteArray &Bytes() const { return bytes_; }
    // The line at `index` (0-based), without its line end. Linear in `index`; use ForEach to
    // walk all lines.
    QByteArrayView Line(qsizetype index) const;
    template <typename F> void ForEach(F &&visit) const {
        qsizetype from = 0;
        for (qsizetype i = 0; i < count_; ++i) {
            const qsizetype end = bytes_.indexOf("\r\n", from);
            visit(QByteArrayView(bytes_.constData() + from, end - from));
            from = end + 2;
        }
    }
    friend bool operator==(const DeckLines &a, const DeckLines &b) {
        return a.count_ == b.count_ && a.bytes_ == b.bytes_;
    }

private:
    QByteArray bytes_;
    qsizetype count_ = 0;
};

// The file side of the open deck.
struct Deck {
    CardOwnerList CardList;  // every card, file order
    QString DeckFileName;    // full path; empty until a deck is opened
    DeckLines SavedLines;    // the file's lines as last read or written
    DeckLines RenderedLines; // the deck as last rendered
};

// Outcome of reading or writing a file: `error` is a Japanese message for the user.
struct FileResult {
    bool ok = true;
    QString error;
};

// Reads a deck file whole.
FileResult ReadDeckFile(const QString &path, DeckLines *lines);

// True when neither of the first two lines holds a comma (a missing line holds none).
bool IsUnsuitable(const DeckLines &lines);

// The n-th field (1-based) of a line in stored form; empty past the end of the line.
QByteArray ExtractField(QByteArrayView line, int n);

// Integer columns: optional sign and decimal digits within 32 bits; anything else is 0.
qint32 FieldToInt(QByteArrayView field);

// Builds the cards from SavedLines; the due ones (Jikan < today) go to `askQueue` in file order.
void ParseDeck(Deck &deck, qint32 today, CardRefList &askQueue);

// One card as a file line (no line end).
QByteArray RenderCardLine(const TMondaiSet &card);

// Renders the cards into RenderedLines. Returns 1, leaving RenderedLines untouched, when the
// deck has no cards; else 0.
int RenderDeckLines(Deck &deck);

// Renders and writes the deck atomically to DeckFileName; on success SavedLines becomes a copy
// of RenderedLines. Nothing is written for an empty deck. On failure SavedLines is unchanged.
FileResult SaveDeck(Deck &deck);

// Renders and tells whether the cards differ from SavedLines.
bool IsDeckChanged(Deck &deck);
