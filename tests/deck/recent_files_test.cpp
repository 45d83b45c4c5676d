#include "deck/recent_files.h"

#include <gtest/gtest.h>

namespace {

using Paths = RecentFileList::Paths;

const QString A = QStringLiteral("/d/a.csv");
const QString B = QStringLiteral("/d/b.csv");
const QString C = QStringLiteral("/d/c.csv");
const QString D = QStringLiteral("/d/d.csv");
const QString E = QStringLiteral("/d/e.csv");
const QString F = QStringLiteral("/d/f.csv");

TEST(RecentFileList, SixOpensKeepTheLastFiveNewestFirst) {
    RecentFileList list;
    for (const QString &path : {A, B, C, D, E, F})
        list.PutOnTop(path);
    EXPECT_EQ(list.Entries(), (Paths{F, E, D, C, B}));
    // Reopening the third moves it up; the two above it shift down one place.
    list.PutOnTop(D);
    EXPECT_EQ(list.Entries(), (Paths{D, F, E, C, B}));
}

TEST(RecentFileList, APathAlreadyListedMovesUpWithoutADuplicate) {
    RecentFileList list(Paths{A, B, C, D, E});
    list.PutOnTop(D);
    EXPECT_EQ(list.Entries(), (Paths{D, A, B, C, E}));
    list.PutOnTop(D);
    EXPECT_EQ(list.Entries(), (Paths{D, A, B, C, E}));
}

TEST(RecentFileList, PathsAreComparedExactly) {
    RecentFileList list;
    list.PutOnTop(QStringLiteral("/d/Deck.csv"));
    list.PutOnTop(QStringLiteral("/d/deck.csv"));
    list.PutOnTop(QStringLiteral("/d//deck.csv"));
    EXPECT_EQ(list.Entries(), (Paths{QStringLiteral("/d//deck.csv"),
                                     QStringLiteral("/d/deck.csv"),
                                     QStringLiteral("/d/Deck.csv"),
                                     {},
                                     {}}));
}

TEST(RecentFileList, RemovingMovesLaterEntriesUpAndEmptiesTheEnd) {
    RecentFileList list(Paths{A, B, C, D, E});
    EXPECT_EQ(list.Remove(B), 1);
    EXPECT_EQ(list.Entries(), (Paths{A, C, D, E, {}}));
    EXPECT_EQ(list.Remove(F), 0);
    EXPECT_EQ(list.Remove(QString()), 0);
    EXPECT_EQ(list.Entries(), (Paths{A, C, D, E, {}}));
    // A hand-edited file may list a path twice: both copies go.
    RecentFileList twice(Paths{A, B, A, {}, C});
    EXPECT_EQ(twice.Remove(A), 2);
    EXPECT_EQ(twice.Entries(), (Paths{B, {}, C, {}, {}}));
}

TEST(FileNameOnly, CutsAfterTheLastSlashOnly) {
    EXPECT_EQ(FileNameOnly(QStringLiteral("/home/u/単語.csv")), QStringLiteral("単語.csv"));
    EXPECT_EQ(FileNameOnly(QStringLiteral("deck.csv")), QStringLiteral("deck.csv"));
    EXPECT_EQ(FileNameOnly(QStringLiteral("a\\b:c.csv")), QStringLiteral("a\\b:c.csv"));
    EXPECT_EQ(FileNameOnly(QStringLiteral("/d/")), QString());
}

} // namespace
