#include "deck/conflict_copies.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace {

TEST(ConflictCopies, NamesOfTheSyncToolsAreToldFromOtherFiles) {
    const struct {
        const char *file;
        const char *deck;
        bool copy;
    } cases[] = {
        {"deck.sync-conflict-20261210-031500-ABCDEF1.csv", "deck.csv", true},
        {"英単語.sync-conflict-20261210-031500-Q7XK2MZ.txt", "英単語.txt", true},
        {"deck.sync-conflict-20261210-031500-ABCDEF1.txt", "deck.csv", false}, // other suffix
        {"deck.sync-conflict-2026121-031500-ABCDEF1.csv", "deck.csv", false},  // short date
        {"deck.sync-conflict-20261210-031500-abcdef1.csv", "deck.csv", false},
        {"deck2.sync-conflict-20261210-031500-ABCDEF1.csv", "deck.csv", false},
        {"deck (conflicted copy 2026-12-10 031500).csv", "deck.csv", true},
        {"deck (conflicted copy 2026-12-10 031500 (2)).csv", "deck.csv", true},
        {"deck (conflicted copy 2026-12-10).csv", "deck.csv", false},
        {"deck (Hanako's conflicted copy 2026-12-10).csv", "deck.csv", true},
        {"deck (Hanako's conflicted copy 2026-12-10 (1)).csv", "deck.csv", true},
        {"deck (copy).csv", "deck.csv", false},
        {"deck.csv", "deck.csv", false},
        {"other (Hanako's conflicted copy 2026-12-10).csv", "deck.csv", false},
        {"cards.sync-conflict-20261210-031500-ABCDEF1", "cards", true}, // no suffix
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        EXPECT_EQ(conflict_copies::IsCopyOf(QString::fromUtf8(c.file), QString::fromUtf8(c.deck)),
                  c.copy);
    }
}

TEST(ConflictCopies, FindsTheCopiesBesideTheDeckOnly) {
    QTemporaryDir dir;
    for (const char *name : {"deck.csv", "deck.sync-conflict-20261210-031500-ABCDEF1.csv",
                             "deck (conflicted copy 2026-12-10 031500).csv", "notes.csv"}) {
        QFile file(dir.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    ASSERT_TRUE(
        QDir(dir.path()).mkdir(QStringLiteral("deck.sync-conflict-20261210-031501-ABCDEF1.csv")));
    EXPECT_EQ(conflict_copies::CopiesOf(dir.filePath(QStringLiteral("deck.csv"))),
              (QStringList{
                  dir.filePath(QStringLiteral("deck (conflicted copy 2026-12-10 031500).csv")),
                  dir.filePath(QStringLiteral("deck.sync-conflict-20261210-031500-ABCDEF1.csv"))}));
}

} // namespace
