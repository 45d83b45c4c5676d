#include "view/cell_media.h"

#include "deck/card.h"
#include "deck/sjis_codec.h"
#include "media/sound_player.h"
#include "support/recording_sound_player.h"
#include "view/card_view.h"
#include "view/cell_image.h"

#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <QToolButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

class CellMediaTest : public ::testing::Test {
protected:
    CellMediaTest() {
        mondai_.resize(400, 300);
        renban_.resize(400, 500);
        cells_.LayoutCells(572, 510, 100, 5); // sub rows 100 high
        QDir(folder_.path()).mkpath(QStringLiteral("pic"));
        QImage picture(80, 40, QImage::Format_RGB32);
        picture.fill(Qt::red);
        picture.save(folder_.filePath(QStringLiteral("pic/cat.png")));
        QFile sound(folder_.filePath(QStringLiteral("neko.wav")));
        sound.open(QIODevice::WriteOnly);
        media_.SetFolders(folder_.path(), QString());
    }
    void Show(int kind, int row, const QString &text) {
        TMyMemo *memo = cells_.Memo(kind, row);
        memo->setPlainText(text);
        memo->Shown = true;
    }
    void UpdateAndLoad() {
        media_.Update();
        media_.Loader().WaitForIdle();
    }

    QTemporaryDir folder_;
    QWidget mondai_;
    QWidget renban_;
    CardView cells_{&mondai_, &renban_};
    QStringList played_;
    CellMedia media_{cells_, [this] { return std::make_unique<RecordingSoundPlayer>(&played_); }};
};

TEST_F(CellMediaTest, APictureReferenceFillsThePictureAreaAndShrinksTheText) {
    Show(KindQuestion, 2, QStringLiteral("ねこ\n/pic/cat.png"));
    Show(KindQuestion, 3, QStringLiteral("ねこ\n\\pic\\cat.png")); // written on another desktop
    Show(KindQuestion, 4, QStringLiteral("いぬ\n/pic/dog.png"));   // no such file: just text
    UpdateAndLoad();
    EXPECT_EQ(cells_.CellImageFlag[0][2], 1);
    EXPECT_EQ(cells_.CellImageFlag[0][3], 1);
    EXPECT_EQ(cells_.CellImageFlag[0][4], 0);
    EXPECT_TRUE(cells_.Image(KindQuestion, 2)->HasPicture());
    EXPECT_FALSE(cells_.Image(KindQuestion, 4)->HasPicture());
    EXPECT_EQ(cells_.Memo(KindQuestion, 2)->toPlainText(), QStringLiteral("ねこ\n/pic/cat.png"));

    // The text box keeps (100 - ImagePercent)% of the cell, the picture the rest.
    for (int percent : {20, 60, 100}) {
        cells_.ImagePercent = percent;
        cells_.SizeCellTexts(572, 5);
        const int cell = cells_.Pane(KindQuestion, 2)->contentsRect().height();
        EXPECT_EQ(cells_.Memo(KindQuestion, 2)->height(), cell * (100 - percent) / 100) << percent;
        EXPECT_EQ(cells_.Memo(KindQuestion, 4)->height(), cell) << percent;
        EXPECT_EQ(cells_.Image(KindQuestion, 2)->height(),
                  cell - cells_.Memo(KindQuestion, 2)->height());
    }
}

TEST_F(CellMediaTest, AnEmptiedCellLosesItsPicture) {
    Show(KindQuestion, 2, QStringLiteral("/pic/cat.png"));
    UpdateAndLoad();
    ASSERT_EQ(cells_.CellImageFlag[0][2], 1);
    cells_.Memo(KindQuestion, 2)->Clear();
    media_.Update();
    EXPECT_EQ(cells_.CellImageFlag[0][2], 0);
    EXPECT_FALSE(cells_.Image(KindQuestion, 2)->HasPicture());
}

// A file that is there but is no picture keeps the picture area, with a note naming the file;
// a good picture put there later replaces the note, and an emptied cell loses both.
TEST_F(CellMediaTest, ACorruptPictureShowsANoteNamingTheFile) {
    for (const QByteArray &bytes :
         {QByteArray("not a picture"), QByteArray(), QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR")}) {
        SCOPED_TRACE(bytes.toHex().toStdString());
        QFile broken(folder_.filePath(QStringLiteral("pic/broken.png")));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly | QIODevice::Truncate));
        broken.write(bytes);
        broken.close();
        Show(KindAnswer, 1, QStringLiteral("こわれた絵\n/pic/broken.png"));
        UpdateAndLoad();
        EXPECT_EQ(cells_.CellImageFlag[1][1], 1);
        TMyImage *image = cells_.Image(KindAnswer, 1);
        EXPECT_FALSE(image->HasPicture());
        EXPECT_TRUE(image->UnreadableNote().contains(QStringLiteral("broken.png")));
        EXPECT_TRUE(image->UnreadableNote().contains(QStringLiteral("画像を表示できません")));
    }

    Show(KindAnswer, 1, QStringLiteral("/pic/cat.png"));
    UpdateAndLoad();
    EXPECT_TRUE(cells_.Image(KindAnswer, 1)->HasPicture());
    EXPECT_TRUE(cells_.Image(KindAnswer, 1)->UnreadableNote().isEmpty());

    Show(KindAnswer, 1, QStringLiteral("/pic/broken.png"));
    UpdateAndLoad();
    cells_.Memo(KindAnswer, 1)->Clear();
    media_.Update();
    EXPECT_EQ(cells_.CellImageFlag[1][1], 0);
    EXPECT_TRUE(cells_.Image(KindAnswer, 1)->UnreadableNote().isEmpty());
}

TEST_F(CellMediaTest, ASoundReferenceShowsAPlayButtonThatPlaysIt) {
    Show(KindAnswer, 1, QStringLiteral("猫\n/neko.wav"));
    Show(KindQuestion, 1, QStringLiteral("neko"));
    UpdateAndLoad();
    QToolButton *button = cells_.Pane(KindAnswer, 1)->SoundButton();
    EXPECT_FALSE(button->isHidden());
    EXPECT_TRUE(cells_.Pane(KindQuestion, 1)->SoundButton()->isHidden());
    button->click();
    EXPECT_EQ(played_, QStringList{folder_.filePath(QStringLiteral("neko.wav"))});
    EXPECT_EQ(cells_.CellImageFlag[1][1], 0); // a sound takes no picture room
}

// A field is read as stored: Shift-JIS, quoted or not, line breaks escaped. Its sound is looked
// up below the program's folder, then beside the deck.
TEST_F(CellMediaTest, AStoredFieldPlaysItsSoundFromTheProgramFolderOrBesideTheDeck) {
    const QByteArray field = EncodeLineBreaks(sjis::FromQString(QStringLiteral("ねこ\n/neko.wav")));
    const QString sound = folder_.filePath(QStringLiteral("neko.wav"));
    QTemporaryDir otherProgram;
    const struct {
        QString programFolder;
        QString deckFile;
        QByteArray field;
        bool plays;
    } cases[] = {
        {folder_.path(), QString(), field, true},
        {folder_.path(), QString(), '"' + field + '"', true},
        {otherProgram.path(), folder_.filePath(QStringLiteral("deck.csv")), field, true},
        {otherProgram.path(), QString(), field, false}, // an unnamed deck has no folder
        {folder_.path(), QString(), sjis::FromQString(QStringLiteral("ねこ")), false},
    };
    for (const auto &c : cases) {
        played_.clear();
        media_.SetProgramFolder(c.programFolder);
        media_.SetDeckFile(c.deckFile);
        EXPECT_EQ(media_.PlayFieldSound(c.field), c.plays) << c.field.toStdString();
        EXPECT_EQ(played_, c.plays ? QStringList{sound} : QStringList{}) << c.field.toStdString();
    }
}

TEST(CellMediaWithoutSound, NoPlayerMeansNoButton) {
    QTemporaryDir folder;
    QFile(folder.filePath(QStringLiteral("a.wav"))).open(QIODevice::WriteOnly);
    QWidget mondai, renban;
    CardView cells(&mondai, &renban);
    CellMedia media(cells, [] { return std::unique_ptr<SoundPlayer>(); });
    media.SetFolders(folder.path(), QString());
    cells.Memo(KindQuestion, 1)->setPlainText(QStringLiteral("/a.wav"));
    cells.Memo(KindQuestion, 1)->Shown = true;
    media.Update();
    EXPECT_TRUE(cells.Pane(KindQuestion, 1)->SoundButton()->isHidden());
    EXPECT_FALSE(media.PlaySound(folder.filePath(QStringLiteral("a.wav"))));
}

// Whatever this desktop's sound support, asking for its player never brings the program down.
TEST(SoundPlayerOfThisDesktop, IsMadeOrAbsentWithoutCrashing) {
    std::unique_ptr<SoundPlayer> player = CreateSoundPlayer();
    if (player)
        player->Stop();
}

TEST(CellImageDrag, TheShareBelowThePointerIsClamped) {
    EXPECT_EQ(TMyImage::ShareBelow(50, 100), 50);
    EXPECT_EQ(TMyImage::ShareBelow(33, 100), 67);
    EXPECT_EQ(TMyImage::ShareBelow(95, 100), 20);
    EXPECT_EQ(TMyImage::ShareBelow(-10, 100), 100);
    EXPECT_EQ(TMyImage::ShareBelow(10, 0), 100);
}

} // namespace
