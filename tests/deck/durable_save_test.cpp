#include "deck/deck.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <random>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// A parsed deck of `cards` cards whose questions start with `tag`, bound to `path`.
std::unique_ptr<Deck> MakeDeck(const QString &path, int cards, const char *tag) {
    QByteArray bytes;
    for (int i = 0; i < cards; ++i)
        bytes += QByteArray(tag) + QByteArray::number(i) + ",answer,note,40000,1,2,history\r\n";
    auto deck = std::make_unique<Deck>();
    deck->SetSavedLines(DeckLines::FromFileBytes(bytes));
    deck->SetFileName(path);
    CardRefList queue;
    ParseDeck(*deck, 0, queue);
    return deck;
}

// Runs `body` in a child process; its exit code (or 128 + signal).
template <typename F> int InChild(F body) {
    const pid_t pid = fork();
    if (pid == 0)
        _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

constexpr int SkipCode = 77;

// In a child: a save that runs out of room fails with the disk-full text and keeps the old deck.
int SaveMustFailForRoom(const QString &path) {
    const QByteArray old = "old,deck,,0,0,0,\r\n";
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(old) != old.size())
            return 10;
    }
    auto deck = MakeDeck(path, 20000, "new");
    deck->SetSavedLines(DeckLines::FromFileBytes(old));
    const FileResult saved = SaveDeck(*deck);
    if (saved.ok)
        return 11;
    if (!saved.error.contains(QStringLiteral("ディスクの空きが足りません。")))
        return 12;
    if (FileBytes(path) != old)
        return 13;
    if (!IsDeckChanged(*deck))
        return 14; // the deck must still count as unsaved
    return 0;
}

class DurableSaveTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
};

} // namespace

TEST_F(DurableSaveTest, AFileSizeLimitIsReportedAsAFullDisk) {
    const QString path = Path("deck.csv");
    EXPECT_EQ(InChild([&] {
                  signal(SIGXFSZ, SIG_IGN); // as a shell's ulimit -f leaves it
                  const rlimit limit{64 * 1024, 64 * 1024};
                  setrlimit(RLIMIT_FSIZE, &limit);
                  return SaveMustFailForRoom(path);
              }),
              0);
}

TEST_F(DurableSaveTest, AFullDiskIsReportedAndTheOldDeckKept) {
    const QString mountPoint = Path("small");
    ASSERT_TRUE(QDir().mkpath(mountPoint));
    const int result = InChild([&] {
        // A private mount namespace: the small disk goes away with the child.
        if (unshare(CLONE_NEWNS) != 0 ||
            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
            mount("tmpfs", QFile::encodeName(mountPoint).constData(), "tmpfs", 0, "size=64k") != 0)
            return SkipCode;
        return SaveMustFailForRoom(mountPoint + QStringLiteral("/deck.csv"));
    });
    if (result == SkipCode)
        GTEST_SKIP() << "no permission to mount a small disk";
    EXPECT_EQ(result, 0);
}

TEST_F(DurableSaveTest, TheDataIsSyncedBeforeTheRenameAndTheFolderAfter) {
    const QString strace = QStandardPaths::findExecutable(QStringLiteral("strace"));
    if (strace.isEmpty())
        GTEST_SKIP() << "strace is not installed";
    const QString path = Path("deck.csv");
    WriteBytes(path, "old,deck,,0,0,0,\r\n");
    auto deck = MakeDeck(path, 100, "new");
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
        char go = 0;
        close(ready[1]);
        if (read(ready[0], &go, 1) != 1) // the tracer is attached
            _exit(2);
        _exit(SaveDeck(*deck).ok ? 0 : 1);
    }
    close(ready[0]);
    const QString log = Path("trace.log");
    QProcess tracer;
    tracer.start(strace, {QStringLiteral("-y"), QStringLiteral("-e"),
                          QStringLiteral("trace=fsync,fdatasync,rename,renameat,renameat2,linkat"),
                          QStringLiteral("-o"), log, QStringLiteral("-p"), QString::number(child)});
    ASSERT_TRUE(tracer.waitForStarted());
    // strace reports the attachment on its standard error.
    QElapsedTimer waited;
    waited.start();
    while (!tracer.readAllStandardError().contains("attached") && waited.elapsed() < 10000)
        tracer.waitForReadyRead(100);
    ASSERT_EQ(write(ready[1], "g", 1), 1);
    close(ready[1]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(tracer.waitForFinished(10000));
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);

    const QList<QByteArray> calls = FileBytes(log).split('\n');
    qsizetype placed = -1; // the call that gives the new content the deck's name
    for (qsizetype i = 0; i < calls.size(); ++i) {
        if (calls[i].startsWith("rename") || calls[i].startsWith("linkat"))
            placed = i;
    }
    ASSERT_GE(placed, 0) << FileBytes(log).toStdString();
    const auto isSync = [](const QByteArray &call) {
        return call.startsWith("fsync(") || call.startsWith("fdatasync(");
    };
    const QByteArray folder = QFile::encodeName(dir.path()) + ">)";
    bool dataSynced = false;
    for (qsizetype i = 0; i < placed; ++i)
        dataSynced = dataSynced || (isSync(calls[i]) && !calls[i].contains(folder));
    bool folderSynced = false;
    for (qsizetype i = placed + 1; i < calls.size(); ++i)
        folderSynced = folderSynced || (isSync(calls[i]) && calls[i].contains(folder));
    EXPECT_TRUE(dataSynced) << FileBytes(log).toStdString();
    EXPECT_TRUE(folderSynced) << FileBytes(log).toStdString();
    RenderDeckLines(*deck);
    EXPECT_EQ(FileBytes(path), deck->RenderedLines().Bytes());
    EXPECT_EQ(FileBytes(path), deck->SavedLines().Bytes());
}

// A save killed at any moment leaves the old deck or the new one, never a mix or a stub.
TEST_F(DurableSaveTest, KillingASaveAtRandomMomentsLeavesOldOrNewBytes) {
    const QString path = Path("deck.csv");
    auto first = MakeDeck(path, 20000, "first");
    auto second = MakeDeck(path, 20000, "second");
    ASSERT_TRUE(SaveDeck(*second).ok);
    const QByteArray secondBytes = FileBytes(path);
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(SaveDeck(*first).ok);
    const qint64 saveMs = std::max<qint64>(timer.elapsed(), 2);
    const QByteArray firstBytes = FileBytes(path);
    ASSERT_NE(firstBytes, secondBytes);

    std::mt19937 random(12345);
    std::uniform_int_distribution<qint64> delayUs(0, saveMs * 1500);
    constexpr int Kills = 60;
    int sawFirst = 0;
    int sawSecond = 0;
    timer.restart();
    for (int kill = 0; kill < Kills; ++kill) {
        const pid_t child = fork();
        if (child == 0) {
            for (;;) {
                SaveDeck(*second);
                SaveDeck(*first);
            }
        }
        usleep(useconds_t(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        const QByteArray onDisk = FileBytes(path);
        ASSERT_TRUE(onDisk == firstBytes || onDisk == secondBytes)
            << "kill " << kill << " left " << onDisk.size() << " bytes";
        (onDisk == firstBytes ? sawFirst : sawSecond)++;
    }
    std::printf("%d kills in %lld ms (one save %lld ms): first deck on disk %d times, second deck "
                "%d times\n",
                Kills, static_cast<long long>(timer.elapsed()), static_cast<long long>(saveMs),
                sawFirst, sawSecond);
}
