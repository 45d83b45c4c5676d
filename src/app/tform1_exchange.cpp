// Import and export: the menu and what becomes of imported cards.
#include "app/tform1.h"
#include "overview/learning_progress.h"

#include "exchange/card_import.h"
#include "exchange_ui/deck_exchange.h"
#include "ui/app_texts.h"

#include <QFileInfo>
#include <QMenu>

void TForm1::CreateExchangeMenu(QMenu *file) {
    exchange_ = std::make_unique<DeckExchange>(
        prompts_, this, [this](CardOwnerList cards, bool append, const QString &source) {
            return TakeImportedCards(std::move(cards), append, source);
        });
    exchange_->newCardLimit = [this] { return progress_->StudySettings().newCardsPerDay; };
    exchange_->setNewCardLimit = [this](int limit) {
        StudySettingsDialog::Values values = progress_->StudySettings();
        values.newCardsPerDay = limit;
        progress_->ApplyStudySettings(values);
    };
    AddExchangeMenu(
        file, *exchange_, deck_, [this] { ParkFocus(); },
        [this](const QString &note) { ShowStatus(note); });
    file->addSeparator();
}

bool TForm1::TakeImportedCards(CardOwnerList cards, bool append, const QString &source) {
    ParkFocus();
    if (append && !deck_.Cards().empty()) {
        CardRefList added;
        exchange::AppendCards(deck_, added, std::move(cards));
        drill_.QueueAppended(added);
        RefreshView();
        return true;
    }
    if (AskSaveDeck() == SaveAnswer::Cancelled)
        return false;
    CardRefList due;
    exchange::TakeAsNewDeck(deck_, due, std::move(cards));
    drill_.TakeDueCards(std::move(due));
    setWindowTitle(app_texts::WindowCaptionPrefix() +
                   QStringLiteral("無題（%1 から取り込み）").arg(QFileInfo(source).fileName()));
    drill_.StartNewDeck();
    return true;
}
