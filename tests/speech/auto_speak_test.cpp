#include "settings/settings.h"
#include "speech/speech_output.h"
#include "speech/start_gate.h"
#include "support/fake_speech.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QStatusBar>
#include <QTest>

namespace {

const QStringList TwoCards{QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,")};

class AutoSpeakTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        fake = LastFakeSpeech();
        ASSERT_NE(fake, nullptr);
        EXPECT_EQ(fake->Take(), "Create Speak:.") << "the start-up test";
    }
    bool Marked(const char *item) const { return Find<QAction>(item)->isChecked(); }
    int Mode() const { return form->HeldSettings().speakEnglish; }

    FakeSpeech *fake = nullptr;
};

} // namespace

TEST_F(AutoSpeakTest, QuestionModeSpeaksEachQuestionAsItComesUp) {
    Trigger("men_Other_SpeakMondai");
    EXPECT_EQ(fake->Take(), "") << "choosing a mode speaks nothing at once";
    OpenDeck(TwoCards);
    EXPECT_EQ(fake->Take(), "Stop Speak:A");
    Click("btnSusume"); // reveals the answer
    EXPECT_EQ(fake->Take(), "");
    Click("btnSusume");
    EXPECT_EQ(fake->Take(), "Stop Speak:B");
}

TEST_F(AutoSpeakTest, AnswerModeSpeaksTheAnswerWhenItIsRevealed) {
    Trigger("men_Other_SpeakKaitou");
    OpenDeck(TwoCards);
    EXPECT_EQ(fake->Take(), "");
    Click("btnSusume");
    EXPECT_EQ(fake->Take(), "Stop Speak:a");
    Click("btnSusume"); // B's question: its answer is not visible yet
    EXPECT_EQ(fake->Take(), "");
}

TEST_F(AutoSpeakTest, SubPatternSpeaksTheAnswerOfEveryNewCard) {
    Trigger("men_Other_SpeakKaitou");
    form->ClickPanelPattern(1);
    OpenDeck(TwoCards);
    fake->Take();
    Click("btnSusume");
    EXPECT_EQ(fake->Take(), "Stop Speak:a");
    Click("btnSusume");
    EXPECT_EQ(fake->Take(), "Stop Speak:b");
}

TEST_F(AutoSpeakTest, ModeOffStillSilencesTheLastCard) {
    OpenDeck(TwoCards);
    EXPECT_EQ(fake->Take(), "Stop");
    Click("btnSusume");
    Click("btnSusume");
    EXPECT_EQ(fake->Take(), "Stop Stop");
}

TEST_F(AutoSpeakTest, FieldsAreSpokenAsTheCardStoresThem) {
    Trigger("men_Other_SpeakMondai");
    OpenDeck({QStringLiteral(",empty question,,0,0,0,"),
              QStringLiteral("\"\"\"りんご\"\"\\napple\",x,,0,0,0,")});
    EXPECT_EQ(fake->Take(), "Stop") << "an empty question: silence, nothing spoken";
    Click("btnSusume");
    Click("btnSusume");
    // Quotes and the line-break escape pass unchanged; Shift-JIS arrives as text.
    EXPECT_EQ(fake->Take(), "Stop Speak:\"\"\"りんご\"\"\\napple\"");
}

TEST_F(AutoSpeakTest, SpeechErrorsDuringAStepShowNothing) {
    Trigger("men_Other_SpeakMondai");
    OpenDeck(TwoCards);
    fake->Take();
    // The engine breaks after start-up: stop and speak fail from now on.
    fake->Edit().speakFails = true;
    fake->Edit().stopFails = true;
    Click("btnSusume");
    Click("btnSusume");
    EXPECT_EQ(fake->Take(), "Stop Speak:B");
    EXPECT_EQ(Text(1, 0), QStringLiteral("B"));
    EXPECT_TRUE(prompts.asked.empty());
}

// A text the engine fails to speak is told once in the status line, not again for every card.
TEST_F(AutoSpeakTest, AFailingTextIsToldOnceInTheStatusLine) {
    auto *status = Find<QStatusBar>("StatusBar1");
    Trigger("men_Other_SpeakMondai");
    OpenDeck(TwoCards);
    Click("btnSusume");
    EXPECT_NE(status->currentMessage(), SpeechOutput::CannotSpeakNotice()) << "speech works";
    fake->Edit().speakFails = true;
    Click("btnSusume");
    Click("btnSusume");
    EXPECT_EQ(status->currentMessage(), SpeechOutput::CannotSpeakNotice());
    status->clearMessage();
    Click("btnSusume");
    Click("btnSusume");
    EXPECT_TRUE(status->currentMessage().isEmpty());
    EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(AutoSpeakTest, TheTwoModeItemsExcludeEachOther) {
    Trigger("men_Other_SpeakKaitou");
    EXPECT_EQ(std::tuple(Mode(), Marked("men_Other_SpeakMondai"), Marked("men_Other_SpeakKaitou")),
              std::tuple(2, false, true));
    Trigger("men_Other_SpeakMondai");
    EXPECT_EQ(std::tuple(Mode(), Marked("men_Other_SpeakMondai"), Marked("men_Other_SpeakKaitou")),
              std::tuple(1, true, false));
    Trigger("men_Other_SpeakMondai");
    EXPECT_EQ(std::tuple(Mode(), Marked("men_Other_SpeakMondai"), Marked("men_Other_SpeakKaitou")),
              std::tuple(0, false, false));
}

TEST_F(AutoSpeakTest, AModeOutsideTheKnownOnesLeavesTheMarks) {
    Trigger("men_Other_SpeakKaitou");
    form->HeldSettings().speakEnglish = 5;
    form->Speech().UpdateMarks();
    EXPECT_TRUE(Marked("men_Other_SpeakKaitou"));
}

TEST_F(AutoSpeakTest, ModeItemsWorkOnlyWithSpeech) {
    auto *menu = Find<QMenu>("men_Other");
    Q_EMIT menu->aboutToShow();
    EXPECT_TRUE(Find<QAction>("men_Other_SpeakMondai")->isEnabled());
    fake->FailLate(); // the engine gave up while starting
    Q_EMIT menu->aboutToShow();
    EXPECT_FALSE(Find<QAction>("men_Other_SpeakMondai")->isEnabled());
    EXPECT_FALSE(Find<QAction>("men_Other_SpeakKaitou")->isEnabled());
    EXPECT_TRUE(Find<QAction>("men_Other_SpeakSetting")->isEnabled());
    // Nobody asked for speech: no notice about it.
    EXPECT_NE(Find<QStatusBar>("StatusBar1")->currentMessage(), SpeechOutput::CannotStartNotice());
}

// A stored mode on a machine without speech is turned off and stored off, however speech
// turns out to be missing.
TEST(SpeechStartUp, NoSpeechTurnsAStoredModeOff) {
    for (const char *how : {"create fails", "test text fails", "fails while starting"}) {
        SCOPED_TRACE(how);
        {
            QFile file(SettingsFilePath());
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("[Option]\r\nSpeakEnglish=2\r\n");
        }
        const QByteArray kind(how);
        NextFakeSpeech().createFails = kind == "create fails";
        NextFakeSpeech().speakFails = kind == "test text fails";
        ScriptedPrompts prompts;
        {
            TForm1 form(prompts);
            form.show();
            if (kind == "fails while starting") {
                EXPECT_TRUE(form.Speech().CanSpeak());
                EXPECT_TRUE(form.findChild<QAction *>(QStringLiteral("men_Other_SpeakKaitou"))
                                ->isChecked());
                LastFakeSpeech()->FailLate();
            }
            EXPECT_FALSE(form.Speech().CanSpeak());
            EXPECT_FALSE(
                form.findChild<QAction *>(QStringLiteral("men_Other_SpeakKaitou"))->isChecked());
            // The learner asked for speech, so the status line says it is missing.
            EXPECT_EQ(form.findChild<QStatusBar *>()->currentMessage(),
                      SpeechOutput::CannotStartNotice());
            form.close();
        }
        QFile file(SettingsFilePath());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll().contains("SpeakEnglish=0\r\n"));
        EXPECT_TRUE(prompts.asked.empty());
    }
}

// The engine loads only after the first paint: start-up holds it back, the drawn window lets
// it go, and the window works meanwhile.
TEST(SpeechStartUp, TheEngineLoadsOnceTheWindowIsDrawn) {
    ScriptedPrompts prompts;
    speech_start::Hold();
    TForm1 form(prompts);
    EXPECT_TRUE(speech_start::Held()) << "not before the window is drawn";
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    EXPECT_TRUE(QTest::qWaitFor([] { return !speech_start::Held(); }, 5000));
    form.close();
    speech_start::Release(); // whatever happened, the next tests start freely
}

TEST(SpeechStartUp, TheChosenModeIsStoredAndComesBack) {
    ScriptedPrompts prompts;
    {
        TForm1 form(prompts);
        form.show();
        form.findChild<QAction *>(QStringLiteral("men_Other_SpeakMondai"))->trigger();
        form.close();
    }
    TForm1 again(prompts);
    EXPECT_EQ(again.HeldSettings().speakEnglish, 1);
    EXPECT_TRUE(again.findChild<QAction *>(QStringLiteral("men_Other_SpeakMondai"))->isChecked());
    EXPECT_TRUE(prompts.asked.empty());
}
