#include "deck/deck.h"

#include "deck/large_memory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString ShownPath(const QString &path) {
    return QDir::toNativeSeparators(path);
}

FileResult Failure(const QString &message) {
    return FileResult{false, message};
}

// Why a write failed, in the user's words rather than the system's English.
QString WriteReason(const QString &path, QFileDevice::FileError error) {
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
    switch (error) {
    case QFileDevice::PermissionsError:
    case QFileDevice::OpenError:
        return QStringLiteral("書き込みが許可されていません。");
    case QFileDevice::ResourceError:
        return QStringLiteral("ディスクの空きが足りません。");
    default:
        return QStringLiteral("書き込み中にエラーが起きました。");
    }
}

FileResult WriteFailure(const QString &path, QFileDevice::FileError error) {
    return Failure(QStringLiteral("ファイルを保存できませんでした。\r%1\r%2")
                       .arg(ShownPath(path), WriteReason(path, error)));
}

// The whole file in one read into a buffer of its size (backed by huge pages when large).
QByteArray ReadWhole(QFile &file, bool *ok) {
    const qint64 expected = file.size();
    if (file.isSequential() || expected <= 0) {
        QByteArray data = file.readAll();
        *ok = file.error() == QFileDevice::NoError;
        return data;
    }
    QByteArray data = large_memory::UninitializedBytes(expected);
    qint64 got = 0;
    while (got < expected) {
        const qint64 n = file.read(data.data() + got, expected - got);
        if (n < 0) {
            *ok = false;
            return {};
        }
        if (n == 0)
            break;
        got += n;
    }
    data.truncate(got);
    if (got == expected) // the file may have grown since
        data += file.readAll();
    *ok = file.error() == QFileDevice::NoError;
    return data;
}

} // namespace

FileResult ReadDeckFile(const QString &path, DeckLines *lines) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.exists())
        return Failure(QStringLiteral("ファイルが見つかりません。\r%1").arg(ShownPath(path)));
    if (info.isDir())
        return Failure(QStringLiteral("フォルダは開けません。ファイルを選んでください。\r%1")
                           .arg(ShownPath(path)));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return Failure(
            QStringLiteral("ファイルを読み込めませんでした。\r%1\r読み取りが許可されていないか、"
                           "他のプログラムが使用しています。")
                .arg(ShownPath(path)));
    bool ok = false;
    const QByteArray data = ReadWhole(file, &ok);
    if (!ok)
        return Failure(
            QStringLiteral("ファイルを読み込めませんでした。\r%1\r読み込み中にエラーが起きました。")
                .arg(ShownPath(path)));
    *lines = DeckLines::FromFileBytes(data);
    return {};
}

FileResult SaveDeck(Deck &deck) {
    if (RenderDeckLines(deck) == 1)
        return {};
    const QString &path = deck.DeckFileName;
    if (path.isEmpty())
        return Failure(
            QStringLiteral("ファイルを保存できませんでした。\r保存先のファイル名がありません。"));
    // Written to a temporary file and renamed over the deck: a failure part way never leaves
    // a truncated deck behind.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return WriteFailure(path, file.error());
    const QByteArray &bytes = deck.RenderedLines.Bytes();
    if (file.write(bytes) != bytes.size()) {
        const QFileDevice::FileError error = file.error();
        file.cancelWriting();
        return WriteFailure(path, error);
    }
    if (!file.commit())
        return WriteFailure(path, file.error());
    deck.SavedLines = deck.RenderedLines;
    return {};
}
