#include "exchange_ui/deck_exchange.h"

#include "exchange/card_import.h"
#include "exchange/file_kind.h"
#include "exchange_ui/import_dialog.h"
#include "ui/prompts.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>

namespace {

struct FormatFile {
    const char16_t *filter;
    const char16_t *suffix;
};

FormatFile FileOf(exchange::ExportFormat format) {
    switch (format) {
    case exchange::ExportFormat::Csv:
        return {u"CSV (*.csv)", u"csv"};
    case exchange::ExportFormat::Tsv:
        return {u"TSV (*.tsv)", u"tsv"};
    case exchange::ExportFormat::Notes:
        break;
    }
    return {u"テキスト (*.txt)", u"txt"};
}

bool SameFile(const QString &a, const QString &b) {
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo x(a);
    const QFileInfo y(b);
    return x.absoluteFilePath() == y.absoluteFilePath() ||
           (x.exists() && y.exists() && x.canonicalFilePath() == y.canonicalFilePath());
}

} // namespace

QString TextFileFilter() {
    return QStringLiteral("テキスト (*.txt *.csv *.tsv *.tab);;すべてのファイル (*)");
}

QString NameBeside(const QString &file, const QString &suffix, const QString &mark) {
    const QFileInfo info(file);
    const QDir folder = info.absoluteDir();
    const QString name = folder.filePath(info.completeBaseName() + u'.' + suffix);
    if (!SameFile(name, file))
        return name;
    return folder.filePath(info.completeBaseName() + mark + u'.' + suffix);
}

QString DeckNameBeside(const QString &file) {
    return NameBeside(file, QStringLiteral("csv"), QStringLiteral("_kardeon"));
}

DeckExchange::DeckExchange(Prompts &prompts, QWidget *parent, Take take)
    : runDialog([](ImportDialog &dialog) { return dialog.exec() == QDialog::Accepted; }),
      prompts_(prompts), parent_(parent), take_(std::move(take)) {}

void DeckExchange::ChooseAndImport(const QString &folder, bool deckOpen) {
    const QString path = prompts_.OpenFileName(
        parent_, {QStringLiteral("取り込むファイル"), TextFileFilter(), folder});
    if (!path.isEmpty())
        Import(path, deckOpen);
}

bool DeckExchange::Import(const QString &path, bool deckOpen) {
    QByteArray bytes;
    const FileResult read = ReadTextFile(path, &bytes);
    if (!read.ok) {
        prompts_.Error(parent_, read.error);
        return false;
    }
    if (exchange::LooksBinary(bytes)) {
        prompts_.Warning(parent_, exchange::NotTextMessage());
        return false;
    }
    ImportDialog dialog(std::move(bytes), QFileInfo(path).fileName(), deckOpen, parent_);
    // Nothing to choose from: say why instead of showing an empty preview.
    if (!dialog.Result().ok()) {
        prompts_.Warning(parent_, dialog.Result().ErrorMessage());
        return false;
    }
    const bool offerLimit = newCardLimit && setNewCardLimit;
    if (offerLimit)
        dialog.OfferNewCardLimit(newCardLimit());
    if (!runDialog(dialog) || !dialog.Result().ok())
        return false;
    const bool append = dialog.AppendToDeck();
    const int limit = offerLimit ? dialog.ChosenNewCardLimit() : 0;
    // Set before the cards arrive, so that the new deck's first pass keeps to it.
    if (limit > 0)
        setNewCardLimit(limit);
    if (!take_(dialog.TakeCards(), append, path))
        return false;
    if (!append)
        lastSource_ = path;
    return true;
}

QString DeckExchange::ProposedDeckName() const {
    return lastSource_.isEmpty() ? QString() : DeckNameBeside(lastSource_);
}

DeckExchange::Offer DeckExchange::OfferImport(const QString &path, bool unsuitable, bool deckOpen) {
    if (unsuitable) {
        QByteArray bytes;
        if (!ReadTextFile(path, &bytes).ok || !exchange::HoldsCardColumns(bytes))
            return Offer::NotImportable;
        if (prompts_.Confirm(parent_,
                             QStringLiteral("このファイルはデッキの形式ではありません。\n"
                                            "カードとして取り込みますか？"),
                             {PromptButton::Yes, PromptButton::No}) == PromptButton::Yes)
            Import(path, deckOpen);
        return Offer::Done;
    }
    switch (prompts_.Confirm(parent_,
                             QStringLiteral("このファイルは表計算ソフトなど他のプログラムの"
                                            "形式（見出しの行、セル内の改行、UTF-16 など）の"
                                            "ようです。\n"
                                            "カードとして取り込みますか？\n"
                                            "「いいえ」ではデッキとしてそのまま開きます"
                                            "（保存するときは別の名前を尋ねます）。"),
                             {PromptButton::Yes, PromptButton::No, PromptButton::Cancel})) {
    case PromptButton::Yes:
        Import(path, deckOpen);
        return Offer::Done;
    case PromptButton::No:
        return Offer::OpenAsDeck;
    default:
        return Offer::Done;
    }
}

QString DeckExchange::Export(const Deck &deck, const exchange::ExportOptions &options) {
    if (deck.Cards().empty())
        return {};
    const FormatFile file = FileOf(options.format);
    const QString suffix = QString::fromUtf16(file.suffix);
    // A name the check below accepts: never the deck's own file.
    const QString proposed = deck.FileName().isEmpty()
                                 ? QString()
                                 : NameBeside(deck.FileName(), suffix, QStringLiteral("-書き出し"));
    QString path = prompts_.SaveFileName(
        parent_, {QStringLiteral("書き出し"), QString::fromUtf16(file.filter), proposed});
    if (path.isEmpty())
        return {};
    if (QFileInfo(path).suffix().isEmpty())
        path += u'.' + suffix;
    if (SameFile(path, deck.FileName())) {
        prompts_.Warning(parent_, QStringLiteral("開いているデッキのファイルには書き出せません。\n"
                                                 "別の名前を指定してください。"));
        return {};
    }
    const FileResult written = exchange::ExportCardsToFile(path, deck.Cards(), options);
    if (!written.ok) {
        prompts_.Error(parent_, written.error);
        return {};
    }
    return QStringLiteral("%1 枚のカードを書き出しました: %2")
        .arg(deck.Cards().size())
        .arg(QDir::toNativeSeparators(path));
}

void AddExchangeMenu(QMenu *file, DeckExchange &exchange, const Deck &deck,
                     std::function<void()> beforeExport,
                     std::function<void(const QString &)> status) {
    // Below the recent entries, whose positions the settings file counts.
    QMenu *menu = file->addMenu(QStringLiteral("取り込みと書き出し(&M)"));
    menu->setObjectName(QStringLiteral("men_File_Exchange"));
    menu->menuAction()->setObjectName(QStringLiteral("men_File_Exchange"));
    menu->menuAction()->setStatusTip(QStringLiteral("他のソフトのファイルとカードをやりとりする"));
    QAction *import = menu->addAction(QStringLiteral("取り込み(&I)..."), menu, [&exchange, &deck] {
        const QString folder = QFileInfo(deck.FileName()).absolutePath();
        exchange.ChooseAndImport(deck.FileName().isEmpty() ? QString() : folder,
                                 !deck.Cards().empty());
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
            QString::fromUtf16(item.caption), menu,
            [&exchange, &deck, beforeExport, status, record, format = item.format] {
                beforeExport();
                const bool withRecord = record->isChecked();
                const QString note = exchange.Export(deck, {format, withRecord, withRecord});
                if (!note.isEmpty())
                    status(note);
            });
        action->setObjectName(QString::fromLatin1(item.name));
        action->setStatusTip(QStringLiteral("開いているデッキを UTF-8 のテキストに書き出す"));
        exportActions << action;
    }
    exportActions.front()->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    menu->addSeparator();
    menu->addAction(record);
    // Enabled for the open menu only; the key stays live and the command checks for itself.
    QObject::connect(menu, &QMenu::aboutToShow, menu, [&deck, exportActions] {
        for (QAction *action : exportActions)
            action->setEnabled(!deck.Cards().empty());
    });
    QObject::connect(menu, &QMenu::aboutToHide, menu, [exportActions] {
        for (QAction *action : exportActions)
            action->setEnabled(true);
    });
}
