#include "progress/memory_model.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr qint32 kDay = 46000;

// A log of `lines` answers over a few cards: each card's first lines carry the older 32-bit key
// when `narrowFirst`, and every fourth answer of a card is taken back, so the order of the lines
// decides every memory.
std::vector<ReviewEntry> Answers(const std::vector<TMondaiSet> &cards, int lines,
                                 bool narrowFirst) {
    std::vector<ReviewEntry> entries;
    for (int i = 0; i < lines; ++i) {
        const TMondaiSet &card = cards[std::size_t(i) % cards.size()];
        const int round = i / int(cards.size());
        const AnswerKind kind = round % 4 == 3   ? AnswerKind::TakenBack
                                : round % 5 == 1 ? AnswerKind::Wrong
                                                 : AnswerKind::Right;
        const bool wide = !(narrowFirst && round < 2);
        entries.push_back({kDay + round, 0, kind, 0, 0,
                           wide ? ReviewCardKey64(card) : quint64(ReviewCardKey(card)), wide,
                           false});
    }
    return entries;
}

// The rebuild reads the log and replays each line a little after reading it; whatever the
// log's length against that delay, it must give what replaying the lines one by one gives.
TEST(MemoryRebuildTest, ReplaysEveryLineOnceInTheLogsOrder) {
    std::vector<TMondaiSet> cards;
    for (int i = 0; i < 7; ++i)
        cards.emplace_back("q" + QByteArray::number(i), "a", "", 0, 1, 0, "");
    struct Case {
        int lines;
        bool narrowFirst;
    } cases[] = {{0, false}, {1, false}, {5, true},   {15, false},
                 {16, true}, {17, true}, {33, false}, {200, true}};
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("deck.log"));
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.lines << " lines");
        const std::vector<ReviewEntry> entries = Answers(cards, c.lines, c.narrowFirst);
        QByteArray text;
        MemoryModel expected;
        for (const ReviewEntry &entry : entries) {
            text += FormatReviewLine(entry);
            expected.Replay(entry);
        }
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
        file.close();

        MemoryModel rebuilt;
        rebuilt.Replay(entries.empty() ? ReviewEntry{} : entries.back()); // cleared first
        const ReviewHistory history = RebuildMemory(path, rebuilt);
        EXPECT_EQ(history.Entries(), c.lines);
        ASSERT_EQ(rebuilt.Known(), expected.Known());
        const qint32 today = kDay + 60;
        for (const TMondaiSet &card : cards) {
            const std::optional<CardMemory> want = expected.MemoryOf(card, today);
            const std::optional<CardMemory> got = rebuilt.MemoryOf(card, today);
            ASSERT_EQ(got.has_value(), want.has_value()) << card.Mondai().data();
            if (!want)
                continue;
            EXPECT_EQ(got->stability, want->stability) << card.Mondai().data();
            EXPECT_EQ(got->difficulty, want->difficulty) << card.Mondai().data();
            EXPECT_EQ(got->lastDay, want->lastDay) << card.Mondai().data();
        }
    }
}

} // namespace
