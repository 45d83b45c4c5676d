#include "app/tform1.h"
#include "drill/drill.h"
#include "settings/ini_file.h"
#include "settings/settings.h"
#include "support/settings_file.h"
#include "ui/scripted_prompts.h"
#include "view/card_view.h"
#include "view/drill_controls.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Session {
    ScriptedPrompts prompts;
    TForm1 form{prompts};

    explicit Session(bool show = true) {
        if (show) {
            form.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
        }
    }
    // A window still on screen is closed the normal way before it is destroyed.
    ~Session() {
        if (form.isVisible())
            form.close();
    }
    void Close() { EXPECT_TRUE(form.close()); }
    template <typename T> T *Find(const char *name) {
        return form.findChild<T *>(QString::fromLatin1(name));
    }
};

} // namespace

TEST(WindowSettings, ARestartBringsBackWhatTheUserLeft) {
    QRect outer;
    {
        Session first;
        first.form.move(120, 80);
        first.form.resize(600, 500);
        first.form.ClickPanelPattern(0);
        first.form.Cells().SetMondaiHeight(150);
        first.Find<QAction>("men_Set_jyunRandom")->trigger();
        first.Find<QCheckBox>("ArrowCheck")->click();
        first.Find<QCheckBox>("AutoSaveCheck")->click();
        QTest::qWait(10);
        EXPECT_EQ(first.form.Cells().MondaiHeight(), 150);
        outer = first.form.frameGeometry();
        first.Close();
    }
    {
        Session second;
        TForm1 &form = second.form;
        QTest::qWait(20); // the frame is fitted after the window is shown
        EXPECT_EQ(form.frameGeometry(), outer);
        EXPECT_EQ(form.DrillState().DisplayPattern(), PatternMain);
        EXPECT_EQ(form.DrillState().Jyun(), 1);
        EXPECT_TRUE(second.Find<QAction>("men_Set_jyunRandom")->isChecked());
        EXPECT_FALSE(form.Controls().ArrowKeys());
        EXPECT_FALSE(second.Find<QCheckBox>("ArrowCheck")->isChecked());
        EXPECT_TRUE(form.Controls().AutoSave());
        EXPECT_TRUE(second.Find<QCheckBox>("AutoSaveCheck")->isChecked());
        EXPECT_EQ(form.Cells().MondaiHeight(), 150);
        // The sub pattern hides the question pane; its height must still survive.
        form.ClickPanelPattern(2);
        second.Close();
    }
    Session third;
    EXPECT_EQ(third.form.DrillState().DisplayPattern(), PatternSub);
    EXPECT_EQ(third.form.DrillState().SubRows(), 3);
    EXPECT_EQ(third.form.HeldSettings().mondaiHeight, 150);
    third.Close();
    EXPECT_EQ(IniFile(SettingsFileBytes()).ReadInteger("MainPanel", "Mondai_Height", 0), 150);
    EXPECT_EQ(IniFile(SettingsFileBytes()).ReadInteger("Form", "Count", 0), 3);
}

TEST(WindowSettings, ValuesWithoutAControlYetAreWrittenBackUnchanged) {
    const QByteArray original = "; mine\r\n[TuikaDialog]\r\nTuikaWidth=300\r\nTuikaHeight=500\r\n"
                                "[Font]\r\nAlignment=7\r\n[Mine]\r\nkeep=1\r\n";
    WriteSettingsFile(original);
    {
        Session session;
        EXPECT_EQ(session.form.HeldSettings().tuikaWidth, 300);
        EXPECT_EQ(session.form.HeldSettings().tuikaHeight, 500);
        session.Close();
    }
    const QByteArray written = SettingsFileBytes();
    EXPECT_TRUE(
        written.startsWith("; mine\r\n[TuikaDialog]\r\nTuikaWidth=300\r\nTuikaHeight=500\r\n"));
    EXPECT_TRUE(written.contains("\r\n[Font]\r\nAlignment=7\r\n"));
    EXPECT_TRUE(written.contains("\r\n[Mine]\r\nkeep=1\r\n"));
    Session again;
    EXPECT_EQ(again.form.HeldSettings().tuikaWidth, 300);
    EXPECT_EQ(again.form.HeldSettings().tuikaHeight, 500);
    EXPECT_EQ(again.form.HeldSettings().alignment, 7);
}

TEST(WindowSettings, RecentFileEntriesFollowTheirKeys) {
    WriteSettingsFile("[FileName_]\n5=/decks/a.txt\n6=\n7=/decks/c.txt\n");
    {
        Session session(false);
        EXPECT_TRUE(session.Find<QAction>("men_File_1")->isVisible());
        EXPECT_EQ(session.Find<QAction>("men_File_1")->text(), QStringLiteral("/decks/a.txt"));
        EXPECT_FALSE(session.Find<QAction>("men_File_2")->isVisible());
        EXPECT_TRUE(session.Find<QAction>("men_File_3")->isVisible());
        EXPECT_FALSE(session.Find<QAction>("men_File_4")->isVisible());
        session.Close();
    }
    const IniFile written(SettingsFileBytes());
    EXPECT_EQ(written.ReadString("FileName_", "5"), "/decks/a.txt");
    EXPECT_EQ(written.ReadString("FileName_", "7"), "/decks/c.txt");
    EXPECT_EQ(written.ReadValue("FileName_", "9"), QByteArray());
}

TEST(WindowSettings, GarbageAndAnOffScreenPositionStillGiveAUsableWindow) {
    WriteSettingsFile("[Form]\nTop=-90000\nLeft=0x7FFFFFFF\nWidth=99999999\nHeigth=12\n"
                      "Count=zero\n[Option]\nPanelPattern=7\nJyun=-1\n[MainPanel]\n"
                      "Mondai_Height=-5\n");
    Session session;
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_TRUE(screen.intersects(session.form.frameGeometry()));
    EXPECT_GE(session.form.frameGeometry().height(), 430);
    EXPECT_LE(session.form.width(), screen.width());
    EXPECT_EQ(session.form.DrillState().DisplayPattern(), PatternSub);
    EXPECT_EQ(session.form.DrillState().SubRows(), 5);
    EXPECT_EQ(session.form.DrillState().Jyun(), 0);
    session.Close();
}

TEST(WindowSettings, AFailedWriteIsReportedAndTheWindowStillCloses) {
    const QString blocked = SettingsFilePath() + QStringLiteral("/kardeon.ini");
    WriteSettingsFile("[Form]\nTop=100\n"); // a file, so nothing can be created below it
    SetSettingsFilePath(blocked);
    Session session;
    session.prompts.Answer(PromptButton::Ok);
    session.Close();
    EXPECT_FALSE(session.form.isVisible());
    ASSERT_EQ(session.prompts.asked.size(), 1u);
    EXPECT_EQ(session.prompts.asked[0].text, blocked + QStringLiteral(" に書き込めません"));
    EXPECT_EQ(session.prompts.asked[0].icon, PromptIcon::Critical);
}
