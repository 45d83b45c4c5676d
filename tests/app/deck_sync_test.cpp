// The open deck kept together with its file: the save prompt, merges, conflict copies and
// changes on disk, on a deck and a drill without the window.
#include "app/deck_saving.h"
#include "app/deck_sync.h"
#include "drill/drill.h"
#include "drill/fake_host.h"
#include "support/drill_state.h"
#include "ui/scripted_prompts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

constexpr qint32 kToday = 40000;
const QString CopyName = QStringLiteral("deck.sync-conflict-20261210-031500-ABCDEF1.csv");

class DeckSyncTest : public ::testing::Test {
protected:
    DeckSyncTest() {
        host.drill = &drill;
        DeckSync::Hooks hooks;
        hooks.showStatus = [this](const QString &text) { status = text; };
        hooks.showInList = [this](const TMondaiSet *card) { shown = card; };
        sync = std::make_unique<DeckSync>(deck, drill, prompts, nullptr, std::move(hooks));
    }

    QString Write(const QString &name, const QByteArray &lines) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(lines);
        return path;
    }
    QByteArray Read(const QString &path) {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
    // Opens the deck as the window does.
    QString Open(const QByteArray &lines) {
        const QString path = Write(QStringLiteral("deck.csv"), lines);
        DeckFileRead read = ReadDeckForOpening(path);
        EXPECT_TRUE(read.result.ok);
        CardRefList due;
        OpenReadDeck(deck, std::move(read), kToday, due);
        drill.TakeDueCards(std::move(due));
        drill.StartNewDeck();
        sync->DeckReplaced();
        sync->OfferConflictCopies();
        return path;
    }
    // できた on the current card.
    void Answer() {
        DrillStateForTests::SetAnswerShown(drill, true);
        drill.GoDone();
    }
    QByteArray Rendered() {
        QByteArray out;
        for (const auto &card : deck.Cards())
            out += RenderCardLine(*card) + "\r\n";
        return out;
    }

    QTemporaryDir dir;
    Deck deck;
    FakeDrillHost host;
    Drill drill{deck, host, FixedDayClock(kToday)};
    ScriptedPrompts prompts;
    std::unique_ptr<DeckSync> sync;
    QString status;
    const TMondaiSet *shown = nullptr;
};

const QByteArray kElsewhere = "A,a,,0,0,0,\r\nAdded,elsewhere,,0,0,0,\r\n";

TEST_F(DeckSyncTest, SavingAChangedFileOffersMergeOverwriteOrCancel) {
    const struct {
        const char *name;
        PromptButton answer;
        SaveOutcome outcome;
        size_t cards;       // in the deck afterwards
        bool fileIsTheDeck; // else the file is still theirs
    } cases[] = {
        {"統合して保存 keeps both sides' changes", PromptButton::Yes, SaveOutcome::Saved, 2, true},
        {"上書き writes ours over theirs", PromptButton::No, SaveOutcome::Saved, 1, true},
        {"キャンセル keeps both as they are", PromptButton::Cancel, SaveOutcome::Declined, 1,
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        prompts.asked.clear();
        const QString path = Open("A,a,,0,0,0,\r\n");
        Answer();
        QTest::qWait(5); // a modification time of its own
        Write(QStringLiteral("deck.csv"), kElsewhere);
        prompts.Answer(c.answer);
        EXPECT_EQ(sync->Save(), c.outcome);
        ASSERT_EQ(prompts.asked.size(), 1u);
        const MessageRequest &asked = prompts.asked[0];
        EXPECT_EQ(asked.buttons, (std::vector<PromptButton>{PromptButton::Yes, PromptButton::No,
                                                            PromptButton::Cancel}));
        EXPECT_EQ(asked.captions,
                  (std::vector<QString>{QStringLiteral("統合して保存"), QStringLiteral("上書き"),
                                        QStringLiteral("キャンセル")}));
        EXPECT_EQ(asked.defaultButton, PromptButton::Yes);
        ASSERT_EQ(deck.Cards().size(), c.cards);
        EXPECT_EQ(deck.Cards()[0]->Seikai, 1) << "our answer is never lost";
        EXPECT_EQ(Read(path), c.fileIsTheDeck ? Rendered() : kElsewhere);
        EXPECT_EQ(IsDeckChanged(deck), !c.fileIsTheDeck);
        if (c.fileIsTheDeck) { // the file is ours again: the next save asks nothing
            EXPECT_EQ(sync->Save(), SaveOutcome::Saved);
            EXPECT_EQ(prompts.asked.size(), 1u);
        }
    }
}

TEST_F(DeckSyncTest, MergeTellsWhatCameFromTheOtherSideAndListsWhatNeedsALook) {
    const QString path = Open("A,a,,0,0,0,\r\nB,b,,0,0,0,\r\n");
    Answer(); // A answered here; the other machine answered B and deleted A
    QTest::qWait(5);
    Write(QStringLiteral("deck.csv"), "B,b,,40003,0,1,x\r\n");
    prompts.Answer(PromptButton::Yes);
    EXPECT_EQ(sync->Save(), SaveOutcome::Saved);
    ASSERT_EQ(deck.Cards().size(), 2u);
    EXPECT_EQ(deck.Cards()[0]->Seikai, 1);
    EXPECT_EQ(deck.Cards()[1]->Fuseikai, 1);
    EXPECT_EQ(Read(path), Rendered());
    EXPECT_TRUE(status.contains(QStringLiteral("相手側から 1 枚"))) << status.toStdString();
    EXPECT_TRUE(status.contains(QStringLiteral("食い違った 1 枚"))) << status.toStdString();
    // A, answered here and deleted there, is listed; a double click shows its row.
    QListWidget *list = sync->ConflictList();
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->count(), 1);
    EXPECT_FALSE(list->window()->isModal());
    Q_EMIT list->itemDoubleClicked(list->item(0));
    EXPECT_EQ(shown, deck.Cards()[0].get());
    // Opening another deck closes the list.
    Open("X,x,,0,0,0,\r\n");
    EXPECT_EQ(sync->ConflictList(), nullptr);
}

TEST_F(DeckSyncTest, AFileThatIsNoLongerADeckIsNotMerged) {
    const QString path = Open("A,a,,0,0,0,\r\n");
    Answer();
    QTest::qWait(5);
    Write(QStringLiteral("deck.csv"), "just some words\r\nno commas here\r\n");
    prompts.Answer(PromptButton::Yes);
    prompts.Answer(PromptButton::Ok); // the error
    EXPECT_EQ(sync->Save(), SaveOutcome::Declined);
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[1].icon, PromptIcon::Critical);
    EXPECT_EQ(Read(path), QByteArray("just some words\r\nno commas here\r\n"));
    EXPECT_TRUE(IsDeckChanged(deck)) << "the answer stays in memory";
}

TEST_F(DeckSyncTest, ConflictCopiesAreOfferedMergedAndTrashedOrLeftAlone) {
    for (const bool merge : {true, false}) {
        SCOPED_TRACE(merge ? "merged" : "declined");
        prompts.asked.clear();
        const QString copy = Write(CopyName, "A,a,,40005,1,0,o\r\nC,c,,0,0,0,\r\n");
        prompts.Answer(merge ? PromptButton::Yes : PromptButton::No);
        const QString path = Open("A,a,,0,0,0,\r\n");
        ASSERT_EQ(prompts.asked.size(), 1u);
        EXPECT_TRUE(prompts.asked[0].text.contains(CopyName));
        EXPECT_EQ(QFile::exists(copy), !merge) << "a merged copy goes to the trash";
        EXPECT_EQ(deck.Cards().size(), merge ? 2u : 1u);
        if (merge) { // no base kept: the larger counts, the earlier day, the cards of both
            EXPECT_EQ(deck.Cards()[0]->Seikai, 1);
            EXPECT_EQ(deck.Cards()[0]->Jikan, 0);
        }
        EXPECT_EQ(IsDeckChanged(deck), merge) << "merged, not yet saved";
        EXPECT_EQ(Read(path), QByteArray("A,a,,0,0,0,\r\n"));
        // Declined copies are not offered again while the program runs.
        sync->DeckReplaced();
        sync->OfferConflictCopies();
        EXPECT_EQ(prompts.asked.size(), 1u);
        QFile::remove(copy);
    }
}

TEST_F(DeckSyncTest, ACopyOfOurLastSaveIsMergedAgainstTheDeckAsReadBeforeIt) {
    // Both machines started from S0; ours answered A and saved, theirs answered A and B.
    const QString path = Open("A,a,,0,0,0,\r\nB,b,,0,0,0,\r\n");
    Answer();
    EXPECT_EQ(sync->Save(), SaveOutcome::Saved);
    const QByteArray ours = Read(path);
    // The sync tool gave the name to their version and kept ours as a copy.
    Write(CopyName, ours);
    Write(QStringLiteral("deck.csv"), "A,a,,40002,1,0,o\r\nB,b,,40002,1,0,o\r\n");
    prompts.Answer(PromptButton::Yes);
    Open(Read(path));
    // Both answers of A count: the base is the deck as read before our save.
    ASSERT_EQ(deck.Cards().size(), 2u);
    EXPECT_EQ(deck.Cards()[0]->Seikai, 2);
    EXPECT_EQ(deck.Cards()[1]->Seikai, 1);
}

TEST_F(DeckSyncTest, AChangeOnDiskIsReadInAtOnce) {
    for (const bool unsaved : {false, true}) {
        SCOPED_TRACE(unsaved ? "unsaved: merged" : "nothing unsaved: read again");
        const QString path = Open("A,a,,0,0,0,\r\nB,b,,0,0,0,\r\nC,c,,0,0,0,\r\n");
        Answer();
        if (!unsaved) {
            EXPECT_EQ(sync->Save(), SaveOutcome::Saved);
        }
        const TMondaiSet *current = drill.Current();
        ASSERT_NE(current, nullptr);
        QTest::qWait(20);
        const QByteArray file = Read(path); // A as it stands in the file
        const QByteArray elsewhere = file.left(file.indexOf('\n') + 1) +
                                     "B,b,,0,0,0,\r\nC,c,,40003,1,0,o\r\nD,d,,0,0,0,\r\n";
        Write(QStringLiteral("deck.csv"), elsewhere);
        QTRY_COMPARE_WITH_TIMEOUT(deck.Cards().size(), size_t(4), 5000);
        EXPECT_EQ(deck.Cards()[0]->Seikai, 1) << "our answer stays";
        EXPECT_EQ(deck.Cards()[2]->Seikai, 1) << "their answer arrived";
        EXPECT_EQ(drill.Current(), current) << "the drill stays where it was";
        EXPECT_EQ(IsDeckChanged(deck), unsaved);
        EXPECT_EQ(Read(path), elsewhere) << "only a save writes the file";
        EXPECT_TRUE(prompts.asked.empty());
    }
}

} // namespace
