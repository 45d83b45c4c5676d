// Settings files that cannot or should not be read: start-up still completes at once with the
// defaults, the user is told once, and the file is left exactly as it was.
#include "app/tform1.h"
#include "settings/settings.h"
#include "support/watchdog.h"
#include "ui/scripted_prompts.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Snapshot {
    bool isFile, isDir, isLink;
    QString target;
    qint64 size;
    QDateTime modified;
    QByteArray bytes;
    bool operator==(const Snapshot &) const = default;
};

Snapshot Take(const QString &path) {
    const QFileInfo info(path);
    QByteArray bytes;
    if (info.isFile() && !info.isSymLink() && info.size() <= (qint64(16) << 20)) {
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            bytes = file.readAll();
    }
    return {info.isFile(),
            info.isDir(),
            info.isSymLink(),
            info.symLinkTarget(),
            info.isSymLink() ? 0 : info.size(),
            info.lastModified(),
            bytes};
}

void WriteFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Starts the window on the settings file as it is, closes it, and returns what was asked.
std::vector<MessageRequest> StartAndClose(bool expectMessage) {
    const Watchdog watchdog(60, "start-up and close with a hostile settings file");
    ScriptedPrompts prompts;
    if (expectMessage)
        prompts.Answer(PromptButton::Ok);
    {
        TForm1 form(prompts);
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        EXPECT_TRUE(form.close());
    }
    EXPECT_FALSE(prompts.PendingAnswers());
    return prompts.asked;
}

void ExpectToldOnceAndUntouched(const char *what) {
    SCOPED_TRACE(what);
    const QString path = SettingsFilePath();
    const Snapshot before = Take(path);
    const std::vector<MessageRequest> asked = StartAndClose(true);
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].text, UnreadableSettingsMessage(path));
    EXPECT_EQ(asked[0].icon, PromptIcon::Warning);
    EXPECT_TRUE(Take(path) == before) << "the settings file was changed";
}

} // namespace

TEST(HostileSettings, AFifoNeverBlocksStartUp) {
    ASSERT_EQ(mkfifo(QFile::encodeName(SettingsFilePath()).constData(), 0600), 0);
    ExpectToldOnceAndUntouched("fifo");
}

TEST(HostileSettings, ALinkToAnEndlessDeviceIsNotRead) {
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), SettingsFilePath()));
    ExpectToldOnceAndUntouched("link to /dev/zero");
}

TEST(HostileSettings, AFolderIsLeftAlone) {
    ASSERT_TRUE(QDir().mkpath(SettingsFilePath()));
    ExpectToldOnceAndUntouched("folder");
}

TEST(HostileSettings, AFileOverTheSizeLimitIsNeitherReadNorOverwritten) {
    QByteArray bytes = "[Form]\r\nTop=300\r\n";
    while (bytes.size() < 10 * 1024 * 1024)
        bytes += "; padding padding padding padding padding padding padding padding\r\n";
    WriteFile(SettingsFilePath(), bytes);
    ExpectToldOnceAndUntouched("10 MB file");
}

TEST(HostileSettings, AFileWithoutReadPermissionIsNotOverwritten) {
    if (geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every file";
    WriteFile(SettingsFilePath(), "[Form]\r\nTop=300\r\n");
    ASSERT_TRUE(QFile::setPermissions(SettingsFilePath(), QFileDevice::WriteOwner));
    ExpectToldOnceAndUntouched("unreadable file");
}

TEST(HostileSettings, BinaryGarbageStartsWithDefaultsAndKeepsItsBytes) {
    std::mt19937 random(99);
    QByteArray garbage(256 * 1024, '\0');
    for (char &c : garbage)
        c = char(random());
    WriteFile(SettingsFilePath(), garbage);
    EXPECT_TRUE(StartAndClose(false).empty());
    QFile file(SettingsFilePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray after = file.readAll();
    EXPECT_TRUE(after.startsWith(garbage)) << "other bytes are kept where they stand";
    EXPECT_GT(after.size(), garbage.size()) << "the program's own keys are added";
}
