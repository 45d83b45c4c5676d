#include "app/deck_document.h"

#include "app/after_first_paint.h"
#include "app/deck_preload.h"
#include "app/deck_saving.h"
#include "app/deck_sync.h"
#include "app/utf8_deck_question.h"
#include "deck/recent_files.h"
#include "drill/drill.h"
#include "exchange/card_import.h"
#include "exchange/file_kind.h"
#include "exchange_ui/deck_exchange.h"
#include "ui/app_texts.h"
#include "ui/prompts.h"

#include <QFileInfo>
#include <QMenu>
#include <QWidget>

DeckDocument::DeckDocument(Deck &deck, Drill &drill, Prompts &prompts, QWidget &window,
                           AfterFirstPaint &afterPaint, Hooks hooks)
    : deck_(deck), drill_(drill), prompts_(prompts), window_(window), afterPaint_(afterPaint),
      hooks_(std::move(hooks)) {
    exchange_ = std::make_unique<DeckExchange>(
        prompts_, &window_, [this](CardOwnerList cards, bool append, const QString &source) {
            return TakeImportedCards(std::move(cards), append, source);
        });
    sync_ = std::make_unique<DeckSync>(
        deck_, drill_, prompts_, &window_,
        DeckSync::Hooks{hooks_.showStatus, hooks_.cardsReplaced, hooks_.showInList});
}

DeckDocument::~DeckDocument() = default;

int DeckDocument::Open(const QString &path, DeckPreload *preload) {
    if (preload && !preload->Holds(path))
        preload = nullptr;
    DeckFileRead read = preload ? preload->TakeRead() : ReadDeckForOpening(path);
    if (!read.result.ok) {
        prompts_.Error(&window_, read.result.error);
        return 0;
    }
    // Another program's text is offered for import rather than read as a deck.
    const exchange::FileKind kind = exchange::KindOfFile(read.lines);
    if (kind == exchange::FileKind::Binary) {
        prompts_.Warning(&window_, exchange::NotTextMessage());
        return 1;
    }
    const bool unsuitable = kind == exchange::FileKind::NotDeck;
    if (kind != exchange::FileKind::Deck) {
        const auto offer = exchange_->OfferImport(path, unsuitable, !deck_.Cards().empty());
        if (offer == DeckExchange::Offer::Done)
            return unsuitable ? 1 : 0;
        if (offer == DeckExchange::Offer::NotImportable) {
            prompts_.Warning(&window_,
                             QStringLiteral("ファイルが不適切です。\n読み込めませんでした。"));
            return 1;
        }
    }
    const DeckReading reading = AskDeckReading(prompts_, &window_, read.utf8);
    if (reading == DeckReading::Cancelled || AskSave() == SaveAnswer::Cancelled)
        return 0;
    // Read again only when the file changed meanwhile: the prompt may just have saved the open
    // deck into this very file.
    if (!StillAsRead(read)) {
        read = ReadDeckForOpening(path);
        if (!read.result.ok) {
            prompts_.Error(&window_, read.result.error);
            return 0;
        }
    }
    hooks_.parkFocus();
    const DeckLines cards = CardLines(prompts_, &window_, read, reading);
    CardRefList due;
    if (!preload || !preload->OpenParsed(deck_, std::move(read), cards, drill_.Today(), due))
        OpenReadDeck(deck_, std::move(read), cards, drill_.Today(), due);
    drill_.TakeDueCards(std::move(due));
    exchange_->OpenedAsDeck(kind == exchange::FileKind::OtherText ? deck_.FileName() : QString());
    // The changed-on-disk check hashes the file when it first needs to; else it is done once
    // the window is drawn.
    afterPaint_.Add([this] { deck_.DiskStamp().Hash(); });
    ShowFileName();
    hooks_.cardsReplaced();
    sync_->DeckReplaced();
    drill_.StartNewDeck();
    sync_->OfferConflictCopies();
    return 0;
}

SaveAnswer DeckDocument::AskSave() {
    if (!IsDeckChanged(deck_))
        return SaveAnswer::Continue;
    bool ask = !hooks_.autoSave();
    for (;;) {
        const PromptButton answer =
            ask ? prompts_.Confirm(&window_, QStringLiteral("学習結果を保存しますか？"),
                                   {PromptButton::Yes, PromptButton::No, PromptButton::Cancel})
                : PromptButton::Yes;
        if (answer == PromptButton::Cancel)
            return SaveAnswer::Cancelled;
        if (answer == PromptButton::No)
            return SaveAnswer::Continue;
        const SaveOutcome saved = SaveUnderName();
        if (saved == SaveOutcome::Saved)
            return SaveAnswer::Continue;
        // Kept in memory, so the user can still save it under another name.
        if (saved == SaveOutcome::Declined)
            return SaveAnswer::Cancelled;
        // Nothing may be lost silently: after a failed save the user decides again.
        ask = true;
    }
}

void DeckDocument::ChooseAndOpen() {
    const QString dir =
        deck_.FileName().isEmpty() ? QString() : QFileInfo(deck_.FileName()).absolutePath();
    const QString path = prompts_.OpenFileName(&window_, {QString(), TextFileFilter(), dir});
    if (!path.isEmpty())
        Open(path);
}

void DeckDocument::Save() {
    if (deck_.Cards().empty())
        return;
    hooks_.parkFocus();
    SaveUnderName();
}

void DeckDocument::SaveAs() {
    if (deck_.Cards().empty())
        return;
    hooks_.parkFocus();
    SaveUnderNewName();
}

// A deck without a file, or another program's file opened as a deck, is saved under a name
// the user gives.
bool DeckDocument::NeedsNewName() const {
    return deck_.FileName().isEmpty() || exchange_->NeedsNewName(deck_.FileName());
}

SaveOutcome DeckDocument::SaveUnderName() {
    return NeedsNewName() ? SaveUnderNewName() : sync_->Save();
}

SaveOutcome DeckDocument::SaveUnderNewName() {
    // Starts where the deck is, with its name, as a save dialog does everywhere else; an
    // imported deck, or another program's file opened as a deck, starts beside that file.
    const QString &file = deck_.FileName();
    const QString proposed = file.isEmpty()                  ? exchange_->ProposedDeckName()
                             : exchange_->NeedsNewName(file) ? DeckNameBeside(file)
                                                             : file;
    const QString path = prompts_.SaveFileName(&window_, {QString(), QString(), proposed});
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
    ShowFileName();
    return saved;
}

void DeckDocument::AddExchangeMenu(QMenu *file) {
    ::AddExchangeMenu(file, *exchange_, deck_, hooks_.parkFocus, hooks_.showStatus);
    file->addSeparator();
}

bool DeckDocument::TakeImportedCards(CardOwnerList cards, bool append, const QString &source) {
    hooks_.parkFocus();
    if (append && !deck_.Cards().empty()) {
        CardRefList added;
        exchange::AppendCards(deck_, added, std::move(cards));
        drill_.QueueAppended(added);
        hooks_.refreshView();
        return true;
    }
    if (AskSave() == SaveAnswer::Cancelled)
        return false;
    CardRefList due;
    exchange::TakeAsNewDeck(deck_, due, std::move(cards));
    drill_.TakeDueCards(std::move(due));
    window_.setWindowTitle(
        app_texts::WindowCaptionPrefix() +
        QStringLiteral("無題（%1 から取り込み）").arg(QFileInfo(source).fileName()));
    drill_.StartNewDeck();
    return true;
}

void DeckDocument::ShowFileName() {
    hooks_.fileOpened(deck_.FileName());
    window_.setWindowTitle(app_texts::WindowCaptionPrefix() + FileNameOnly(deck_.FileName()));
}
