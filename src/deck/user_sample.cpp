#include "deck/user_sample.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
const QString SampleName = QStringLiteral("sample.csv");

QString CannotCopy(const QString &copy, const QString &reason) {
    return QStringLiteral("サンプルの問題ファイルを %1 にコピーできません。\n%2").arg(copy, reason);
}
} // namespace

QString InstalledSamplePath(const QString &executablePath) {
    const QDir bin = QFileInfo(executablePath).absoluteDir();
    const QString path =
        QDir::cleanPath(bin.filePath(QStringLiteral("../share/kardeon/sample.csv")));
    return QFileInfo(path).isFile() ? path : QString();
}

QString UserSampleFolder() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
           QStringLiteral("/kardeon");
}

UserSampleCopy CopyUserSample(const QString &installedSample, const QString &folder) {
    const QString copy = QDir(folder).filePath(SampleName);
    const QFileInfo existing(copy);
    if (existing.isFile())
        return {copy, {}};
    if (existing.exists())
        return {{}, CannotCopy(copy, QStringLiteral("同じ名前のフォルダがあります。"))};

    QFile source(installedSample);
    if (!source.open(QIODevice::ReadOnly))
        return {{},
                QStringLiteral("サンプルの問題ファイル %1 を読めません。\n%2")
                    .arg(installedSample, source.errorString())};
    const QByteArray bytes = source.readAll();
    if (!QDir().mkpath(folder))
        return {{}, CannotCopy(copy, QStringLiteral("フォルダ %1 を作れません。").arg(folder))};
    // Written whole or not at all, so a later start never finds half a sample.
    QSaveFile target(copy);
    if (!target.open(QIODevice::WriteOnly) || target.write(bytes) != bytes.size() ||
        !target.commit())
        return {{}, CannotCopy(copy, target.errorString())};
    return {copy, {}};
}
