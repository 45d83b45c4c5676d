#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
const QString Root = QStringLiteral(KARDEON_TEST_DATA "/../..");

QByteArray Bytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Runs scripts/user_sample with the given data folder and returns the path it prints.
QString UserSample(const QString &dataHome) {
    QProcess script;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), dataHome);
    script.setProcessEnvironment(environment);
    script.start(QStringLiteral("bash"), {Root + QStringLiteral("/scripts/user_sample")});
    EXPECT_TRUE(script.waitForFinished(10000));
    EXPECT_EQ(script.exitCode(), 0) << script.readAllStandardError().toStdString();
    return QString::fromLocal8Bit(script.readAllStandardOutput()).trimmed();
}
} // namespace

// The run command drills a copy in the user's data folder, made once, never the tracked sample.
TEST(UserSample, CopiedOnceIntoTheDataFolderAndThenLeftAlone) {
    QTemporaryDir home;
    const QString expected = home.filePath(QStringLiteral("kardeon/sample.csv"));
    EXPECT_EQ(UserSample(home.path()), expected);
    const QByteArray sample = Bytes(Root + QStringLiteral("/examples/sample.csv"));
    ASSERT_FALSE(sample.isEmpty());
    EXPECT_EQ(Bytes(expected), sample);

    QFile drilled(expected);
    ASSERT_TRUE(drilled.open(QIODevice::WriteOnly));
    drilled.write("learned,card,,40000,1,0,\r\n");
    drilled.close();
    EXPECT_EQ(UserSample(home.path()), expected);
    EXPECT_EQ(Bytes(expected), QByteArray("learned,card,,40000,1,0,\r\n"));
}
