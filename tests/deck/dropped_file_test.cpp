#include "deck/dropped_file.h"

#include <gtest/gtest.h>

namespace {

QString Relative(const char *path, const char *folder) {
    return RelativeToFolder(QString::fromUtf8(path), QString::fromUtf8(folder));
}

TEST(RelativeToFolder, StepsUpForEachFolderNotShared) {
    EXPECT_EQ(Relative("/opt/app/pic/a.bmp", "/opt/app"), QStringLiteral("pic/a.bmp"));
    EXPECT_EQ(Relative("/data/a.bmp", "/opt/app"), QStringLiteral("../../data/a.bmp"));
    EXPECT_EQ(Relative("/opt/a.bmp", "/opt/app"), QStringLiteral("../a.bmp"));
    EXPECT_EQ(Relative("/opt/app/a.bmp", "/opt/app/"), QStringLiteral("a.bmp"));
    EXPECT_EQ(Relative("/opt/apple/a.bmp", "/opt/app"), QStringLiteral("../apple/a.bmp"));
    EXPECT_EQ(Relative("/a.bmp", "/"), QStringLiteral("a.bmp"));
    EXPECT_EQ(Relative("/home/u/写真/犬.jpg", "/usr/bin"),
              QStringLiteral("../../home/u/写真/犬.jpg"));
}

TEST(RelativeToFolder, FolderNamesDifferingInCaseAreDifferentFolders) {
    EXPECT_EQ(Relative("/OPT/app/a.bmp", "/opt/app"), QStringLiteral("../../OPT/app/a.bmp"));
}

TEST(DropKindOf, OnlyTheListedSpellingsCount) {
    for (const char *name :
         {"a.bmp", "a.BMP", "a.wav", "a.WAV", "a.jpg", "a.JPG", "a.png", "a.PNG", "a.jpeg",
          "a.JPEG", "a.gif", "a.GIF", "a.mp3", "a.MP3", "a.ogg", "a.OGG"}) {
        const DropKind kind = DropKindOf(QString::fromLatin1(name));
        EXPECT_TRUE(kind.reference) << name;
        EXPECT_FALSE(kind.deck) << name;
    }
    for (const char *name :
         {"notes.txt", "notes.TXT", "notes.csv", "notes.CSV", "notes.tsv", "notes.TSV"}) {
        const DropKind kind = DropKindOf(QString::fromLatin1(name));
        EXPECT_TRUE(kind.deck) << name;
        EXPECT_FALSE(kind.reference) << name;
    }
    for (const char *name :
         {"notes.Csv", "a.Jpg", "a.Png", "a.Jpeg", "a.jPEG", "a.Gif", "a.Mp3", "a.oGG", "a.tiff",
          "a.flac", "notes", "csv", "png", "notes.Tsv", "notes.tab", "tsv"}) {
        const DropKind kind = DropKindOf(QString::fromLatin1(name));
        EXPECT_FALSE(kind.deck || kind.reference) << name;
    }
}

TEST(DropKindOf, TheTestsLookAnywhereInThePath) {
    const DropKind both = DropKindOf(QStringLiteral("photo.jpg.txt"));
    EXPECT_TRUE(both.reference);
    EXPECT_TRUE(both.deck);
    EXPECT_TRUE(DropKindOf(QStringLiteral("../x.csv.d/readme")).deck);
    EXPECT_TRUE(DropKindOf(QStringLiteral("a.wave")).reference);
}

TEST(DropReference, PutsASlashInFront) {
    EXPECT_EQ(DropReference(QStringLiteral("pic/a.bmp")), QStringLiteral("/pic/a.bmp"));
    EXPECT_EQ(DropReference(QStringLiteral("../../data/a.bmp")),
              QStringLiteral("/../../data/a.bmp"));
}

} // namespace
