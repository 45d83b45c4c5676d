#pragma once

#include "deck/deck.h"
#include "exchange/text_source.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <array>

// Cards from text files of other programs: comma-, tab- or semicolon-separated values, the
// plain-text note export of spaced-repetition programs with its header lines, and two-column
// "term TAB definition" lists. Every new card gets the record of a card made with the add
// dialog: due now, no answers yet.
namespace exchange {

constexpr int kNoColumn = -1;

// The fields of a card, in the order the card has them.
enum CardText { Question, Answer, Reference };

struct ImportOptions {
    SourceEncoding encoding = SourceEncoding::Utf8;
    char separator = ',';
    bool headerRow = false; // the first record names the columns
    bool html = false;      // fields are HTML, to be reduced to text
    // The source column (0-based) each card text comes from; kNoColumn leaves it empty.
    std::array<int, 3> columns = {0, 1, 2};
};

// What a file looks like at first sight: its encoding, the separator (from a "#separator:" line,
// else the one that splits the first records most consistently), whether the first record is
// a row of column names, whether the fields are HTML, and the first columns that hold card text.
ImportOptions DetectImportOptions(QByteArrayView fileBytes);

// The separator among tab, comma and semicolon that splits the first records of Shift-JIS text
// into the most records of the same, plural number of fields; ties go to tab, then comma.
char DetectSeparator(QByteArrayView text);

// True when the file reads as another program's text rather than a deck: tab-separated values,
// UTF-16, or a note export with header lines.
bool LooksLikeOtherProgramsText(QByteArrayView fileBytes);

// True when the file, read as detected, gives cards from at least two columns: a list of lines
// without separators is no set of cards.
bool HoldsCardColumns(QByteArrayView fileBytes);

enum class ImportError { None, NoCards, RecordTooLong };

struct ImportResult {
    CardOwnerList cards;
    // One name per column of the widest record: from the header, else "列 1", "列 2" ...
    QStringList columnNames;
    QString unencodable;              // characters Shift-JIS cannot hold, left out
    bool quoteCommaSeparated = false; // some text had a quote before a comma (a space went in)
    ImportError error = ImportError::None;
    qsizetype errorLine = 0; // the line a too long record starts on

    bool ok() const { return error == ImportError::None; }
    QString ErrorMessage() const; // Japanese, for the user
};

// Reads the cards of a file. Records whose chosen columns are all empty give no card.
ImportResult ImportCards(QByteArrayView fileBytes, const ImportOptions &options);

// The stored form of a text (Shift-JIS, line breaks as CR LF, CR or LF) in a new card's field:
// line breaks as "\n", the quoting rule applied, and a text that already stands in quotes kept
// as it is by a further pair. `quoteCommaSeparated` is set when a quote-comma pair got a space.
QByteArray StoredFormOf(QByteArrayView text, bool *quoteCommaSeparated);

// The cards as a new deck without a file: nothing saved yet, so it counts as changed; the cards
// (all due) go to `askQueue`.
void TakeAsNewDeck(Deck &deck, CardRefList &askQueue, CardOwnerList cards);

// The cards after the deck's last card, and after the last card still to be asked.
void AppendCards(Deck &deck, CardRefList &askQueue, CardOwnerList cards);

} // namespace exchange
