#include "deck/deck.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

namespace {

QString Fixture(const char *name) {
    return QStringLiteral(KARDEON_TEST_DATA "/") + QString::fromUtf8(name);
}

// Opens a deck as the program does: read, parse with every card due.
Deck OpenDeck(const QString &path) {
    Deck deck;
    DeckLines lines;
    const FileResult read = ReadDeckFile(path, &lines);
    EXPECT_TRUE(read.ok) << read.error.toStdString();
    deck.SetSavedLines(lines);
    deck.SetFileName(path);
    CardRefList queue;
    ParseDeck(deck, 0x7fffffff, queue);
    return deck;
}

class DeckFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString Path(const char *name) const { return dir.filePath(QString::fromUtf8(name)); }
};

TEST_F(DeckFileTest, CanonicalFixturesSaveBackByteForByte) {
    for (const char *name : {"roundtrip_cards.csv", "roundtrip_invalid_sjis.csv"}) {
        Deck deck = OpenDeck(Fixture(name));
        EXPECT_FALSE(IsDeckChanged(deck)) << name;
        deck.SetFileName(Path(name));
        ASSERT_TRUE(SaveDeck(deck).ok) << name;
        EXPECT_EQ(FileBytes(Path(name)), FileBytes(Fixture(name))) << name;
    }
}

TEST_F(DeckFileTest, SampleDeckIsAllDueAndUnchanged) {
    Deck deck;
    DeckLines lines;
    ASSERT_TRUE(
        ReadDeckFile(QStringLiteral(KARDEON_TEST_DATA "/../../examples/sample.csv"), &lines).ok);
    deck.SetSavedLines(std::move(lines));
    EXPECT_FALSE(IsUnsuitable(deck.SavedLines()));
    CardRefList queue;
    ParseDeck(deck, 45658, queue); // 2025-01-01
    EXPECT_GE(deck.Cards().size(), 30u);
    EXPECT_EQ(queue.size(), deck.Cards().size());
    EXPECT_FALSE(IsDeckChanged(deck));
}

TEST_F(DeckFileTest, InvalidShiftJisIsKeptAsBytes) {
    const Deck deck = OpenDeck(Fixture("roundtrip_invalid_sjis.csv"));
    ASSERT_EQ(deck.Cards().size(), 3u);
    EXPECT_EQ(deck.Cards()[0]->Kaitou(), "\xa0\xfd\xfe\xff");
    // A lead byte before a comma does not swallow the comma.
    EXPECT_EQ(deck.Cards()[1]->Mondai(), "lead\x81");
    EXPECT_EQ(deck.Cards()[1]->Kaitou(), "before comma");
    EXPECT_EQ(deck.Cards()[2]->Mondai(), QByteArray("nul\0inside", 10));
}

TEST_F(DeckFileTest, OtherLineEndsReadAlikeAndSaveWithCrLf) {
    const QByteArray expected = FileBytes(Fixture("lf_only.csv")).replace("\n", "\r\n");
    for (const char *name :
         {"lf_only.csv", "cr_only.csv", "mixed_breaks.csv", "no_final_break.csv"}) {
        Deck deck = OpenDeck(Fixture(name));
        ASSERT_EQ(deck.Cards().size(), 3u) << name;
        EXPECT_EQ(deck.Cards()[1]->Sankou(), "\"\x82\xcb,\x82\xb1\"") << name; // "ね,こ"
        EXPECT_EQ(deck.SavedLines().Bytes(), expected) << name;
        EXPECT_FALSE(IsDeckChanged(deck)) << name;
        deck.SetFileName(Path(name));
        ASSERT_TRUE(SaveDeck(deck).ok);
        EXPECT_EQ(FileBytes(Path(name)), expected) << name;
    }
}

TEST_F(DeckFileTest, UnsuitableFilesByTheirFirstTwoLines) {
    for (const char *name : {"empty.csv", "one_line_no_comma.csv", "two_lines_no_comma.csv"}) {
        DeckLines lines;
        ASSERT_TRUE(ReadDeckFile(Fixture(name), &lines).ok) << name;
        EXPECT_TRUE(IsUnsuitable(lines)) << name;
    }
    const Deck deck = OpenDeck(Fixture("second_line_comma.csv"));
    EXPECT_FALSE(IsUnsuitable(deck.SavedLines()));
    ASSERT_EQ(deck.Cards().size(), 2u);
    EXPECT_EQ(deck.Cards()[0]->Mondai(), "\x92\x50\x8c\xea\x92\xa0"); // 単語帳
    EXPECT_EQ(deck.Cards()[0]->Kaitou(), "");
}

TEST_F(DeckFileTest, OddFieldsAndNumbersAreMendedOnSave) {
    Deck deck = OpenDeck(Fixture("odd_fields.csv"));
    EXPECT_TRUE(IsDeckChanged(deck));
    deck.SetFileName(Path("odd.csv"));
    ASSERT_TRUE(SaveDeck(deck).ok);
    EXPECT_EQ(FileBytes(Path("odd.csv")), "only,,,0,0,0,\r\n"
                                          "q,a,s,1,2,3,r\r\n"
                                          "q,a,s,1,2,3,r\r\n"
                                          ",,,0,0,0,\r\n"
                                          "q,a,s,5,7,0,r\r\n"
                                          "q,a,s,2147483647,0,0,r\r\n"
                                          "q,a,s,-2147483648,0,0,r\r\n");
    EXPECT_FALSE(IsDeckChanged(deck));
}

TEST_F(DeckFileTest, AMegabyteLineIsOneCard) {
    const QByteArray question(1 << 20, 'x');
    const QByteArray answer = QByteArray(1 << 19, '\x82').replace('\x82', "\x82\xa0");
    const QByteArray line = "\"" + question + ",\"," + answer + ",,1,2,3,r";
    WriteBytes(Path("big.csv"), line);
    Deck deck = OpenDeck(Path("big.csv"));
    ASSERT_EQ(deck.Cards().size(), 1u);
    EXPECT_EQ(deck.Cards()[0]->Mondai().size(), question.size() + 3);
    EXPECT_EQ(deck.Cards()[0]->Kaitou(), answer);
    EXPECT_EQ(deck.Cards()[0]->Fuseikai, 3);
    EXPECT_FALSE(IsDeckChanged(deck));
}

TEST_F(DeckFileTest, ReadingAMissingFileOrAFolderFails) {
    DeckLines lines = DeckLines::FromFileBytes("keep,me");
    for (const QString &path : {Path("missing.csv"), dir.path(), QString()}) {
        const FileResult result = ReadDeckFile(path, &lines);
        EXPECT_FALSE(result.ok);
        EXPECT_FALSE(result.error.isEmpty());
    }
    EXPECT_TRUE(ReadDeckFile(Path("missing.csv"), &lines).error.contains(u"見つかりません"));
    EXPECT_EQ(lines.Bytes(), "keep,me\r\n");
}

TEST_F(DeckFileTest, UnreadableFileFails) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root reads every file";
    WriteBytes(Path("secret.csv"), "a,b\r\n");
    QFile::setPermissions(Path("secret.csv"), QFileDevice::WriteOwner);
    DeckLines lines;
    const FileResult result = ReadDeckFile(Path("secret.csv"), &lines);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.error.contains(u"読み込めませんでした"));
}

// A failed save reports an error, keeps SavedLines and so leaves the deck changed.
void ExpectSaveFails(Deck &deck, const QString &path) {
    const QByteArray savedBefore = deck.SavedLines().Bytes();
    deck.SetFileName(path);
    const FileResult result = SaveDeck(deck);
    EXPECT_FALSE(result.ok) << path.toStdString();
    EXPECT_TRUE(result.error.contains(u"保存できませんでした")) << result.error.toStdString();
    EXPECT_EQ(deck.SavedLines().Bytes(), savedBefore);
    EXPECT_TRUE(IsDeckChanged(deck));
}

Deck ChangedDeck() {
    Deck deck;
    deck.SetSavedLines(DeckLines::FromFileBytes("q,a,s,1,0,0,\r\n"));
    CardRefList queue;
    ParseDeck(deck, 0, queue);
    deck.Cards()[0]->Seikai = 1;
    return deck;
}

TEST_F(DeckFileTest, SavingWhereNoFileCanBeFails) {
    Deck deck = ChangedDeck();
    ExpectSaveFails(deck, Path("no-such-folder/deck.csv"));
    ExpectSaveFails(deck, dir.path());
    WriteBytes(Path("plain"), "not a folder");
    ExpectSaveFails(deck, Path("plain/deck.csv"));
    ExpectSaveFails(deck, QString());
    EXPECT_FALSE(QFile::exists(Path("no-such-folder")));
    EXPECT_EQ(FileBytes(Path("plain")), "not a folder");
}

TEST_F(DeckFileTest, SavingOntoAReadOnlyFileFailsAndKeepsIt) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root writes every file";
    WriteBytes(Path("locked.csv"), "old,deck\r\n");
    QFile::setPermissions(Path("locked.csv"), QFileDevice::ReadOwner);
    Deck deck = ChangedDeck();
    ExpectSaveFails(deck, Path("locked.csv"));
    EXPECT_EQ(FileBytes(Path("locked.csv")), "old,deck\r\n");
}

TEST_F(DeckFileTest, SavingReplacesTheWholeFileAndMarksTheDeckSaved) {
    WriteBytes(Path("deck.csv"), QByteArray(10000, 'z'));
    Deck deck = ChangedDeck();
    deck.SetFileName(Path("deck.csv"));
    ASSERT_TRUE(SaveDeck(deck).ok);
    EXPECT_EQ(FileBytes(Path("deck.csv")), "q,a,s,1,1,0,\r\n");
    EXPECT_FALSE(IsDeckChanged(deck));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("deck.csv")});
}

TEST_F(DeckFileTest, SavingThroughALinkWritesItsTargetAndKeepsPermissions) {
    WriteBytes(Path("target.csv"), "old,deck\r\n");
    const auto permissions =
        QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup;
    QFile::setPermissions(Path("target.csv"), permissions);
    ASSERT_TRUE(QFile::link(Path("target.csv"), Path("link.csv")));
    Deck deck = ChangedDeck();
    deck.SetFileName(Path("link.csv"));
    ASSERT_TRUE(SaveDeck(deck).ok);
    EXPECT_TRUE(QFileInfo(Path("link.csv")).isSymLink());
    EXPECT_EQ(FileBytes(Path("target.csv")), "q,a,s,1,1,0,\r\n");
    const auto userBits = QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser;
    EXPECT_EQ(QFile::permissions(Path("target.csv")) & ~userBits, permissions);
}

TEST_F(DeckFileTest, AnEmptyDeckWritesNothing) {
    Deck deck;
    deck.SetFileName(Path("never.csv"));
    EXPECT_TRUE(SaveDeck(deck).ok);
    EXPECT_FALSE(QFile::exists(Path("never.csv")));
}

} // namespace
