// Import and export: the menu and what becomes of imported cards.
#include "app/tform1.h"
#include "overview/learning_progress.h"

#include "exchange/card_import.h"
#include "exchange_ui/deck_exchange.h"
#include "ui/app_texts.h"

#include <QAction>
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
    // Below the recent entries, whose positions the settings file counts.
    QMenu *menu = file->addMenu(QStringLiteral("取り込みと書き出し(&M)"));
    menu->setObjectName(QStringLiteral("men_File_Exchange"));
    menu->menuAction()->setObjectName(QStringLiteral("men_File_Exchange"));
    menu->menuAction()->setStatusTip(QStringLiteral("他のソフトのファイルとカードをやりとりする"));
    QAction *import = menu->addAction(QStringLiteral("取り込み(&I)..."), this, [this] {
        const QString folder = QFileInfo(deck_.FileName()).absolutePath();
        exchange_->ChooseAndImport(deck_.FileName().isEmpty() ? QString() : folder,
                                   !deck_.Cards().empty());
    });
    import->setObjectName(QStringLiteral("men_File_Import"));
    import->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_I));
    import->setStatusTip(QStringLiteral("CSV・TSV・学習ソフトのテキストからカードを取り込む"));
    menu->addSeparator();
    auto *record = new QAction(QStringLiteral("学習記録の列も書き出す(&R)"), menu);
    record->setObjectName(QStringLiteral("men_File_ExportRecord"));
    record->setCheckable(true);
    record->setStatusTip(QStringLiteral("期日・正解・不正解の列も書き出す"));
    const struct {
        const char *name;
        const char16_t *caption;
        exchange::ExportFormat format;
    } exports[] = {
        {"men_File_ExportCsv", u"CSV (UTF-8) で書き出し(&C)...", exchange::ExportFormat::Csv},
        {"men_File_ExportTsv", u"TSV (UTF-8) で書き出し(&T)...", exchange::ExportFormat::Tsv},
        {"men_File_ExportNotes", u"学習ソフト用テキストで書き出し(&N)...",
         exchange::ExportFormat::Notes}};
    QList<QAction *> exportActions;
    for (const auto &item : exports) {
        QAction *action = menu->addAction(
            QString::fromUtf16(item.caption), this, [this, record, format = item.format] {
                ParkFocus();
                const bool withRecord = record->isChecked();
                const QString note = exchange_->Export(deck_, {format, withRecord, withRecord});
                if (!note.isEmpty())
                    ShowStatus(note);
            });
        action->setObjectName(QString::fromLatin1(item.name));
        action->setStatusTip(QStringLiteral("開いているデッキを UTF-8 のテキストに書き出す"));
        exportActions << action;
    }
    exportActions.front()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    menu->addSeparator();
    menu->addAction(record);
    // Enabled for the open menu only; the key stays live and the command checks for itself.
    connect(menu, &QMenu::aboutToShow, this, [this, exportActions] {
        for (QAction *action : exportActions)
            action->setEnabled(!deck_.Cards().empty());
    });
    connect(menu, &QMenu::aboutToHide, this, [exportActions] {
        for (QAction *action : exportActions)
            action->setEnabled(true);
    });
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
