// The manual (help/kardeon.html) states the rules the drill follows, with the drill's numbers.
#include "deck/card.h"
#include "drill/delete_history.h"
#include "drill/scheduling.h"

#include <QFile>
#include <QString>

#include <gtest/gtest.h>

namespace {

QString ManualText() {
    QFile page(QStringLiteral(KARDEON_TEST_DATA "/../../help/kardeon.html"));
    return page.open(QIODevice::ReadOnly) ? QString::fromUtf8(page.readAll()) : QString();
}

TEST(ManualFacts, TheManualSaysWhatTheDrillDoes) {
    const QString manual = ManualText();
    ASSERT_FALSE(manual.isEmpty());

    // However many marks a card gets, its history keeps this many characters (two bytes each).
    TMondaiSet card("q", "a", "", 0, 0, 0, "");
    for (int i = 0; i < 7; ++i)
        i % 2 ? MarkWrong(card) : MarkRight(card, 40000);
    const qsizetype kept = card.Rireki().size() / 2;
    EXPECT_TRUE(manual.contains(QStringLiteral("最大 %1 文字").arg(kept))) << kept;
    EXPECT_FALSE(manual.contains(QStringLiteral("最大 5 文字")));
    // A longer history from an older file counts with its first five characters until the next
    // mark: 正 in fifth place still cubes the interval.
    TMondaiSet old("q", "a", "", 0, 0, 0, "\x8c\xeb\x8c\xeb\x8c\xeb\x8c\xeb\x90\xb3");
    TMondaiSet cut("q", "a", "", 0, 0, 0, "\x8c\xeb\x8c\xeb\x8c\xeb");
    EXPECT_GT(ComputeInterval(old), ComputeInterval(cut));
    EXPECT_TRUE(manual.contains(QStringLiteral("最初の 5 文字")));

    // Deletes can be taken back, this many of them.
    EXPECT_TRUE(manual.contains(QStringLiteral("%1 枚まで戻せます").arg(DeleteHistory::Capacity)));
    // The commands added since the first manual each have their section.
    for (const char *section : {"id=\"find\"", "id=\"exchange\"", "id=\"progress\""})
        EXPECT_TRUE(manual.contains(QString::fromLatin1(section))) << section;
    // The picture example says the reference line stays visible as text.
    EXPECT_FALSE(manual.contains(QStringLiteral("問題は「cat」と表示され")));
}

} // namespace
