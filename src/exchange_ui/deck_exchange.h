#pragma once

#include "deck/deck.h"
#include "exchange/card_export.h"

#include <QString>

#include <functional>

class ImportDialog;

// The filter of the dialogs that choose a text file to open or import.
QString TextFileFilter();

// A name beside `file` for a file ending in `suffix`: NAME.suffix, or NAME + `mark` + .suffix
// when that would be `file` itself.
QString NameBeside(const QString &file, const QString &suffix, const QString &mark);
// The name a deck read from another program's `file` is saved under: never that file.
QString DeckNameBeside(const QString &file);

class Prompts;
class QMenu;
class QWidget;

// The import and export commands: choosing files, the preview, the messages. What becomes of
// imported cards is the deck document's business (`Take`); an export only reads the deck.
class DeckExchange {
public:
    // Takes the imported cards: as a new deck without a file, or after the open deck's last
    // card. False when the user kept the open deck after all (the save prompt was cancelled).
    using Take = std::function<bool(CardOwnerList cards, bool append, const QString &source)>;

    DeckExchange(Prompts &prompts, QWidget *parent, Take take);

    // The new-card limit now (0: none), and setting the one the preview's offer chose; without
    // them the preview offers none.
    std::function<int()> newCardLimit;
    std::function<void(int)> setNewCardLimit;

    // Runs the preview dialog; true when it was accepted. Tests put their own here.
    std::function<bool(ImportDialog &)> runDialog;

    // 取り込み: asks for a file, then Import.
    void ChooseAndImport(const QString &folder, bool deckOpen);
    // Reads `path` and shows the preview; true when the cards were taken.
    bool Import(const QString &path, bool deckOpen);

    // A file opened as a deck that another program wrote: import is offered instead.
    enum class Offer {
        OpenAsDeck,    // it may be a deck after all: open it
        Done,          // imported, or the user decided against both
        NotImportable, // import cannot read it either
    };
    // `unsuitable`: the deck reader rejects the file.
    Offer OfferImport(const QString &path, bool unsuitable, bool deckOpen);

    // The name a deck made by the last import is offered to be saved under: beside the file it
    // came from, never that file itself.
    QString ProposedDeckName() const;

    // Another program's file the user opened as a deck anyway (empty for a deck of its own):
    // saving it asks for a new name until it has one, so that the user's file is never
    // rewritten in the deck format.
    void OpenedAsDeck(const QString &path) { openedAsDeck_ = path; }
    bool NeedsNewName(const QString &deckFile) const {
        return !deckFile.isEmpty() && deckFile == openedAsDeck_;
    }

    // 書き出し: asks for a file name beside the deck and writes the deck's cards to it. The
    // deck file itself is never the target. Returns a note for the status line, or empty.
    QString Export(const Deck &deck, const exchange::ExportOptions &options);

private:
    Prompts &prompts_;
    QWidget *parent_;
    Take take_;
    QString lastSource_;
    QString openedAsDeck_;
};

// Adds the 取り込みと書き出し submenu to the File menu: import, the three exports and whether
// they carry the learning record. `deck` says where the open deck lies and whether it has cards
// to export; `beforeExport` runs before an export asks for its file, `status` shows its note.
void AddExchangeMenu(QMenu *file, DeckExchange &exchange, const Deck &deck,
                     std::function<void()> beforeExport,
                     std::function<void(const QString &)> status);
