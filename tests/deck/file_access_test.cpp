#include "deck/deck.h"
#include "deck/file_access.h"
#include "support/file_bytes.h"
#include "support/watchdog.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QString ReadError(const QString &path) {
    DeckLines lines;
    const FileResult read = ReadDeckFile(path, &lines);
    EXPECT_FALSE(read.ok) << path.toStdString();
    return read.error;
}

// Moves the file's modification time, as a sync tool or a careless editor does.
void Touch(const QString &path, int secondsAgo) {
    const timespec now{time(nullptr) - secondsAgo, 0};
    const timespec times[2] = {now, now};
    ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

class ReadingTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
};

// Reads `path` into the deck as opening does, with the file's lines and how it looked then.
bool ReadInto(Deck &deck, const QString &path) {
    DeckFileRead read;
    read.result = ReadDeckFile(path, &read.lines, &read.stamp);
    if (!read.result.ok)
        return false;
    CardRefList due;
    OpenReadDeck(deck, std::move(read), 0, due);
    return true;
}

} // namespace

TEST_F(ReadingTest, OnlyRegularFilesAreReadAndNothingBlocks) {
    const Watchdog watchdog(20, "reading special files");
    const QString fifo = Path("fifo.csv");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString zero = Path("zero.csv");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString dangling = Path("dangling.csv");
    ASSERT_TRUE(QFile::link(Path("gone.csv"), dangling));

    EXPECT_TRUE(ReadError(fifo).contains(QStringLiteral("通常のファイルではありません。")));
    EXPECT_TRUE(ReadError(zero).contains(QStringLiteral("通常のファイルではありません。")));
    EXPECT_TRUE(ReadError(dir.path()).startsWith(QStringLiteral("フォルダは開けません。")));
    EXPECT_TRUE(ReadError(dangling).startsWith(QStringLiteral("ファイルが見つかりません。")));

    // A link to a regular deck is followed.
    WriteBytes(Path("real.csv"), "q,a,,0,0,0,\r\n");
    const QString link = Path("link.csv");
    ASSERT_TRUE(QFile::link(Path("real.csv"), link));
    DeckLines lines;
    ASSERT_TRUE(ReadDeckFile(link, &lines).ok);
    EXPECT_EQ(lines.Count(), 1);
}

TEST_F(ReadingTest, ALargeFileIsReadWholeAndInOrder) {
    // Large enough to be read in two halves side by side; no two blocks alike.
    QByteArray bytes;
    for (int i = 0; bytes.size() < (9 << 20) + 5; ++i)
        bytes += QByteArray::number(i) + ",x,\r\n";
    WriteBytes(Path("large.csv"), bytes);
    const file_access::ReadResult read =
        file_access::ReadRegularFile(Path("large.csv"), bytes.size() + 1);
    ASSERT_EQ(read.status, file_access::ReadStatus::Ok);
    EXPECT_TRUE(read.bytes == bytes);
}

TEST_F(ReadingTest, AnOversizedDeckIsRefusedBeforeAByteIsRead) {
    const Watchdog watchdog(20, "refusing a huge deck");
    const QString huge = Path("huge.csv");
    WriteBytes(huge, {});
    ASSERT_EQ(truncate(QFile::encodeName(huge).constData(), MaxDeckBytes + 1), 0); // sparse
    EXPECT_EQ(ReadError(huge), QStringLiteral("ファイルが大きすぎます。\n") + huge);

    // The limit holds on every way in, the settings file's limit too.
    const file_access::ReadResult small = file_access::ReadRegularFile(huge, qint64(1) << 20);
    EXPECT_EQ(small.status, file_access::ReadStatus::TooLarge);
    EXPECT_TRUE(small.bytes.isEmpty());
    WriteBytes(Path("limit.ini"), QByteArray(100, 'x'));
    EXPECT_EQ(file_access::ReadRegularFile(Path("limit.ini"), 100).status,
              file_access::ReadStatus::Ok);
    EXPECT_EQ(file_access::ReadRegularFile(Path("limit.ini"), 99).status,
              file_access::ReadStatus::TooLarge);
}

TEST_F(ReadingTest, ADeckChangedBehindOurBackIsNoticed) {
    const QString path = Path("deck.csv");
    WriteBytes(path, "q,a,,0,0,0,\r\n");
    Deck deck;
    ASSERT_TRUE(ReadInto(deck, path));
    deck.SetFileName(path);
    EXPECT_EQ(CheckDeckOnDisk(deck), DiskState::AsLastSeen);

    // The same bytes written again (a sync tool) count as unchanged.
    WriteBytes(path, "q,a,,0,0,0,\r\n");
    Touch(path, 100);
    EXPECT_EQ(CheckDeckOnDisk(deck), DiskState::AsLastSeen);

    WriteBytes(path, "Q,A,,0,0,0,\r\n"); // same size
    Touch(path, 50);
    EXPECT_EQ(CheckDeckOnDisk(deck), DiskState::Changed);
    WriteBytes(path, "q,a,,0,0,0,\r\nmore,x,,0,0,0,\r\n");
    EXPECT_EQ(CheckDeckOnDisk(deck), DiskState::Changed);

    // Saving makes what was written the new reference.
    CardRefList queue;
    ParseDeck(deck, 0, queue);
    ASSERT_TRUE(SaveDeck(deck).ok);
    EXPECT_EQ(CheckDeckOnDisk(deck), DiskState::AsLastSeen);

    ASSERT_TRUE(QFile::remove(path));
    EXPECT_EQ(CheckDeckOnDisk(deck), DiskState::Missing);

    // Under another name nothing is known yet.
    WriteBytes(Path("other.csv"), "x");
    deck.SetFileName(Path("other.csv"));
    EXPECT_EQ(CheckDeckOnDisk(deck), DiskState::AsLastSeen);
}

TEST_F(ReadingTest, TheHashOfAReadFileWaitsForItsFirstUseAndIsTheHashOfItsBytes) {
    const QString path = Path("deck.csv");
    const QByteArray bytes = "q,a,,0,0,0,\r\nQ,A,,3,0,0,\r\n";
    WriteBytes(path, bytes);
    Deck deck;
    ASSERT_TRUE(ReadInto(deck, path));
    EXPECT_TRUE(deck.DiskStamp().HashPending());
    const FileStamp read = deck.DiskStamp();
    EXPECT_EQ(read.Hash(), file_access::ContentHash(bytes));
    EXPECT_FALSE(read.HashPending());

    // Writing the same bytes gives the hash reading them gave.
    deck.SetFileName(path);
    CardRefList queue;
    ParseDeck(deck, 0, queue);
    ASSERT_TRUE(SaveDeck(deck).ok);
    EXPECT_FALSE(deck.DiskStamp().HashPending());
    EXPECT_EQ(deck.DiskStamp().Hash(), read.Hash());
}
