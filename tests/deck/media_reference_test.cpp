#include "deck/media_reference.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(MediaReference, LinesThatAreReferences) {
    struct Case {
        const char16_t *line;
        MediaKind kind;
        const char16_t *path;
    };
    const Case cases[] = {
        {u"/pic/cat.jpg", MediaKind::Picture, u"/pic/cat.jpg"},
        {u"  /pic/cat.JPG \t", MediaKind::Picture, u"/pic/cat.JPG"},
        {u"\\pic\\cat.bmp", MediaKind::Picture, u"/pic/cat.bmp"},
        {u"/../../data/photo.Jpeg", MediaKind::Picture, u"/../../data/photo.Jpeg"},
        {u"/a b/c.png", MediaKind::Picture, u"/a b/c.png"},
        {u"/x.gif", MediaKind::Picture, u"/x.gif"},
        {u"/snd/hello.WAV", MediaKind::Sound, u"/snd/hello.WAV"},
        {u"\\snd\\hello.mp3", MediaKind::Sound, u"/snd/hello.mp3"},
        {u"/snd/hello.ogg", MediaKind::Sound, u"/snd/hello.ogg"},
    };
    for (const Case &c : cases) {
        const MediaReference reference = ReferenceOfLine(QStringView(c.line));
        EXPECT_EQ(reference.kind, c.kind) << QString::fromUtf16(c.line).toStdString();
        EXPECT_EQ(reference.path, QString::fromUtf16(c.path));
    }
}

TEST(MediaReference, SentencesAndOtherLinesAreText) {
    for (const char16_t *line :
         {u"see /pic/cat.jpg for the answer", u"/pic/cat.jpg is a cat", u"cat.jpg", u"pic/cat.jpg",
          u"/pic/cat.jpg.txt", u"/", u"/.jpgx", u"", u"/notes.csv"})
        EXPECT_EQ(ReferenceOfLine(QStringView(line)).kind, MediaKind::None)
            << QString::fromUtf16(line).toStdString();
}

TEST(MediaReference, FirstReferenceOfAKindInAText) {
    const QString text = QStringLiteral("猫\n/snd/neko.wav\n/pic/a.png\n/pic/b.png");
    EXPECT_EQ(FirstReference(text, MediaKind::Picture).path, QStringLiteral("/pic/a.png"));
    EXPECT_EQ(FirstReference(text, MediaKind::Sound).path, QStringLiteral("/snd/neko.wav"));
    EXPECT_EQ(FirstReference(QStringLiteral("猫"), MediaKind::Picture).kind, MediaKind::None);
}

class ResolveReferenceTest : public ::testing::Test {
protected:
    void Touch(const QString &relative) {
        const QString path = root_.filePath(relative);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QString At(const QString &relative) const { return root_.filePath(relative); }
    QTemporaryDir root_;
};

TEST_F(ResolveReferenceTest, ProgramFolderFirstThenDeckFolderThenAbsolute) {
    Touch(QStringLiteral("prog/pic/cat.jpg"));
    Touch(QStringLiteral("decks/pic/cat.jpg"));
    Touch(QStringLiteral("decks/pic/dog.jpg"));
    Touch(QStringLiteral("elsewhere/fox.jpg"));
    const QString prog = At(QStringLiteral("prog"));
    const QString decks = At(QStringLiteral("decks"));
    EXPECT_EQ(ResolveReference(QStringLiteral("/pic/cat.jpg"), prog, decks),
              At(QStringLiteral("prog/pic/cat.jpg")));
    EXPECT_EQ(ResolveReference(QStringLiteral("/pic/dog.jpg"), prog, decks),
              At(QStringLiteral("decks/pic/dog.jpg")));
    EXPECT_EQ(ResolveReference(QStringLiteral("/../decks/pic/dog.jpg"), prog, decks),
              At(QStringLiteral("decks/pic/dog.jpg")));
    const QString absolute = At(QStringLiteral("elsewhere/fox.jpg"));
    EXPECT_EQ(ResolveReference(absolute, prog, decks), absolute);
    EXPECT_EQ(ResolveReference(QStringLiteral("/pic/missing.jpg"), prog, decks), QString());
    EXPECT_EQ(ResolveReference(QStringLiteral("/pic"), prog, decks), QString()); // a folder
}

} // namespace
