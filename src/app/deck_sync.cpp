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

#include <algorithm>

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

// The content hash of a file; 0 when it cannot be read.
quint64 FileHashOf(const QString &path) {
    QByteArray bytes;
    return ReadTextFile(path, &bytes).ok ? file_access::ContentHash(bytes) : 0;
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
    if (!openedKept_ && !opened_.path.isEmpty() && opened_.path == deck_.DiskStamp().path &&
        opened_.Hash() == deck_.DiskStamp().Hash()) {
        // What this save starts from, for a conflict copy of it.
        if (const std::optional<MergeBase> base = BaseOfDeck(deck_))
            Remember(opened_.Hash(), *base);
        openedKept_ = true;
    }
    const SaveOutcome saved = SaveOpenDeck(
        deck_, prompts_, window_, [this] { return MergeFile(deck_.FileName(), KnownVersions()); });
    if (saved == SaveOutcome::Saved && deck_.SavedBase()) {
        Remember(deck_.DiskStamp().Hash(), *deck_.SavedBase());
        mergedCopies_.reset();
    }
    Watch(); // a save replaces the file
    return saved;
}

bool DeckSync::MergeFile(const QString &path, const std::vector<DeckVersion> &known) {
    const FileMerge merged = MergeFileIntoDeck(deck_, path, known);
    if (!merged.result.ok) {
        prompts_.Error(window_, merged.result.error);
        return false;
    }
    if (path == deck_.FileName()) {
        if (deck_.SavedBase())
            Remember(merged.hash, *deck_.SavedBase()); // the file just read
        mergedCopies_.reset();
    } else {
        held_.insert(merged.hash);
        // The other machine may merge the same copy and save: its file then starts from this
        // merge, not from our file or the copy alone (each of which would count the other's
        // answers twice).
        mergedCopies_ = DeckVersion{0, MergeBase::Of(deck_.Cards())};
    }
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
    CloseList();
    opened_ = deck_.DiskStamp();
    openedKept_ = false;
    held_.clear();
    mergedCopies_.reset();
    Watch();
}

void DeckSync::CloseList() {
    if (list_)
        list_->window()->deleteLater();
    list_ = nullptr;
}

QString DeckSync::BasePathForDeck(const QString &deckPath) {
    QString path = ReviewLog::PathForDeck(deckPath);
    path.chop(QStringLiteral(".log").size());
    return path + QStringLiteral(".base");
}

namespace {

constexpr quint32 kVersionsMagic = 0x4B445632; // "KDV2"
// Enough to reach back past a few saves on each side of a cut link; each costs a fraction of
// the deck.
constexpr size_t kKeptVersions = 4;

std::vector<DeckVersion> ReadVersions(const QString &path) {
    std::vector<DeckVersion> versions;
    QByteArray bytes;
    if (!ReadTextFile(path, &bytes).ok)
        return versions;
    QDataStream in(bytes);
    quint32 magic = 0;
    in >> magic;
    while (magic == kVersionsMagic && in.status() == QDataStream::Ok && !in.atEnd()) {
        quint64 hash = 0;
        QByteArray base;
        in >> hash >> base;
        std::optional<MergeBase> read = MergeBase::FromBytes(base);
        if (in.status() != QDataStream::Ok || !read)
            break;
        versions.push_back({hash, std::move(*read)});
    }
    return versions;
}

} // namespace

std::vector<DeckVersion> DeckSync::KnownVersions() const {
    std::vector<DeckVersion> known;
    if (deck_.FileName().isEmpty())
        return known;
    // A version a sync tool set aside as a conflict copy went apart from the file beside it:
    // not a base for merging the two, even where its counts would allow it.
    QSet<quint64> apart;
    for (const QString &copy : conflict_copies::CopiesOf(deck_.FileName()))
        apart.insert(FileHashOf(copy));
    const auto keep = [&](quint64 hash) { return !apart.contains(hash); };
    if (mergedCopies_)
        known.push_back(*mergedCopies_);
    if (std::optional<MergeBase> last = BaseOfDeck(deck_);
        last && !deck_.DiskStamp().path.isEmpty() && keep(deck_.DiskStamp().Hash()))
        known.push_back({deck_.DiskStamp().Hash(), std::move(*last)});
    for (DeckVersion &kept : ReadVersions(BasePathForDeck(deck_.FileName())))
        if (keep(kept.hash) && std::none_of(known.begin(), known.end(),
                                            [&](const auto &v) { return v.hash == kept.hash; }))
            known.push_back(std::move(kept));
    return known;
}

void DeckSync::Remember(quint64 hash, const MergeBase &base) {
    held_.insert(hash);
    if (deck_.FileName().isEmpty() || base.cards.empty())
        return;
    const QString path = BasePathForDeck(deck_.FileName());
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out << kVersionsMagic << hash << base.ToBytes();
    size_t kept = 1;
    for (const DeckVersion &version : ReadVersions(path))
        if (version.hash != hash && kept++ < kKeptVersions)
            out << version.hash << version.base.ToBytes();
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Only a help for later merges: versions that cannot be kept leave them to the two-way rule.
    WriteTextFile(path, bytes);
}

bool DeckSync::Holds(quint64 hash) const {
    return held_.contains(hash) || (!opened_.path.isEmpty() && opened_.Hash() == hash);
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
    // The file beside the copies went apart from them: not a base for them.
    std::vector<DeckVersion> known = KnownVersions();
    const quint64 deckFile = FileHashOf(deck_.FileName());
    std::erase_if(known,
                  [deckFile](const DeckVersion &version) { return version.hash == deckFile; });
    for (const QString &copy : copies) {
        // A version already held here (our own save the sync tool set aside): nothing to merge.
        if (!Holds(FileHashOf(copy)) && !MergeFile(copy, known)) {
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
        if (MergeFile(deck_.FileName(), KnownVersions()) && !unsaved && hooks_.showStatus)
            hooks_.showStatus(
                QStringLiteral("ファイルが他のプログラムで変更されたので読み直しました。"));
    }
    busy_ = false;
    OfferConflictCopies();
}

void DeckSync::ShowConflicts(const std::vector<const TMondaiSet *> &cards) {
    CloseList();
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
