#include "speech/espeak_speech.h"
#include "speech/speech_engine.h"
#include "speech/speech_output.h"
#include "speech/tform2.h"
#include "support/fake_speech.h"
#include "support/window_fixture.h"

#include <QComboBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

class VoiceDialogTest : public WindowTest {
protected:
    void SetUp() override {
        NextFakeSpeech().current = 2;
        WindowTest::SetUp();
        fake = LastFakeSpeech();
        fake->Take();
    }

    // Opens the dialog from the menu and runs `act` on it while it is shown; `act` closes it.
    // A dialog `act` leaves open is cancelled, so no test can hang on it.
    void RunDialog(const std::function<void(TForm2 &)> &act) {
        bool ran = false;
        QTimer::singleShot(0, form.get(), [this, &act, &ran] {
            TForm2 *dialog = form->Speech().VoiceDialog();
            ASSERT_NE(dialog, nullptr);
            ran = true;
            EXPECT_TRUE(dialog->isVisible());
            EXPECT_TRUE(form->Speech().VoiceDialogOpen());
            act(*dialog);
            if (dialog->isVisible())
                dialog->reject();
        });
        Trigger("men_Other_SpeakSetting");
        EXPECT_TRUE(ran);
        EXPECT_FALSE(form->Speech().VoiceDialogOpen());
    }
    static QComboBox *List(TForm2 &dialog) {
        return dialog.findChild<QComboBox *>(QStringLiteral("form2_SelectVoice_ComboBox"));
    }
    static QStringList Entries(TForm2 &dialog) {
        QStringList entries;
        for (int i = 0; i < List(dialog)->count(); ++i)
            entries << List(dialog)->itemText(i);
        return entries;
    }
    static void Press(TForm2 &dialog, const char *button) {
        QTest::mouseClick(dialog.findChild<QPushButton *>(QString::fromLatin1(button)),
                          Qt::LeftButton);
    }

    FakeSpeech *fake = nullptr;
};

const std::string TestSpoken = "Speak:Hello! I can speak English.\n";

} // namespace

TEST_F(VoiceDialogTest, OpensBesideTheWindowWithTheCurrentVoice) {
    form->move(200, 150);
    RunDialog([this](TForm2 &dialog) {
        EXPECT_EQ(dialog.pos(), form->pos() + QPoint(70, 40));
        EXPECT_EQ(dialog.size(), QSize(326, 344));
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("音声の選択"));
        EXPECT_EQ(Entries(dialog),
                  QStringList({QStringLiteral("Voice A [a]"), QStringLiteral("Voice B [b]"),
                               QStringLiteral("Voice C [c]")}));
        EXPECT_EQ(List(dialog)->currentIndex(), 1);
    });
    EXPECT_EQ(fake->Take(), "Select:2") << "closing selects the voice of the opening";
}

TEST_F(VoiceDialogTest, CancelReturnsToTheVoiceOfTheOpening) {
    RunDialog([this](TForm2 &dialog) {
        QTest::keyClick(List(dialog), Qt::Key_Down); // tries voice 3
        EXPECT_EQ(fake->Take(), "Select:3 " + TestSpoken);
        QTest::keyClick(&dialog, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(fake->Take(), "Select:2");
    EXPECT_EQ(fake->CurrentVoice(), 2);
}

TEST_F(VoiceDialogTest, OkKeepsTheVoiceTried) {
    RunDialog([this](TForm2 &dialog) {
        QTest::keyClick(List(dialog), Qt::Key_Down);
        fake->Take();
        Press(dialog, "d_bOK");
    });
    EXPECT_EQ(fake->Take(), "Select:3");
    EXPECT_EQ(fake->CurrentVoice(), 3);
}

TEST_F(VoiceDialogTest, AVoiceThatFailsIsReportedAndTheListGoesBack) {
    fake->Edit().failingVoices = {3};
    prompts.Answer(PromptButton::Yes);
    RunDialog([this](TForm2 &dialog) {
        QTest::keyClick(List(dialog), Qt::Key_Down);
        EXPECT_EQ(fake->Take(), "Select:3") << "nothing spoken with a voice that failed";
        EXPECT_EQ(List(dialog)->currentIndex(), 1);
        QTest::keyClick(List(dialog), Qt::Key_Return); // Enter is OK
        EXPECT_FALSE(dialog.isVisible());
    });
    ASSERT_EQ(prompts.asked.size(), 1u);
    const MessageRequest &box = prompts.asked.front();
    EXPECT_EQ(box.title, QStringLiteral("確認"));
    EXPECT_EQ(box.icon, PromptIcon::Question);
    EXPECT_EQ(box.text, QStringLiteral("再生できません。\n他の音声を選択してみて下さい。"));
    EXPECT_EQ(box.buttons, std::vector<PromptButton>{PromptButton::Yes});
    EXPECT_EQ(fake->Take(), "Select:2");
}

TEST_F(VoiceDialogTest, AVoiceThatCannotSpeakIsReportedToo) {
    fake->Edit().speakFails = true;
    prompts.Answer(PromptButton::Yes);
    RunDialog([this](TForm2 &dialog) {
        QTest::keyClick(List(dialog), Qt::Key_Up);
        EXPECT_EQ(List(dialog)->currentIndex(), 1);
    });
    EXPECT_EQ(prompts.asked.size(), 1u);
}

TEST_F(VoiceDialogTest, HelpBeginsWithTheVoiceListAdvice) {
    RunDialog([](TForm2 &dialog) {
        const QStringList lines =
            dialog.findChild<QPlainTextEdit *>(QStringLiteral("form2_Memo_Help"))
                ->toPlainText()
                .split(QLatin1Char('\n'));
        ASSERT_GE(lines.size(), 5);
        EXPECT_EQ(lines[0], QStringLiteral("　正しく再生されない場合、音声の選択を見直してみてく"));
        EXPECT_EQ(lines[3], QString());
        EXPECT_TRUE(lines.join(QString()).contains(QStringLiteral("apt install espeak-ng")));
    });
}

// Without espeak-ng's data the engine does not start: the program runs silent, and the dialog
// says there is no voice.
TEST(VoiceDialogWithoutSpeech, ListsNoVoiceAndChangesNothing) {
    QTemporaryDir emptyData;
    SetSpeechFactory([&emptyData] {
        return std::make_unique<EspeakSpeech>(EspeakSpeech::SampleSink(),
                                              emptyData.path().toLocal8Bit());
    });
    ScriptedPrompts prompts;
    {
        TForm1 form(prompts);
        SetSpeechFactory({});
        UseFakeSpeech();
        form.show();
        EXPECT_FALSE(form.Speech().CanSpeak());
        bool ran = false;
        QTimer::singleShot(0, &form, [&form, &ran] {
            TForm2 *dialog = form.Speech().VoiceDialog();
            ASSERT_NE(dialog, nullptr);
            ran = true;
            auto *list = dialog->findChild<QComboBox *>();
            ASSERT_EQ(list->count(), 1);
            EXPECT_EQ(list->itemText(0), TForm2::NoVoiceText(TForm2::NoVoice::NoSpeech));
            QTest::keyClick(list, Qt::Key_Down); // picking it does nothing
            dialog->accept();
        });
        form.findChild<QAction *>(QStringLiteral("men_Other_SpeakSetting"))->trigger();
        EXPECT_TRUE(ran);
        form.close();
    }
    EXPECT_TRUE(prompts.asked.empty());
}

// An empty voice list says why: no engine, no voice data, no voices, or an unreadable list.
TEST(VoiceDialogWithoutVoices, TheListSaysWhy) {
    QTemporaryDir data;
    QDir(data.path()).mkpath(QStringLiteral("voices"));
    struct Case {
        const char *what;
        bool speech;
        QStringList voices;
        QString folder;
        TForm2::NoVoice reason;
    };
    const QStringList unreadable{QStringLiteral("A"), QStringLiteral("B")};
    const std::vector<Case> cases{
        {"no engine, data there", false, {}, data.path(), TForm2::NoVoice::NoSpeech},
        {"no engine, no data",
         false,
         {},
         data.filePath(QStringLiteral("gone")),
         TForm2::NoVoice::NoDataFolder},
        {"engine without voices", true, {}, data.path(), TForm2::NoVoice::EmptyList},
        {"engine whose list breaks", true, unreadable, data.path(), TForm2::NoVoice::Unreadable},
    };
    ScriptedPrompts prompts;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        FakeSpeech::Script script;
        script.voices = c.voices;
        FakeSpeech speech(script);
        speech.Edit().listFails = c.reason == TForm2::NoVoice::Unreadable;
        TForm2 dialog(prompts);
        dialog.SetDataFolder(c.folder);
        dialog.FillVoices(c.speech ? &speech : nullptr);
        auto *list = dialog.findChild<QComboBox *>();
        ASSERT_EQ(list->count(), 1);
        EXPECT_EQ(list->itemText(0), TForm2::NoVoiceText(c.reason));
        QTest::keyClick(list, Qt::Key_Down); // picking it tries nothing
        EXPECT_EQ(speech.Take(), "");
    }
    EXPECT_TRUE(prompts.asked.empty());
    // Each reason reads differently, and none is the old catch-all.
    QSet<QString> texts;
    for (const Case &c : cases)
        texts << TForm2::NoVoiceText(c.reason);
    EXPECT_EQ(texts.size(), int(cases.size()));
    EXPECT_FALSE(texts.contains(QStringLiteral("登録されていません")));
}
