#include "media/picture_loader.h"

#include <QFile>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class PictureLoaderTest : public ::testing::Test {
protected:
    QString Write(const QString &name, QSize size, QColor colour) {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = folder_.filePath(name);
        EXPECT_TRUE(image.save(path, "PNG"));
        return path;
    }
    PictureLoader::Result Load(PictureLoader &loader, const QString &path) {
        PictureLoader::Result first = loader.Picture(path);
        if (first.state != PictureLoader::State::Pending)
            return first;
        loader.WaitForIdle();
        return loader.Picture(path);
    }
    QTemporaryDir folder_;
};

TEST_F(PictureLoaderTest, LoadsOffTheCallerAndThenAnswersFromTheCache) {
    PictureLoader loader;
    QSignalSpy ready(&loader, &PictureLoader::pictureReady);
    const QString path = Write(QStringLiteral("a.png"), {40, 30}, Qt::red);
    EXPECT_EQ(loader.Picture(path).state, PictureLoader::State::Pending);
    loader.WaitForIdle();
    ASSERT_EQ(ready.count(), 1);
    const PictureLoader::Result result = loader.Picture(path);
    ASSERT_EQ(result.state, PictureLoader::State::Ready);
    EXPECT_EQ(result.image.size(), QSize(40, 30));
    loader.WaitForIdle();
    EXPECT_EQ(ready.count(), 1); // answered from the cache, nothing loaded again
}

TEST_F(PictureLoaderTest, AChangedFileIsLoadedAgain) {
    PictureLoader loader;
    const QString path = Write(QStringLiteral("a.png"), {40, 30}, Qt::red);
    ASSERT_EQ(Load(loader, path).image.pixelColor(0, 0), QColor(Qt::red));
    Write(QStringLiteral("a.png"), {41, 30}, Qt::blue);
    QFile(path).setFileTime(QDateTime::currentDateTime().addSecs(5),
                            QFileDevice::FileModificationTime);
    const PictureLoader::Result again = Load(loader, path);
    ASSERT_EQ(again.state, PictureLoader::State::Ready);
    EXPECT_EQ(again.image.pixelColor(0, 0), QColor(Qt::blue));
}

TEST_F(PictureLoaderTest, BrokenAndMissingFilesAreNoPictures) {
    PictureLoader loader;
    const QString broken = folder_.filePath(QStringLiteral("broken.jpg"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("\xff\xd8\xff\xe0 this is not really a jpeg");
    file.close();
    EXPECT_EQ(Load(loader, broken).state, PictureLoader::State::Broken);
    EXPECT_EQ(loader.Picture(folder_.filePath(QStringLiteral("none.png"))).state,
              PictureLoader::State::Broken);
}

TEST_F(PictureLoaderTest, HugePicturesAreDecodedScaledDown) {
    const QString path = Write(QStringLiteral("wide.png"), {4000, 1000}, Qt::green);
    const QImage image = PictureLoader::Decode(path);
    EXPECT_EQ(image.size(), QSize(1600, 400));
}

TEST_F(PictureLoaderTest, KeepsOnlyTheMostRecentlyUsed) {
    PictureLoader loader(2);
    const QString a = Write(QStringLiteral("a.png"), {4, 4}, Qt::red);
    const QString b = Write(QStringLiteral("b.png"), {4, 4}, Qt::green);
    const QString c = Write(QStringLiteral("c.png"), {4, 4}, Qt::blue);
    Load(loader, a);
    Load(loader, b);
    Load(loader, a); // a is now the most recent
    Load(loader, c); // b goes
    EXPECT_EQ(loader.CachedCount(), 2);
    EXPECT_EQ(loader.Picture(a).state, PictureLoader::State::Ready);
    EXPECT_EQ(loader.Picture(b).state, PictureLoader::State::Pending);
    loader.WaitForIdle();
}

} // namespace
