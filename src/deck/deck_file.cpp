#include "deck/deck.h"

#include "deck/deck_encoding.h"
#include "deck/file_access.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString ShownPath(const QString &path) {
    return QDir::toNativeSeparators(path);
}

FileResult Failure(const QString &message) {
    return FileResult{false, message};
}

// Why a write failed, in the user's words rather than the system's English.
QString WriteReason(const QString &path, const file_access::WriteResult &result) {
    if (file_access::IsOutOfSpace(result))
        return QStringLiteral("ディスクの空きが足りません。");
    const QFileInfo info(path);
    if (info.isDir())
        return QStringLiteral("同じ名前のフォルダがあります。");
    const QFileInfo folder(info.absolutePath());
    if (!folder.exists())
        return QStringLiteral("保存先のフォルダがありません。");
    if (!folder.isDir())
        return QStringLiteral("保存先のフォルダ名がファイルを指しています。");
    if (info.exists() && !info.isWritable())
        return QStringLiteral("ファイルが読み取り専用です。");
    switch (result.error) {
    case QFileDevice::PermissionsError:
    case QFileDevice::OpenError:
        return QStringLiteral("書き込みが許可されていません。");
    case QFileDevice::ResourceError:
        return QStringLiteral("ディスクの空きが足りません。");
    default:
        return QStringLiteral("書き込み中にエラーが起きました。");
    }
}

FileResult WriteFailure(const QString &path, const file_access::WriteResult &result) {
    return Failure(QStringLiteral("ファイルを保存できませんでした。\r%1\r%2")
                       .arg(ShownPath(path), WriteReason(path, result)));
}

FileResult ReadFailure(const QString &path, file_access::ReadStatus status) {
    using file_access::ReadStatus;
    const QString shown = ShownPath(path);
    switch (status) {
    case ReadStatus::Missing:
        return Failure(QStringLiteral("ファイルが見つかりません。\r%1").arg(shown));
    case ReadStatus::Folder:
        return Failure(
            QStringLiteral("フォルダは開けません。ファイルを選んでください。\r%1").arg(shown));
    case ReadStatus::TooLarge:
        return Failure(QStringLiteral("ファイルが大きすぎます。\n%1").arg(shown));
    case ReadStatus::NotRegular:
        return Failure(QStringLiteral("ファイルを読み込めませんでした。\r%1\r"
                                      "通常のファイルではありません。")
                           .arg(shown));
    case ReadStatus::NoAccess:
        return Failure(
            QStringLiteral("ファイルを読み込めませんでした。\r%1\r読み取りが許可されていないか、"
                           "他のプログラムが使用しています。")
                .arg(shown));
    case ReadStatus::ReadError:
    case ReadStatus::Ok:
        break;
    }
    return Failure(
        QStringLiteral("ファイルを読み込めませんでした。\r%1\r読み込み中にエラーが起きました。")
            .arg(shown));
}

} // namespace

FileStamp::FileStamp(QString path, qint64 size, qint64 modifiedNs, quint64 hash)
    : path(std::move(path)), size(size), modifiedNs(modifiedNs), hash_(hash) {}

FileStamp FileStamp::OfBytes(QString path, qint64 modifiedNs, const QByteArray &bytes) {
    FileStamp stamp(std::move(path), bytes.size(), modifiedNs, 0);
    stamp.pending_ = true;
    stamp.unhashed_ = bytes;
    return stamp;
}

quint64 FileStamp::Hash() const {
    if (pending_) {
        hash_ = file_access::ContentHash(unhashed_);
        pending_ = false;
        unhashed_ = QByteArray();
    }
    return hash_;
}

FileResult ReadTextFile(const QString &path, QByteArray *bytes) {
    file_access::ReadResult read = file_access::ReadRegularFile(path, MaxDeckBytes);
    if (read.status != file_access::ReadStatus::Ok)
        return ReadFailure(path, read.status);
    *bytes = std::move(read.bytes);
    return {};
}

FileResult WriteTextFile(const QString &path, QByteArrayView bytes) {
    const file_access::WriteResult written = file_access::WriteWholeFile(path, bytes);
    return written.ok ? FileResult{} : WriteFailure(path, written);
}

FileResult WriteTextFileInBlocks(const QString &path,
                                 const std::function<std::optional<QByteArrayView>()> &next) {
    const file_access::WriteResult written = file_access::WriteFileInBlocks(path, next);
    return written.ok ? FileResult{} : WriteFailure(path, written);
}

FileResult ReadDeckFile(const QString &path, DeckLines *lines) {
    return ReadDeckFile(path, lines, nullptr);
}

FileResult ReadDeckFile(const QString &path, DeckLines *lines, FileStamp *stamp) {
    const file_access::ReadResult read = file_access::ReadRegularFile(path, MaxDeckBytes);
    if (read.status != file_access::ReadStatus::Ok)
        return ReadFailure(path, read.status);
    if (stamp)
        *stamp = FileStamp::OfBytes(path, read.modifiedNs, read.bytes);
    *lines = DeckLines::FromFileBytes(read.bytes);
    return {};
}

DiskState CheckDeckOnDisk(const Deck &deck) {
    const FileStamp &stamp = deck.DiskStamp();
    if (stamp.path.isEmpty() || stamp.path != deck.FileName())
        return DiskState::AsLastSeen; // nothing known about this file
    const file_access::FileInfo now = file_access::Inspect(stamp.path);
    if (!now.exists)
        return DiskState::Missing;
    if (!now.regular || now.size != stamp.size)
        return DiskState::Changed;
    if (now.modifiedNs == stamp.modifiedNs)
        return DiskState::AsLastSeen;
    // Touched, perhaps by a sync tool writing the same bytes again: the content decides.
    const file_access::ReadResult read = file_access::ReadRegularFile(stamp.path, MaxDeckBytes);
    if (read.status == file_access::ReadStatus::Missing)
        return DiskState::Missing;
    if (read.status != file_access::ReadStatus::Ok ||
        file_access::ContentHash(read.bytes) != stamp.Hash())
        return DiskState::Changed;
    return DiskState::AsLastSeen;
}

DeckFileRead ReadDeckForOpening(const QString &path) {
    DeckFileRead read;
    read.result = ReadDeckFile(path, &read.lines, &read.stamp);
    if (!read.result.ok)
        return read;
    read.unsuitable = IsUnsuitable(read.lines);
    read.utf8 = !read.unsuitable && deck_encoding::LooksLikeUtf8(read.lines.Bytes());
    return read;
}

bool StillAsRead(const DeckFileRead &read) {
    const file_access::FileInfo now = file_access::Inspect(read.stamp.path);
    return now.exists && now.regular && now.size == read.stamp.size &&
           now.modifiedNs == read.stamp.modifiedNs;
}

void OpenReadDeck(Deck &deck, DeckFileRead &&read, const DeckLines &cardLines, qint32 today,
                  CardRefList &askQueue) {
    deck.savedLines_ = cardLines;
    ParseDeck(deck, today, askQueue);
    // A converted deck keeps the file's own lines, so it counts as changed until it is saved.
    deck.savedLines_ = std::move(read.lines);
    deck.fileName_ = read.stamp.path;
    deck.diskStamp_ = std::move(read.stamp);
    deck.savedBase_.reset();
}

void OpenReadDeck(Deck &deck, DeckFileRead &&read, qint32 today, CardRefList &askQueue) {
    const DeckLines lines = read.lines; // shares the bytes
    OpenReadDeck(deck, std::move(read), lines, today, askQueue);
}

FileResult SaveDeck(Deck &deck) {
    if (deck.cards_.empty())
        return {};
    const QString &path = deck.fileName_;
    if (path.isEmpty())
        return Failure(
            QStringLiteral("ファイルを保存できませんでした。\r保存先のファイル名がありません。"));
    // The rendering goes to the file a block at a time and is never held whole.
    DeckRenderer renderer(deck.cards_, deck.savedLines_, true);
    const file_access::WriteResult result = file_access::WriteFileInBlocks(
        path, [&]() -> std::optional<QByteArrayView> { return renderer.Next(); });
    if (!result.ok)
        return WriteFailure(path, result);
    // Lines other than those read are known from now on by size and hash: the file holds their
    // bytes and the cards their texts, and a copy of them would cost a second deck's memory.
    if (!renderer.SameAsSaved())
        deck.savedLines_ =
            DeckLines::Written(qsizetype(deck.cards_.size()), renderer.Offset(), renderer.Hash());
    const file_access::FileInfo now = file_access::Inspect(path);
    deck.diskStamp_ = FileStamp{path, now.size, now.modifiedNs, renderer.Hash()};
    deck.savedBase_ = MergeBase::Of(deck.cards_);
    return {};
}
