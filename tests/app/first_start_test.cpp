// What a new user meets in an installed copy: the window's icon, the sample deck offered as
// their own copy, and a clear word when card sounds cannot be played.
#include "media/sound_player.h"
#include "support/window_fixture.h"
#include "view/card_view.h"
#include "view/cell_media.h"
#include "view/sample_offer.h"

#include <QFile>
#include <QIcon>
#include <QLabel>
#include <QTest>
#include <QToolButton>

namespace {

class FirstStartTest : public WindowTest {
protected:
    SampleOffer *Offer() const { return Find<SampleOffer>("SampleOffer"); }
    // Installs a sample deck under the test's folder and offers it.
    QString InstallSample() {
        const QString sample =
            WriteDeck(dir, QStringLiteral("sample.csv"), {QStringLiteral("犬,dog")});
        Offer()->SetUserFolder(dir.filePath(QStringLiteral("user")));
        Offer()->SetInstalledSample(sample);
        return sample;
    }
};

} // namespace

TEST_F(FirstStartTest, TheEmptyWindowOffersTheSampleAsTheUsersOwnCopy) {
    EXPECT_TRUE(Offer()->isHidden()) << "no installed sample, no offer";
    InstallSample();
    ASSERT_TRUE(Offer()->isVisible());
    // Right under the note, which it must not cover.
    const QWidget *hint = Find<QLabel>("NoDeckHint");
    EXPECT_GT(Offer()->y(), hint->geometry().bottom());

    QTest::mouseClick(Offer(), Qt::LeftButton);
    const QString copy = dir.filePath(QStringLiteral("user/sample.csv"));
    EXPECT_EQ(form->DeckState().FileName(), copy);
    EXPECT_EQ(Current(), QStringLiteral("犬"));
    EXPECT_TRUE(Offer()->isHidden()) << "gone with the note once a deck is open";
    EXPECT_TRUE(prompts.asked.empty());
}

// A deck named on the command line is opened before the window is first shown.
TEST_F(FirstStartTest, NoOfferOverADeckOpenedBeforeTheWindowShows) {
    TForm1 other(prompts, FixedDayClock(TestToday));
    auto *offer = other.findChild<SampleOffer *>(QStringLiteral("SampleOffer"));
    ASSERT_NE(offer, nullptr);
    offer->SetInstalledSample(
        WriteDeck(dir, QStringLiteral("sample.csv"), {QStringLiteral("a,b")}));
    other.OpenStartDeck(WriteDeck(dir, QStringLiteral("mine.csv"), {QStringLiteral("c,d")}));
    other.show();
    QApplication::processEvents();
    EXPECT_FALSE(offer->isVisible());
}

TEST_F(FirstStartTest, ACopyThatCannotBeMadeIsReportedAndNothingOpens) {
    InstallSample();
    QFile(dir.filePath(QStringLiteral("user"))).open(QIODevice::WriteOnly); // a file, not a folder
    prompts.Answer(PromptButton::Ok);
    QTest::mouseClick(Offer(), Qt::LeftButton);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Critical);
    EXPECT_TRUE(prompts.asked[0].text.contains(dir.filePath(QStringLiteral("user"))));
    EXPECT_TRUE(form->DeckState().FileName().isEmpty());
    EXPECT_TRUE(Offer()->isVisible());
}

TEST_F(FirstStartTest, TheWindowCarriesTheProgramIconWithoutAnIconTheme) {
    const QStringList themes = QIcon::themeSearchPaths();
    QIcon::setThemeSearchPaths({dir.path()});
    TForm1 other(prompts, FixedDayClock(TestToday));
    QIcon::setThemeSearchPaths(themes);
    const QIcon icon = other.windowIcon();
    ASSERT_FALSE(icon.isNull());
    EXPECT_TRUE(icon.availableSizes().contains(QSize(16, 16)));
    EXPECT_TRUE(icon.availableSizes().contains(QSize(256, 256)));
}

// Without a media backend a card's sound shows no play button; the user is told once why and
// what to install, not at every card.
TEST_F(FirstStartTest, SoundsThatCannotBePlayedAreExplainedOnce) {
    for (const char *name : {"neko.wav", "inu.wav"})
        QFile(dir.filePath(QString::fromLatin1(name))).open(QIODevice::WriteOnly);
    form->Media().SetPlayerFactory([] { return std::unique_ptr<SoundPlayer>(); });
    OpenDeck({QStringLiteral("neko,猫\\n/neko.wav,,0,0,0,"),
              QStringLiteral("inu,犬\\n/inu.wav,,0,0,0,")});
    QApplication::processEvents();
    EXPECT_TRUE(prompts.asked.empty()) << "no sound shown yet";

    prompts.Answer(PromptButton::Ok);
    Click("btnSusume");
    QApplication::processEvents();
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Information);
    EXPECT_EQ(prompts.asked[0].text, SoundUnavailableMessage());
    EXPECT_TRUE(form->Cells().Pane(KindAnswer, 0)->SoundButton()->isHidden());

    Click("btnSusume");
    Click("btnSusume");
    QApplication::processEvents();
    EXPECT_EQ(Current(), QStringLiteral("inu"));
    EXPECT_EQ(prompts.asked.size(), 1u);
}
