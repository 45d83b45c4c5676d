// The random-input test's rules must catch what they are there for: each one fires on a deck
// broken on purpose, and none fires on the same deck unbroken.
#include "drill/fake_host.h"
#include "monkey/deck_invariants.h"
#include "support/drill_state.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr qint32 Today = 40000;
// Card b carries a history of one 正 (Shift-JIS).
const QByteArray Lines = "a,1,,0,0,0,\r\nb,2,,40001,3,1,\x90\xb3\r\nc,3,,0,0,0,\r\n";

// A saved deck of three cards, its drill, and what they were before a step.
struct Sample {
    Sample() {
        deck.SetFileName(dir.filePath(QStringLiteral("deck.csv")));
        WriteFile(Lines);
        deck.SetSavedLines(DeckLines::FromFileBytes(Lines));
        CardRefList due;
        ParseDeck(deck, Today, due);
        drill.TakeDueCards(std::move(due));
        drill.StartNewDeck();
        texts = SnapshotTexts(deck);
        records = SnapshotRecords(deck);
    }
    void WriteFile(const QByteArray &bytes) const {
        QFile file(deck.FileName());
        if (file.open(QIODevice::WriteOnly))
            file.write(bytes);
    }
    TMondaiSet &Card(int index) { return *deck.Cards()[std::size_t(index)]; }
    // Every rule, as the monkey checks after a step that touched card 0 only and saved.
    QString AllRules() {
        const std::vector<const TMondaiSet *> touched{&Card(0)};
        for (const QString &verdict :
             {CheckRoundTrip(deck, Today), CheckQueue(deck, drill),
              CheckTextChanges(texts, SnapshotTexts(deck), touched),
              CheckRecordChanges(records, SnapshotRecords(deck), touched, false),
              CheckFileMatches(deck, Today)})
            if (!verdict.isEmpty())
                return verdict;
        return {};
    }

    QTemporaryDir dir;
    Deck deck;
    FakeDrillHost host;
    Drill drill{deck, host, FixedDayClock(Today)};
    CardTextMap texts;
    CardRecordMap records;
};

TEST(DeckInvariants, EachRuleFiresOnADeckBrokenOnPurpose) {
    struct Case {
        const char *breakage;
        std::function<void(Sample &)> apply;
        const char *verdict;
    };
    const Case cases[] = {
        {"nothing", [](Sample &) {}, ""},
        {"the touched card marked and edited",
         [](Sample &s) {
             s.Card(0).Jikan = 40100;
             ++s.Card(0).Seikai;
             s.Card(0).SetMondai("a2");
             s.WriteFile(QByteArray(Lines).replace("a,1,,0,0,0,", "a2,1,,40100,1,0,"));
         },
         ""},
        {"a line break in a text", [](Sample &s) { s.Card(1).SetKaitou("x\r\ny"); }, "line break"},
        {"a card queued twice",
         [](Sample &s) { DrillStateForTests::Queue(s.drill).push_back(s.drill.Queue().front()); },
         "twice"},
        {"an untouched card's text", [](Sample &s) { s.Card(2).SetSankou("note"); },
         "did not touch"},
        {"an untouched card's due day", [](Sample &s) { s.Card(1).Jikan = 0; }, "due 40001 -> 0"},
        {"an untouched card's right count", [](Sample &s) { s.Card(1).Seikai = 4; },
         "right 3 -> 4"},
        {"an untouched card's wrong count", [](Sample &s) { s.Card(2).Fuseikai = 1; },
         "wrong 0 -> 1"},
        {"an untouched card's history", [](Sample &s) { s.Card(1).SetRireki(""); }, "history"},
        {"the file unlike the cards", [](Sample &s) { s.WriteFile("a,1,,0,0,0,\r\n"); },
         "saved file"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.breakage);
        Sample sample;
        ASSERT_TRUE(sample.dir.isValid());
        c.apply(sample);
        const QString verdict = sample.AllRules();
        if (*c.verdict == '\0')
            EXPECT_EQ(verdict, QString());
        else
            EXPECT_TRUE(verdict.contains(QString::fromUtf8(c.verdict))) << verdict.toStdString();
    }
}

TEST(DeckInvariants, OnlyAConfirmedResetMayChangeEveryRecord) {
    for (const bool confirmed : {false, true}) {
        Sample sample;
        ResetAllTimes(sample.deck.Cards());
        const QString verdict =
            CheckRecordChanges(sample.records, SnapshotRecords(sample.deck), {}, confirmed);
        EXPECT_EQ(verdict.isEmpty(), confirmed) << verdict.toStdString();
    }
}

} // namespace
