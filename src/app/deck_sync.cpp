#include "app/deck_sync.h"

#include "app/deck_saving.h"
#include "deck/conflict_copies.h"
#include "deck/file_access.h"
#include "deck/sjis_codec.h"
#include "drill/drill.h"
#include "progress/review_log.h"
#include "ui/prompts.h"

#include <QApplication>
#include <QDataStream>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QLabel>
#include <QListWidget>
#include <QScopedValueRollback>
#include <QVBoxLayout>

namespace {

QString MergeStatus(const FileMerge &merged) {
    QString text = QStringLiteral("統合しました。相手側から %1 枚のカードを取り込みました。")
                       .arg(merged.fromTheirs);
    if (merged.removedByTheirs > 0)
        text +=
            QStringLiteral("相手側で削除された %1 枚を除きました。").arg(merged.removedByTheirs);
    if (!merged.conflicts.empty())
        text +=
            QStringLiteral("食い違った %1 枚は残して一覧にしました。").arg(merged.conflicts.size());
    return text;
}

QString Question(const TMondaiSet &card) {
    QString question = sjis::ToDisplay(DisplayForm(card.Mondai())).text.simplified();
    if (question.size() > 40)
        question = question.left(40) + QStringLiteral("…");
    return question;
}

} // namespace

// A sync tool writes a file in steps (a temporary file, a rename): its events are taken together.
constexpr int kSettleMs = 300;

DeckSync::DeckSync(Deck &deck, Drill &drill, Prompts &prompts, QWidget *window, Hooks hooks)
    : deck_(deck), drill_(drill), prompts_(prompts), window_(window), hooks_(std::move(hooks)),
      watcher_(new QFileSystemWatcher(this)) {
    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, &DeckSync::DiskChanged);
    connect(watcher_, &QFileSystemWatcher::fileChanged, &settle_, qOverload<>(&QTimer::start));
    connect(watcher_, &QFileSystemWatcher::directoryChanged, &settle_, qOverload<>(&QTimer::start));
}

DeckSync::~DeckSync() {
    if (list_)
        delete list_->window();
}

SaveOutcome DeckSync::Save() {
    const QScopedValueRollback hold(busy_, true);
    if (!readBase_) // still the deck as opened: its lines are what was read
        readBase_ = BaseOfDeck(deck_);
    const SaveOutcome saved = SaveOpenDeck(deck_, prompts_, window_, [this] {
        const std::optional<MergeBase> base = BaseOfDeck(deck_);
        return MergeFile(deck_.FileName(), base ? &*base : nullptr);
    });
    if (saved == SaveOutcome::Saved)
        RememberBase();
    Watch(); // a save replaces the file
    return saved;
}

bool DeckSync::MergeFile(const QString &path, const MergeBase *base) {
    const FileMerge merged = MergeFileIntoDeck(deck_, path, base);
    if (!merged.result.ok) {
        prompts_.Error(window_, merged.result.error);
        return false;
    }
    if (path == deck_.FileName())
        readBase_ = deck_.SavedBase(); // the file just read
    if (hooks_.cardsReplaced)
        hooks_.cardsReplaced();
    drill_.KeepAfterMerge();
    if (hooks_.showStatus)
        hooks_.showStatus(MergeStatus(merged));
    if (!merged.conflicts.empty())
        ShowConflicts(merged.conflicts);
    return true;
}

void DeckSync::DeckReplaced() {
    if (list_)
        list_->window()->deleteLater();
    list_ = nullptr;
    readBase_.reset();
    Watch();
}

QString DeckSync::BasePathForDeck(const QString &deckPath) {
    QString path = ReviewLog::PathForDeck(deckPath);
    path.chop(QStringLiteral(".log").size());
    return path + QStringLiteral(".base");
}

void DeckSync::RememberBase() {
    if (deck_.FileName().isEmpty() || !readBase_)
        return;
    const QString path = BasePathForDeck(deck_.FileName());
    QDir().mkpath(QFileInfo(path).absolutePath());
    QByteArray bytes;
    QDataStream(&bytes, QIODevice::WriteOnly) << deck_.DiskStamp().Hash();
    // Only a help for later merges: a base that cannot be kept leaves them to the two-way rule.
    WriteTextFile(path, bytes + readBase_->ToBytes());
}

std::optional<MergeBase> DeckSync::RememberedBase(const QString &copy) const {
    QByteArray bytes;
    if (!ReadTextFile(BasePathForDeck(deck_.FileName()), &bytes).ok || bytes.size() < 8)
        return std::nullopt;
    quint64 savedHash = 0;
    QDataStream(bytes) >> savedHash;
    // Kept for another version (a later save elsewhere, a file replaced by hand): not a base.
    QByteArray content;
    const bool kept =
        (ReadTextFile(copy, &content).ok && file_access::ContentHash(content) == savedHash) ||
        (ReadTextFile(deck_.FileName(), &content).ok &&
         file_access::ContentHash(content) == savedHash);
    if (!kept)
        return std::nullopt;
    std::optional<MergeBase> base = MergeBase::FromBytes(QByteArrayView(bytes).sliced(8));
    if (base && base->cards.empty()) // a deck that was never read from a file: no base
        base.reset();
    return base;
}

void DeckSync::OfferConflictCopies() {
    if (deck_.FileName().isEmpty() || deck_.Cards().empty())
        return;
    QStringList copies;
    for (const QString &copy : conflict_copies::CopiesOf(deck_.FileName()))
        if (!declined_.contains(copy))
            copies << copy;
    if (copies.isEmpty())
        return;
    const QScopedValueRollback hold(busy_, true);
    QStringList names;
    for (const QString &copy : copies)
        names << QFileInfo(copy).fileName();
    const PromptButton answer = prompts_.Confirm(
        window_,
        QStringLiteral("同期ツールが、このデッキの競合コピーを残しています。\n%1\n\n"
                       "カードごとに統合しますか？ 統合したコピーはごみ箱に移します。")
            .arg(names.join(u'\n')),
        {PromptButton::Yes, PromptButton::No}, PromptButton::Yes);
    if (answer != PromptButton::Yes) {
        for (const QString &copy : copies)
            declined_.insert(copy);
        return;
    }
    for (const QString &copy : copies) {
        const std::optional<MergeBase> base = RememberedBase(copy);
        if (!MergeFile(copy, base ? &*base : nullptr)) {
            declined_.insert(copy);
            continue;
        }
        if (!QFile::moveToTrash(copy)) {
            declined_.insert(copy);
            prompts_.Warning(window_,
                             QStringLiteral("統合したコピーをごみ箱に移せませんでした。\n%1")
                                 .arg(QDir::toNativeSeparators(copy)));
        }
    }
}

void DeckSync::Watch() {
    const QStringList watched = watcher_->files() + watcher_->directories();
    if (!watched.isEmpty())
        watcher_->removePaths(watched);
    if (deck_.FileName().isEmpty())
        return;
    // The folder too: a sync tool replaces the file by a rename, and leaves conflict copies.
    watcher_->addPath(QFileInfo(deck_.FileName()).absolutePath());
    if (QFileInfo::exists(deck_.FileName()))
        watcher_->addPath(deck_.FileName());
}

void DeckSync::DiskChanged() {
    if (busy_ || QApplication::activeModalWidget()) {
        settle_.start(); // after the question
        return;
    }
    const QScopedValueRollback hold(busy_, true);
    Watch();
    if (deck_.FileName().isEmpty())
        return;
    if (CheckDeckOnDisk(deck_) == DiskState::Changed) {
        const bool unsaved = IsDeckChanged(deck_);
        const std::optional<MergeBase> base = BaseOfDeck(deck_);
        // The base kept for conflict copies stays that of our last save: the copy of it a sync
        // tool may still leave needs it.
        if (MergeFile(deck_.FileName(), base ? &*base : nullptr) && !unsaved && hooks_.showStatus)
            hooks_.showStatus(
                QStringLiteral("ファイルが他のプログラムで変更されたので読み直しました。"));
    }
    busy_ = false;
    OfferConflictCopies();
}

void DeckSync::ShowConflicts(const std::vector<const TMondaiSet *> &cards) {
    DeckReplaced();
    auto *box = new QDialog(window_);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowTitle(QStringLiteral("統合で両方を残したカード"));
    box->setModal(false);
    auto *layout = new QVBoxLayout(box);
    layout->addWidget(
        new QLabel(QStringLiteral("両方の機械で違うように変わったカードです。どちらも残しました。\n"
                                  "ダブルクリックで一覧のその行を表示します。"),
                   box));
    list_ = new QListWidget(box);
    list_->setObjectName(QStringLiteral("lst_MergeConflicts"));
    for (const TMondaiSet *card : cards) {
        auto *item = new QListWidgetItem(
            QStringLiteral("%1: %2").arg(drill_.CardNumber(card)).arg(Question(*card)), list_);
        item->setData(Qt::UserRole, QVariant::fromValue(quintptr(card)));
    }
    layout->addWidget(list_);
    connect(list_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem *item) {
        const auto *card =
            reinterpret_cast<const TMondaiSet *>(item->data(Qt::UserRole).value<quintptr>());
        // Only a card still in the deck is shown: it may have been deleted since.
        if (drill_.CardNumber(card) > 0 && hooks_.showInList)
            hooks_.showInList(card);
    });
    box->resize(420, 240);
    box->show();
}
