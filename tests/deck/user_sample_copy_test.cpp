#include "deck/user_sample.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void Write(const QString &path, const QByteArray &bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray Read(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class UserSampleCopyTest : public ::testing::Test {
protected:
    void SetUp() override { Write(installed, Sample); }
    const QByteArray Sample = QByteArray("\x82\xa0,a,,0,0,0,\r\n");
    QTemporaryDir dir;
    const QString installed = dir.filePath(QStringLiteral("usr/share/kardeon/sample.csv"));
    const QString folder = dir.filePath(QStringLiteral("home/.local/share/kardeon"));
};

} // namespace

TEST_F(UserSampleCopyTest, CopiedWholeOnceThenTheUsersCopyIsLeftAlone) {
    const UserSampleCopy first = CopyUserSample(installed, folder);
    EXPECT_TRUE(first.error.isEmpty()) << first.error.toStdString();
    ASSERT_EQ(first.path, QDir(folder).filePath(QStringLiteral("sample.csv")));
    EXPECT_EQ(Read(first.path), Sample);

    // The user drilled it; a later offer must not put the fresh sample back.
    Write(first.path, "learned,card,,40000,1,0,\r\n");
    const UserSampleCopy again = CopyUserSample(installed, folder);
    EXPECT_EQ(again.path, first.path);
    EXPECT_EQ(Read(again.path), QByteArray("learned,card,,40000,1,0,\r\n"));
}

TEST_F(UserSampleCopyTest, WhatStopsTheCopyIsToldAndNothingIsHalfWritten) {
    Write(dir.filePath(QStringLiteral("plain-file")), "x");
    QDir().mkpath(dir.filePath(QStringLiteral("taken/sample.csv")));
    const struct {
        const char *name;
        QString source;
        QString folder;
        QString named; // what the message must name
    } cases[] = {
        {"sample not installed", dir.filePath(QStringLiteral("none.csv")), folder,
         dir.filePath(QStringLiteral("none.csv"))},
        {"folder cannot be made", installed, dir.filePath(QStringLiteral("plain-file/kardeon")),
         dir.filePath(QStringLiteral("plain-file/kardeon"))},
        {"a folder has the copy's name", installed, dir.filePath(QStringLiteral("taken")),
         dir.filePath(QStringLiteral("taken/sample.csv"))},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const UserSampleCopy copy = CopyUserSample(c.source, c.folder);
        EXPECT_TRUE(copy.path.isEmpty());
        EXPECT_TRUE(copy.error.contains(c.named)) << copy.error.toStdString();
        EXPECT_FALSE(QFileInfo(QDir(c.folder).filePath(QStringLiteral("sample.csv"))).isFile());
    }
}

TEST_F(UserSampleCopyTest, TheInstalledSampleIsFoundFromTheExecutableInBin) {
    EXPECT_EQ(InstalledSamplePath(dir.filePath(QStringLiteral("usr/bin/kardeon"))), installed);
    EXPECT_TRUE(InstalledSamplePath(dir.filePath(QStringLiteral("build/src/kardeon"))).isEmpty());
}
