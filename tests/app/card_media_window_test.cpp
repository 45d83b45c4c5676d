#include "deck/sjis_codec.h"
#include "media/sound_player.h"
#include "settings/settings.h"
#include "support/fake_speech.h"
#include "support/recording_sound_player.h"
#include "support/window_fixture.h"
#include "view/card_view.h"
#include "view/cell_media.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QToolButton>

namespace {

QByteArray FileBytes(const QString &path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CardMediaWindowTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        QDir(dir.path()).mkpath(QStringLiteral("pic"));
        WritePicture(QStringLiteral("pic/cat.png"), "PNG");
        WritePicture(QStringLiteral("pic/dog.bmp"), "BMP");
        WritePicture(QStringLiteral("pic/FOX.JPG"), "JPEG");
        QFile sound(dir.filePath(QStringLiteral("neko.wav")));
        ASSERT_TRUE(sound.open(QIODevice::WriteOnly));
        form->Media().SetPlayerFactory(
            [this] { return std::make_unique<RecordingSoundPlayer>(&log); });
    }
    void WritePicture(const QString &name, const char *format) {
        QImage picture(120, 80, QImage::Format_RGB32);
        picture.fill(Qt::blue);
        ASSERT_TRUE(picture.save(dir.filePath(name), format));
    }
    // Lets the pictures asked for arrive and be shown.
    void LoadPictures() {
        form->Media().Loader().WaitForIdle();
        QApplication::processEvents();
    }
    bool ShowsPicture(int kind, int row) const {
        return form->Cells().CellImageFlag[size_t(kind - 1)][size_t(row)] == 1 &&
               form->Cells().Image(kind, row)->HasPicture() &&
               Memo(kind, row)->height() < form->Cells().Pane(kind, row)->contentsRect().height();
    }

    QStringList log;
};

TEST_F(CardMediaWindowTest, ATypedReferenceShowsItsPictureAndStaysInTheText) {
    OpenDeck({QStringLiteral("ねこ,cat,,0,0,0,")});
    EXPECT_FALSE(ShowsPicture(KindQuestion, 0));

    Memo(KindQuestion, 0)->moveCursor(QTextCursor::End);
    Memo(KindQuestion, 0)->insertPlainText(QStringLiteral("\n/pic/cat.png"));
    LoadPictures();
    EXPECT_TRUE(ShowsPicture(KindQuestion, 0));
    EXPECT_EQ(Text(KindQuestion, 0), QStringLiteral("ねこ\n/pic/cat.png"));
    EXPECT_EQ(form->DrillState().Current()->Mondai(),
              sjis::FromQString(QStringLiteral("ねこ\\n/pic/cat.png")));

    // Taking the line out again gives the text box its whole cell back.
    Memo(KindQuestion, 0)->setPlainText(QStringLiteral("ねこ"));
    LoadPictures();
    EXPECT_FALSE(ShowsPicture(KindQuestion, 0));
    EXPECT_EQ(Memo(KindQuestion, 0)->height(),
              form->Cells().Pane(KindQuestion, 0)->contentsRect().height());
}

// Windows-style references, pictures in the main and the sub pattern, the picture area dragged:
// none of it may change a byte of the deck.
TEST_F(CardMediaWindowTest, ADeckWithReferencesIsSavedByteForByte) {
    const QString path = OpenDeck({
        QStringLiteral("いぬ\\n\\pic\\dog.bmp,dog\\n/pic/cat.png,,0,0,0,"),
        QStringLiteral("\"ねこ, 猫\\n/pic/cat.png\",cat,,0,2,1,○×"),
        QStringLiteral("きつね\\n \\pic\\FOX.JPG ,fox,,0,0,0,"),
        QStringLiteral("とり\\n/pic/bird.png,bird,,0,0,0,"),
    });
    const QByteArray before = FileBytes(path);
    LoadPictures();
    EXPECT_TRUE(ShowsPicture(KindQuestion, 0));
    EXPECT_FALSE(ShowsPicture(KindAnswer, 0)); // not revealed yet
    Click("btnSusume");
    LoadPictures();
    EXPECT_TRUE(ShowsPicture(KindAnswer, 0));

    form->ClickPanelPattern(3); // サブ（4）: the current card and the next three
    LoadPictures();
    EXPECT_TRUE(ShowsPicture(KindQuestion, 1));
    EXPECT_TRUE(ShowsPicture(KindAnswer, 1));
    EXPECT_TRUE(ShowsPicture(KindQuestion, 2));
    EXPECT_TRUE(ShowsPicture(KindQuestion, 3));
    EXPECT_FALSE(ShowsPicture(KindQuestion, 4)) << "no such file";
    QTest::mousePress(form->Cells().Image(KindQuestion, 2), Qt::LeftButton, {}, QPoint(5, 2));
    EXPECT_EQ(Text(KindQuestion, 2), QStringLiteral("ねこ, 猫\n/pic/cat.png"));

    form->Document().Save();
    EXPECT_EQ(FileBytes(path), before);
}

TEST_F(CardMediaWindowTest, DraggingThePictureAreaSetsTheShareKeptInTheSettings) {
    OpenDeck({QStringLiteral("ねこ\\n/pic/cat.png,cat,,0,0,0,")});
    LoadPictures();
    ASSERT_TRUE(ShowsPicture(KindQuestion, 0));
    TMyPane *pane = form->Cells().Pane(KindQuestion, 0);
    TMyImage *image = form->Cells().Image(KindQuestion, 0);
    // Pressing a quarter of the way down the pane leaves three quarters below the pointer.
    const int y = pane->height() / 4;
    QTest::mousePress(image, Qt::LeftButton, {}, image->mapFrom(pane, QPoint(10, y)));
    const int percent = (pane->height() - y) * 100 / pane->height();
    EXPECT_EQ(form->Cells().ImagePercent, percent);
    EXPECT_EQ(Memo(KindQuestion, 0)->height(),
              pane->contentsRect().height() * (100 - percent) / 100);

    form->close();
    EXPECT_EQ(LoadSettings(SettingsFilePath()).imageSize, percent);
    ScriptedPrompts again;
    TForm1 next(again, FixedDayClock(TestToday));
    EXPECT_EQ(next.Cells().ImagePercent, percent);
}

TEST_F(CardMediaWindowTest, ADrillStepStopsAPlayingSound) {
    OpenDeck({QStringLiteral("neko,猫\\n/neko.wav,,0,0,0,"), QStringLiteral("inu,犬,,0,0,0,")});
    QToolButton *button = form->Cells().Pane(KindAnswer, 0)->SoundButton();
    EXPECT_TRUE(button->isHidden()) << "the answer is not shown yet";
    Click("btnSusume");
    ASSERT_FALSE(button->isHidden());
    log.clear();
    QTest::mouseClick(button, Qt::LeftButton);
    EXPECT_EQ(log, QStringList{dir.filePath(QStringLiteral("neko.wav"))});
    EXPECT_EQ(Text(KindAnswer, 0), QStringLiteral("猫\n/neko.wav"));

    Click("btnSusume");
    EXPECT_EQ(log.last(), QStringLiteral("stop"));
    EXPECT_TRUE(button->isHidden());
    log.clear();
    Key(Qt::Key_Up);
    EXPECT_EQ(log, QStringList{QStringLiteral("stop")});
}

TEST_F(CardMediaWindowTest, SpeechPlaysARecordedVoiceInsteadOfTheSyntheticOne) {
    FakeSpeech *speech = LastFakeSpeech();
    ASSERT_NE(speech, nullptr);
    speech->Take();
    Trigger("men_Other_SpeakMondai");
    OpenDeck({QStringLiteral("neko\\n/neko.wav,猫,,0,0,0,"),
              QStringLiteral("inu\\n/inu.wav,犬,,0,0,0,")});
    EXPECT_EQ(speech->Take(), "Stop");
    EXPECT_EQ(log, QStringList{dir.filePath(QStringLiteral("neko.wav"))});

    log.clear();
    Click("btnSusume");
    Click("btnSusume"); // a card whose recording does not exist is spoken
    EXPECT_EQ(speech->Take(), "Stop Speak:inu\\n/inu.wav");
    EXPECT_EQ(log, QStringList({QStringLiteral("stop"), QStringLiteral("stop")}));
}

} // namespace
