// Opening, saving and the save prompt.
#include "app/tform1.h"

#include "app/after_first_paint.h"
#include "app/deck_preload.h"
#include "app/deck_saving.h"
#include "app/deck_sync.h"
#include "app/utf8_deck_question.h"
#include "exchange/card_import.h"
#include "exchange/file_kind.h"
#include "exchange_ui/deck_exchange.h"
#include "ui/prompts.h"
#include "view/card_table_model.h"
#include "view/drill_controls.h"
#include "view/find_bar.h"
#include "view/list_grid.h"

#include <QFileInfo>

namespace {
// A deck without a file, or another program's file opened as a deck, is saved under a name
// the user gives.
bool NeedsNewName(const Deck &deck, const DeckExchange &exchange) {
    return deck.FileName().isEmpty() || exchange.NeedsNewName(deck.FileName());
}
} // namespace

int TForm1::OpenDeckFile(const QString &path) {
    return OpenDeck(path, nullptr);
}

int TForm1::OpenDeck(const QString &path, DeckPreload *preload) {
    if (preload && !preload->Holds(path))
        preload = nullptr;
    DeckFileRead read = preload ? preload->TakeRead() : ReadDeckForOpening(path);
    if (!read.result.ok) {
        prompts_.Error(this, read.result.error);
        return 0;
    }
    // Another program's text is offered for import rather than read as a deck.
    const exchange::FileKind kind = exchange::KindOfFile(read.lines);
    if (kind == exchange::FileKind::Binary) {
        prompts_.Warning(this, exchange::NotTextMessage());
        return 1;
    }
    const bool unsuitable = kind == exchange::FileKind::NotDeck;
    if (kind != exchange::FileKind::Deck) {
        const auto offer = exchange_->OfferImport(path, unsuitable, !deck_.Cards().empty());
        if (offer == DeckExchange::Offer::Done)
            return unsuitable ? 1 : 0;
        if (offer == DeckExchange::Offer::NotImportable) {
            prompts_.Warning(this,
                             QStringLiteral("ファイルが不適切です。\n読み込めませんでした。"));
            return 1;
        }
    }
    const DeckReading reading = AskDeckReading(prompts_, this, read.utf8);
    if (reading == DeckReading::Cancelled || AskSaveDeck() == SaveAnswer::Cancelled)
        return 0;
    // Read again only when the file changed meanwhile: the prompt may just have saved the open
    // deck into this very file.
    if (!StillAsRead(read)) {
        read = ReadDeckForOpening(path);
        if (!read.result.ok) {
            prompts_.Error(this, read.result.error);
            return 0;
        }
    }
    ParkFocus();
    const DeckLines cards = CardLines(prompts_, this, read, reading);
    CardRefList due;
    if (!preload || !preload->OpenParsed(deck_, std::move(read), cards, drill_.Today(), due))
        OpenReadDeck(deck_, std::move(read), cards, drill_.Today(), due);
    drill_.TakeDueCards(std::move(due));
    exchange_->OpenedAsDeck(kind == exchange::FileKind::OtherText ? deck_.FileName() : QString());
    // The changed-on-disk check hashes the file when it first needs to; else it is done once
    // the window is drawn.
    afterPaint_->Add([this] { deck_.DiskStamp().Hash(); });
    UpdateRecentFiles();
    findBar_->DeckReplaced();
    sync_->DeckReplaced();
    drill_.StartNewDeck();
    sync_->OfferConflictCopies();
    return 0;
}

void TForm1::CreateDeckSync() {
    DeckSync::Hooks hooks;
    hooks.showStatus = [this](const QString &text) { ShowStatus(text); };
    hooks.cardsReplaced = [this] { findBar_->DeckReplaced(); };
    hooks.showInList = [this](const TMondaiSet *card) {
        if (drill_.DisplayPattern() != PatternList)
            ClickPanelPattern(5); // the list's entry in SelectBox
        const QModelIndex cell = GridHyouji->Model()->index(int(drill_.CardNumber(card) - 1), 1);
        GridHyouji->setCurrentIndex(cell);
        GridHyouji->scrollTo(cell);
    };
    sync_ = std::make_unique<DeckSync>(deck_, drill_, prompts_, this, std::move(hooks));
}

SaveAnswer TForm1::AskSaveDeck() {
    if (!IsDeckChanged(deck_))
        return SaveAnswer::Continue;
    bool ask = !controls_->AutoSave();
    for (;;) {
        const PromptButton answer =
            ask ? prompts_.Confirm(this, QStringLiteral("学習結果を保存しますか？"),
                                   {PromptButton::Yes, PromptButton::No, PromptButton::Cancel})
                : PromptButton::Yes;
        if (answer == PromptButton::Cancel)
            return SaveAnswer::Cancelled;
        if (answer == PromptButton::No)
            return SaveAnswer::Continue;
        const SaveOutcome saved = NeedsNewName(deck_, *exchange_) ? SaveDeckAs() : sync_->Save();
        if (saved == SaveOutcome::Saved)
            return SaveAnswer::Continue;
        // Kept in memory, so the user can still save it under another name.
        if (saved == SaveOutcome::Declined)
            return SaveAnswer::Cancelled;
        // Nothing may be lost silently: after a failed save the user decides again.
        ask = true;
    }
}

void TForm1::ClickOpen() {
    const QString dir =
        deck_.FileName().isEmpty() ? QString() : QFileInfo(deck_.FileName()).absolutePath();
    const QString path = prompts_.OpenFileName(this, {QString(), TextFileFilter(), dir});
    if (!path.isEmpty())
        OpenDeckFile(path);
}

void TForm1::ClickSaveFile() {
    if (deck_.Cards().empty())
        return;
    ParkFocus();
    if (NeedsNewName(deck_, *exchange_))
        SaveDeckAs();
    else
        sync_->Save();
}

void TForm1::ClickSaveAsFile() {
    if (deck_.Cards().empty())
        return;
    ParkFocus();
    SaveDeckAs();
}

SaveOutcome TForm1::SaveDeckAs() {
    // Starts where the deck is, with its name, as a save dialog does everywhere else; an
    // imported deck, or another program's file opened as a deck, starts beside that file.
    const QString &file = deck_.FileName();
    const QString proposed = file.isEmpty()                  ? exchange_->ProposedDeckName()
                             : exchange_->NeedsNewName(file) ? DeckNameBeside(file)
                                                             : file;
    const QString path = prompts_.SaveFileName(this, {QString(), QString(), proposed});
    if (path.isEmpty())
        return SaveOutcome::Declined;
    // A name that cannot be written is not taken on: the deck stays with its old file.
    const QString previous = deck_.FileName();
    deck_.SetFileName(path);
    const SaveOutcome saved = sync_->Save();
    if (saved != SaveOutcome::Saved) {
        deck_.SetFileName(previous);
        return saved;
    }
    exchange_->OpenedAsDeck(QString());
    UpdateRecentFiles();
    return saved;
}
