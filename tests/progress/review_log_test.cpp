#include "progress/review_log.h"
#include "progress/review_recorder.h"

#include "../drill/drill_fixture.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <tuple>

namespace {

const qint32 kDay = DayNumberOf(QDate(2026, 12, 9));

QByteArray Line(AnswerKind kind, qint32 before = 0, qint32 after = 0, qint32 day = kDay) {
    return FormatReviewLine({day, 15 * 3600 + 20 * 60 + 33, kind, before, after, 0x1a2b3c4d});
}

TEST(ReviewLogFormatTest, LinesReadBackAsTheirEntries) {
    EXPECT_EQ(Line(AnswerKind::Right, 46000, 46027),
              "2026-12-09 15:20:33 R 46000 46027 1a2b3c4d\n");
    const ReviewHistory history =
        ParseReviewLog(Line(AnswerKind::Right) + Line(AnswerKind::Right) + Line(AnswerKind::Wrong) +
                       Line(AnswerKind::TakenBack, 0, 0, kDay - 1));
    EXPECT_EQ(history.Entries(), 4);
    EXPECT_EQ(history.SkippedLines(), 0);
    EXPECT_EQ(history.Day(kDay).right, 2);
    EXPECT_EQ(history.Day(kDay).wrong, 1);
    EXPECT_EQ(history.Day(kDay - 1).takenBack, 1);
    EXPECT_EQ(history.Day(kDay + 1).Reviews(), 0);
}

// Each case is one line between two good ones; the good ones must always survive.
TEST(ReviewLogFormatTest, DamagedLinesAreSkippedAndTheRestIsRead) {
    struct Case {
        const char *name;
        QByteArray line;
        int skipped;
    } cases[] = {
        {"comment", "# Kardeon review log of /x.csv\n", 0},
        {"blank", "\n", 0},
        {"CR LF line end", "2026-12-08 10:00:00 W 0 0 ffffffff\r\n", 0},
        {"garbage", QByteArray("\x82\xa0\xff\x00zz", 6) + "\n", 1},
        {"no such date", "2026-02-30 10:00:00 W 0 0 1\n", 1},
        {"hour 24", "2026-12-08 24:00:00 W 0 0 1\n", 1},
        {"unknown result", "2026-12-08 10:00:00 X 0 0 1\n", 1},
        {"two-letter result", "2026-12-08 10:00:00 RR 0 0 1\n", 1},
        {"missing key", "2026-12-08 10:00:00 W 0 0\n", 1},
        {"extra field", "2026-12-08 10:00:00 W 0 0 1 9\n", 1},
        {"number too big", "2026-12-08 10:00:00 W 0 9999999999 1\n", 1},
        {"key too long", "2026-12-08 10:00:00 W 0 0 123456789\n", 1},
        {"year 1000", "1000-12-08 10:00:00 W 0 0 1\n", 1},
        {"slashes", "2026/12/08 10:00:00 W 0 0 1\n", 1},
    };
    for (const Case &c : cases) {
        const ReviewHistory history =
            ParseReviewLog(Line(AnswerKind::Right) + c.line + Line(AnswerKind::Wrong));
        EXPECT_EQ(history.SkippedLines(), c.skipped) << c.name;
        EXPECT_EQ(history.Day(kDay).right, 1) << c.name;
        EXPECT_EQ(history.Day(kDay).wrong, 1) << c.name;
        EXPECT_EQ(history.Entries(), 3 - c.skipped - (c.line.startsWith('#') || c.line == "\n"))
            << c.name;
    }
}

TEST(ReviewLogFormatTest, ACutOffLastLineAndOutOfOrderDaysAreHandled) {
    const QByteArray whole = Line(AnswerKind::Right, 0, 0, kDay) +
                             Line(AnswerKind::Right, 0, 0, kDay - 30) + Line(AnswerKind::Wrong);
    const ReviewHistory history = ParseReviewLog(whole + whole + whole.left(25));
    EXPECT_EQ(history.Entries(), 6);
    EXPECT_EQ(history.SkippedLines(), 1);
    EXPECT_EQ(history.Day(kDay - 30).right, 2);
    EXPECT_EQ(history.Day(kDay).Reviews(), 4);
}

TEST(ReviewCardKeyTest, FollowsQuestionAndAnswerButNotTheBookmark) {
    TMondaiSet card("dog", "inu", "note", 5, 1, 2, "");
    const quint32 key = ReviewCardKey(card);
    TMondaiSet other = card;
    other.Jikan = 99;
    other.SetSankou("changed");
    EXPECT_EQ(ReviewCardKey(other), key);
    AddSioriMark(other);
    EXPECT_EQ(ReviewCardKey(other), key);
    EXPECT_NE(ReviewCardKey(TMondaiSet("dog", "neko", "", 0, 0, 0, "")), key);
    EXPECT_NE(ReviewCardKey(TMondaiSet("doginu", "", "", 0, 0, 0, "")),
              ReviewCardKey(TMondaiSet("dog", "inu", "", 0, 0, 0, "")));
}

class ReviewLogFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString LogPath() const { return dir.filePath(QStringLiteral("logs/deck.log")); }
};

TEST_F(ReviewLogFileTest, AppendsWholeLinesAfterAHeaderAndRepairsACutOffEnd) {
    {
        ReviewLog log(LogPath(), QStringLiteral("/decks/単語.csv"));
        ASSERT_TRUE(log.Append({kDay, 0, AnswerKind::Right, 1, 2, 3}));
        ASSERT_TRUE(log.Sync());
    }
    QByteArray bytes = FileBytes(LogPath());
    EXPECT_TRUE(bytes.startsWith("# Kardeon review log of /decks/単語.csv\n"));
    // A crash left half a line behind; the next run must not glue its line onto it.
    bytes += "2026-12-09 15:";
    WriteBytes(LogPath(), bytes);
    {
        ReviewLog log(LogPath());
        ASSERT_TRUE(log.Append({kDay, 0, AnswerKind::Wrong, 1, 1, 3}));
        ASSERT_TRUE(log.Append({kDay, 0, AnswerKind::TakenBack, 2, 0, 3}));
    }
    EXPECT_EQ(FileBytes(LogPath()).count("# Kardeon"), 1);
    const ReviewHistory history = ReadReviewLog(LogPath());
    EXPECT_EQ(history.Entries(), 3);
    EXPECT_EQ(history.SkippedLines(), 1);
}

// The file is read a piece at a time: lines across the pieces' borders, a run far too long to
// be a line and a cut-off end read as the same text read at once does; so does the count of a
// day's new cards from the file's end, however far back that day's lines reach.
TEST_F(ReviewLogFileTest, ReadingThePieceByPieceMatchesTheWholeText) {
    auto days = [](int count, int perDay, int firstDay) {
        QByteArray text;
        for (int i = 0; i < count; ++i) {
            ReviewEntry entry{firstDay + i / perDay,
                              i % 86400,
                              AnswerKind::Right,
                              0,
                              1,
                              quint64(i) * 0x9e3779b97f4a7c15ull,
                              true,
                              i % 3 == 0};
            text += FormatReviewLine(entry);
        }
        return text;
    };
    const QByteArray manyLines = days(60000, 5000, kDay - 11); // over 3 MB
    ASSERT_TRUE(QDir().mkpath(QFileInfo(LogPath()).path()));
    struct Case {
        const char *name;
        QByteArray text;
    } cases[] = {
        {"lines across pieces", manyLines},
        {"a long run without a line end",
         days(10, 5, kDay - 1) + QByteArray(3 << 20, 'x') + "\n" + days(10, 5, kDay)},
        {"a long run at the end", days(10, 5, kDay) + QByteArray(5000, 'x')},
        {"today's lines reach far back", days(30000, 30000, kDay)},
        {"a cut-off end", manyLines + "2026-12-09 15:"},
    };
    for (const Case &c : cases) {
        WriteBytes(LogPath(), c.text);
        const ReviewHistory whole = ParseReviewLog(c.text);
        const ReviewHistory read = ReadReviewLog(LogPath());
        EXPECT_EQ(read.Entries(), whole.Entries()) << c.name;
        EXPECT_EQ(read.SkippedLines(), whole.SkippedLines()) << c.name;
        for (qint32 day = kDay - 11; day <= kDay; ++day)
            EXPECT_EQ(read.Day(day).newCards, whole.Day(day).newCards) << c.name << day;
        EXPECT_EQ(ReadNewCardsAtEnd(LogPath(), kDay), whole.Day(kDay).newCards) << c.name;
    }
}

TEST_F(ReviewLogFileTest, AMissingOrUnwritableLogIsNoError) {
    EXPECT_EQ(ReadReviewLog(LogPath()).Entries(), 0);
    WriteBytes(dir.filePath(QStringLiteral("logs")), "a file where the folder should be");
    ReviewLog log(LogPath());
    EXPECT_FALSE(log.Append({kDay, 0, AnswerKind::Right, 0, 0, 0}));
    EXPECT_TRUE(log.Sync());
}

TEST(ReviewLogPathTest, OneFilePerDeckUnderTheDataFolder) {
    QStandardPaths::setTestModeEnabled(true);
    const QString a = ReviewLog::PathForDeck(QStringLiteral("/decks/英単語.csv"));
    EXPECT_TRUE(a.startsWith(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
    EXPECT_TRUE(QFileInfo(a).fileName().startsWith(QStringLiteral("英単語-")));
    EXPECT_EQ(ReviewLog::PathForDeck(QStringLiteral("/decks/./英単語.csv")), a);
    EXPECT_NE(ReviewLog::PathForDeck(QStringLiteral("/other/英単語.csv")), a);
}

// The drill tells the recorder; the recorder writes the log.
class ReviewRecorderTest : public DrillFixture {
protected:
    QTemporaryDir dir;
    QStringList notices;
    QStringList noticeDetails;
    ReviewRecorder recorder{deck, FixedDayClock(kToday),
                            [this](const QString &deckPath) {
                                return dir.filePath(QFileInfo(deckPath).fileName() +
                                                    QStringLiteral(".log"));
                            },
                            [] { return 3661; }};

    ReviewRecorderTest() {
        drill.SetAnswerObserver(&recorder);
        recorder.SetNotice([this](const QString &text, const QString &details) {
            notices << text;
            noticeDetails << details;
        });
    }
    void OpenAs(const char *name) {
        deck.SetFileName(dir.filePath(QString::fromLatin1(name)));
        Open();
    }
    QList<QByteArray> LogLines(const char *name) {
        QList<QByteArray> lines =
            FileBytes(dir.filePath(QString::fromLatin1(name) + QStringLiteral(".log"))).split('\n');
        if (lines.size() < 2)
            return {};
        lines.removeFirst(); // header
        lines.removeLast();  // after the last line end
        for (QByteArray &line : lines)
            line = line.mid(11, line.lastIndexOf(' ') - 11); // time, result, due days
        return lines;
    }
};

TEST_F(ReviewRecorderTest, DekitaPassAndTakeBackEachWriteALine) {
    AddDue({"A", "B"});
    OpenAs("deck.csv");
    drill.GoNext(); // reveal A
    drill.GoDone(); // A right: due in 2 days
    drill.GoUndo(); // taken back
    drill.GoNext(); // A passed: wrong
    drill.GoNext(); // reveal B
    drill.GoNext(); // B passed
    EXPECT_EQ(LogLines("deck.csv"), (QList<QByteArray>{"01:01:01 R 0 40002", "01:01:01 U 40002 0",
                                                       "01:01:01 W 0 0", "01:01:01 W 0 0"}));
    EXPECT_EQ(recorder.SessionAnswers(), 2);
    EXPECT_EQ(recorder.History().Day(kToday).Reviews(), 2);
    drill.GoNext(); // reveal A again
    drill.GoDone();
    EXPECT_EQ(recorder.History().Day(kToday).RightKept(), 1); // follows without rereading
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(ReviewRecorderTest, ANewDeckGetsItsOwnLogAndAFreshCount) {
    AddDue({"A", "B"});
    OpenAs("one.csv");
    drill.GoNext();
    drill.GoDone();
    OpenAs("two.csv");
    EXPECT_EQ(recorder.SessionAnswers(), 0);
    EXPECT_EQ(recorder.History().Entries(), 0);
    drill.GoNext();
    drill.GoNext();
    EXPECT_EQ(LogLines("one.csv").size(), 1);
    EXPECT_EQ(LogLines("two.csv"), QList<QByteArray>{"01:01:01 W 0 0"});
}

TEST_F(ReviewRecorderTest, AnUnwritableLogCostsOneNoticeAndNeverTheDrill) {
    AddDue({"A", "B", "C"});
    QDir(dir.path()).mkdir(QStringLiteral("deck.csv.log")); // a folder where the log goes
    OpenAs("deck.csv");
    for (int i = 0; i < 3; ++i) {
        drill.GoNext();
        drill.GoDone();
        drill.GoNext();
    }
    EXPECT_TRUE(drill.Queue().empty());
    EXPECT_EQ(Card("C")->Seikai, 1);
    ASSERT_EQ(notices.size(), 1);
    // A line short enough for the status line; the path, however long, goes with the details.
    EXPECT_EQ(notices[0], ReviewRecorder::UnwritableNotice());
    EXPECT_FALSE(notices[0].contains(dir.path()));
    EXPECT_TRUE(noticeDetails[0].contains(
        QDir::toNativeSeparators(dir.filePath(QStringLiteral("deck.csv.log")))));
    // The window still sees what happened in this session.
    EXPECT_EQ(recorder.History().Day(kToday).RightKept(), 3);
}

// The log is read on a thread of its own from the deck's opening; answers given while it is
// read count once, whether the read saw their lines or not.
TEST_F(ReviewRecorderTest, AnswersDuringTheOpeningReadCountOnce) {
    AddDue({"A", "B", "C"});
    QByteArray earlier;
    for (int i = 0; i < 20000; ++i)
        earlier += Line(i % 4 ? AnswerKind::Right : AnswerKind::Wrong, 0, 0, kToday);
    {
        QFile log(dir.filePath(QStringLiteral("deck.csv.log")));
        ASSERT_TRUE(log.open(QIODevice::WriteOnly));
        log.write(earlier);
    }
    OpenAs("deck.csv");
    drill.GoNext(); // reveal A
    drill.GoDone(); // A right
    drill.GoUndo(); // taken back
    drill.GoNext(); // A passed: wrong
    const DayTally day = recorder.History().Day(kToday);
    EXPECT_EQ(std::tuple(day.right, day.takenBack, day.wrong), std::tuple(15000 + 1, 1, 5000 + 1));
    EXPECT_EQ(recorder.History().Entries(), 20000 + 3);
    drill.GoNext(); // reveal B
    drill.GoNext(); // B passed, after the read
    EXPECT_EQ(recorder.History().Entries(), 20000 + 4);
    // Opening the deck again reads the log afresh: the four lines are in it now.
    OpenAs("deck.csv");
    EXPECT_EQ(recorder.History().Entries(), 20000 + 4);
}

// A limit set while a deck's log is still being read counts that deck's new cards, never what
// an earlier deck's opening counted.
TEST_F(ReviewRecorderTest, ALimitSetDuringTheReadCountsOnlyThisDecksNewCards) {
    AddDue({"A", "B"});
    recorder.SetNewCardsPerDay(5);
    OpenAs("one.csv");
    drill.GoNext(); // reveal A
    drill.GoNext(); // A passed: a new card brought in today
    ASSERT_EQ(recorder.NewCardsShown(kToday), 1);
    QByteArray yesterday;
    for (int i = 0; i < 20000; ++i)
        yesterday += Line(AnswerKind::Right, 0, 0, kToday - 1);
    WriteBytes(dir.filePath(QStringLiteral("two.csv.log")), yesterday);
    recorder.SetNewCardsPerDay(0);
    OpenAs("two.csv");
    recorder.SetNewCardsPerDay(5);
    EXPECT_EQ(recorder.NewCardsShown(kToday), 0);
}

} // namespace
