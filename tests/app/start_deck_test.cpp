// The start deck read on a thread while the window is built, and the work left until the window
// has been drawn.
#include "app/after_first_paint.h"
#include "app/deck_preload.h"
#include "deck/sjis_codec.h"
#include "support/drill_state.h"
#include "support/window_fixture.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QTest>

namespace {

const QString ChangedText = QStringLiteral(
    "このファイルは他のプログラムによって変更されています。\n変更を統合して保存しますか？");

class StartDeck : public WindowTest {
protected:
    // Opens `path` in a window of its own as a start does, with a preload for `preloadDay`, in
    // question order `jyun`. The preload has finished reading before `meanwhile` runs.
    std::unique_ptr<TForm1> Start(const QString &path, qint32 preloadDay, int jyun = 0,
                                  const std::function<void()> &meanwhile = {}) {
        DeckPreload preload(path, preloadDay);
        preload.Wait();
        if (meanwhile)
            meanwhile();
        auto started = std::make_unique<TForm1>(prompts, FixedDayClock(TestToday));
        started->DrillState().SetRandomEngine(std::mt19937(7));
        started->ClickPanelPattern(0); // whatever the settings file says
        DrillStateForTests::SetJyun(started->DrillState(), jyun);
        started->OpenStartDeck(path, &preload);
        return started;
    }
    static QStringList QueueOf(TForm1 &window) {
        QStringList names;
        for (const TMondaiSet *card : window.DrillState().Queue())
            names << sjis::ToQString(card->Mondai());
        return names;
    }
    // The questions of the queue in deck order, by spaces.
    static QString SortedQueueOf(TForm1 &window) {
        QStringList names = QueueOf(window);
        names.sort();
        return names.join(u' ');
    }
    AfterFirstPaint &Deferred() { return *Find<AfterFirstPaint>("AfterFirstPaint"); }
};

} // namespace

// Whatever the preload did, the window ends up with the deck the file holds when it is opened,
// due as of the window's own day.
TEST_F(StartDeck, TheWindowOpensWhatTheFileHoldsThenForItsOwnDay) {
    const QStringList plain{QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,40000,0,0,"),
                            QStringLiteral("C,c,,39999,0,0,")};
    const QStringList rewritten{QStringLiteral("X,x,,0,0,0,"), QStringLiteral("Y,y,,0,0,0,"),
                                QStringLiteral("Z,z,,40001,0,0,"), QStringLiteral("W,w,,0,0,0,")};
    struct Case {
        const char *name;
        qint32 preloadDay;
        int jyun;          // 0 deck order, 1 random
        bool rewrite;      // the file changes after the preload has read it
        const char *queue; // the questions, sorted, by spaces
    } const cases[] = {
        {"as read, same day", TestToday, 0, false, "A C"},
        {"as read, same day, random order", TestToday, 1, false, "A C"},
        // Read the day before, C was not due yet: the cards are built again.
        {"as read, the day before", TestToday - 1, 0, false, "A C"},
        {"as read, the day before, random order", TestToday - 1, 1, false, "A C"},
        {"rewritten after the read", TestToday, 0, true, "W X Y"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = WriteDeck(dir, QStringLiteral("start.csv"), plain);
        auto started = Start(path, c.preloadDay, c.jyun, [&] {
            if (c.rewrite)
                WriteDeck(dir, QStringLiteral("start.csv"), rewritten);
        });
        EXPECT_EQ(started->DeckState().FileName(), path);
        EXPECT_EQ(qsizetype(started->DeckState().Cards().size()), c.rewrite ? 4 : 3);
        EXPECT_EQ(SortedQueueOf(*started), QString::fromLatin1(c.queue));
        EXPECT_NE(started->DrillState().Current(), nullptr);
        // In random order C may come first, and a shown card's date is cleared.
        EXPECT_TRUE(c.jyun == 1 || !IsDeckChanged(started->DeckState()));
        EXPECT_TRUE(prompts.asked.empty());
    }
}

// A deck the window asks about is still asked about; the preload builds no cards for it.
TEST_F(StartDeck, AUtf8DeckIsStillAskedAboutAndConverted) {
    const QString path = dir.filePath(QStringLiteral("utf8.csv"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QStringLiteral("犬,dog\r\n猫,cat\r\n").toUtf8());
    file.close();
    prompts.Answer(PromptButton::Yes);
    auto started = Start(path, TestToday);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(QueueOf(*started), (QStringList{QStringLiteral("犬"), QStringLiteral("猫")}));
    EXPECT_TRUE(IsDeckChanged(started->DeckState())) << "converted, not saved yet";
}

// Without a deck on the command line the preload reads the most recent one.
TEST_F(StartDeck, TheMostRecentDeckIsTakenFromThePreload) {
    const QString recent =
        WriteDeck(dir, QStringLiteral("recent.csv"), {QStringLiteral("R,r,,0,0,0,")});
    const QString other =
        WriteDeck(dir, QStringLiteral("other.csv"), {QStringLiteral("O,o,,0,0,0,")});
    form->OpenDeckFile(other);
    form->OpenDeckFile(recent);
    form->close();
    DeckPreload preload(recent, TestToday);
    TForm1 next(prompts, FixedDayClock(TestToday));
    next.OpenStartDeck(QString(), &preload);
    EXPECT_EQ(next.DeckState().FileName(), recent);
    EXPECT_EQ(QueueOf(next), QStringList{QStringLiteral("R")});
    EXPECT_FALSE(preload.Holds(recent)) << "taken once";
}

// Keys pressed before the deferred work has run act on the cards as shown, in every pattern.
TEST_F(StartDeck, KeysPressedBeforeTheDeferredWorkActOnTheShownCard) {
    struct Case {
        int pattern;
        const char *current;
        const char *queue; // by spaces
    } const cases[] = {
        {0, "B", "B C"},
        {2, "B", "B C"},
        {5, "C", "A C"}, // the list shows the answers: ↓ goes to the next card at once
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pattern);
        form->ClickPanelPattern(c.pattern);
        if (!form->DeckState().FileName().isEmpty())
            prompts.Answer(PromptButton::No); // the last pass's answer is not kept
        OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,"),
                  QStringLiteral("C,c,,0,0,0,")});
        ASSERT_TRUE(Deferred().Pending());
        ASSERT_TRUE(form->DeckState().DiskStamp().HashPending());
        Key(Qt::Key_Down);
        Key(Qt::Key_Right);
        Key(Qt::Key_Down);
        EXPECT_TRUE(Deferred().Pending()) << "the keys came first";
        EXPECT_EQ(Current(), QString::fromLatin1(c.current));
        EXPECT_EQ(Queue().join(u' '), QString::fromLatin1(c.queue));
        QApplication::processEvents();
        EXPECT_FALSE(Deferred().Pending());
        EXPECT_FALSE(form->DeckState().DiskStamp().HashPending());
        EXPECT_EQ(Current(), QString::fromLatin1(c.current));
        EXPECT_EQ(Queue().join(u' '), QString::fromLatin1(c.queue));
    }
}

// The file's hash waits for the drawn window, but a save before it still tells a file another
// program rewrote (same size, other bytes) from one merely touched.
TEST_F(StartDeck, ASaveBeforeTheDeferredHashStillSeesWhatChanged) {
    struct Case {
        const char *name;
        QString rewrite;
        bool asks;
    } const cases[] = {
        {"other bytes of the same size", QStringLiteral("B,b,,0,0,0,"), true},
        {"the same bytes written again", QStringLiteral("A,a,,0,0,0,"), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        prompts.asked.clear();
        const QString path = OpenDeck({QStringLiteral("A,a,,0,0,0,")});
        Click("btnSusume");
        Click("btnDekita");
        WriteDeck(dir, QStringLiteral("deck.csv"), {c.rewrite});
        {
            QFile file(path); // a modification time of its own, on any file system
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                         QFileDevice::FileModificationTime));
        }
        ASSERT_TRUE(form->DeckState().DiskStamp().HashPending());
        if (c.asks)
            prompts.Answer(PromptButton::No); // 上書き
        Trigger("men_File_Save");
        ASSERT_EQ(prompts.asked.size(), c.asks ? 1u : 0u);
        if (c.asks) {
            EXPECT_EQ(prompts.asked[0].text, ChangedText);
        }
        EXPECT_EQ(ReadDeck(path), QStringList{QStringLiteral("A,a,,40002,1,0,正")});
    }
}
