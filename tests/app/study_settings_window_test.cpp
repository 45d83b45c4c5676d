#include "app/tform1.h"
#include "drill/drill.h"
#include "overview/study_settings_dialog.h"
#include "settings/ini_file.h"
#include "settings/settings.h"
#include "support/settings_file.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QStringList NewCards(int count) {
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << QStringLiteral("単語%1,word%1,,0,0,0,").arg(i);
    return lines;
}

// A window on a given day, its settings read from the file the test wrote.
struct DayWindow {
    ScriptedPrompts prompts;
    TForm1 form;
    explicit DayWindow(qint32 day) : form(prompts, FixedDayClock(day)) {
        form.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&form));
    }
    ~DayWindow() {
        prompts.Answer(PromptButton::No);
        form.close();
    }
    QString Status() const {
        const QLabel *label = form.findChild<QLabel *>(QStringLiteral("NewCardStatus"));
        return label && !label->isHidden() ? label->text() : QString();
    }
    // Shows the answer, then できた (which moves on to the next card).
    void Right() {
        form.ClickSusume();
        form.ClickDekita();
    }
};

TEST(StudySettingsWindow, TwoDaysWithALimitAndTheModelKeepTheDeckFormat) {
    QTemporaryDir dir;
    const QString path = WriteDeck(dir, QStringLiteral("words.csv"), NewCards(30));
    WriteSettingsFile("[Option]\r\nNewCardsPerDay=3\r\nScheduler=1\r\n");
    {
        DayWindow day1(TestToday);
        day1.form.OpenDeckFile(path);
        EXPECT_EQ(day1.form.DrillState().Queue().size(), 3u);
        EXPECT_EQ(day1.Status(), QStringLiteral("新規 0/3"));
        day1.Right();
        day1.Right();
        EXPECT_EQ(day1.Status(), QStringLiteral("新規 2/3"));
        // The model's first Good: 3 days at 90 %, so the card is asked again on day + 3.
        EXPECT_EQ(day1.form.DeckState().Cards()[0]->Jikan, TestToday + 2);
        // 学習状況 shows the same count and what the model predicts of the two cards it knows.
        day1.form.findChild<QAction *>(QStringLiteral("men_Keisan_Progress"))->trigger();
        auto *overview = day1.form.findChild<QWidget *>(QStringLiteral("OverviewWindow"));
        ASSERT_NE(overview, nullptr);
        EXPECT_EQ(overview->findChild<QLabel *>(QStringLiteral("ov_NewCards"))->text(),
                  QStringLiteral("新規 2/3"));
        EXPECT_EQ(
            overview->findChild<QLabel *>(QStringLiteral("ov_Recall"))->text(),
            QStringLiteral("今日思い出せる見込み 平均 100.0 %（2 枚）／ 目標 90 % 未満 0 枚"));
        overview->close();
        day1.form.Document().Save();
    }
    {
        DayWindow again(TestToday); // a restart the same day: one new card left
        again.form.OpenDeckFile(path);
        EXPECT_EQ(again.form.DrillState().Queue().size(), 1u);
        EXPECT_EQ(again.Status(), QStringLiteral("新規 2/3"));
    }
    {
        DayWindow day2(TestToday + 1);
        day2.form.OpenDeckFile(path);
        EXPECT_EQ(day2.form.DrillState().Queue().size(), 3u);
        EXPECT_EQ(day2.Status(), QStringLiteral("新規 0/3"));
    }
    const QStringList lines = ReadDeck(path);
    ASSERT_EQ(lines.size(), 30);
    EXPECT_EQ(lines[0], QStringLiteral("単語1,word1,,%1,1,0,正").arg(TestToday + 2));
    EXPECT_EQ(lines[2], QStringLiteral("単語3,word3,,0,0,0,"));
    const IniFile ini(SettingsFileBytes());
    EXPECT_EQ(ini.ReadInteger("Option", "NewCardsPerDay", 0), 3);
    EXPECT_EQ(ini.ReadInteger("Option", "Scheduler", 0), 1);
}

TEST(StudySettingsWindow, TheDialogSetsTheLimitAndTheRuleAndTheyAreKept) {
    QTemporaryDir dir;
    const QString path = WriteDeck(dir, QStringLiteral("words.csv"), NewCards(8));
    {
        DayWindow window(TestToday);
        window.form.OpenDeckFile(path);
        EXPECT_EQ(window.form.DrillState().Queue().size(), 8u);
        EXPECT_EQ(window.Status(), QString());
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<StudySettingsDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->findChild<QSpinBox *>(QStringLiteral("ss_NewCards"))->setValue(5);
            dialog->findChild<QRadioButton *>(QStringLiteral("ss_Model"))->setChecked(true);
            EXPECT_TRUE(dialog->findChild<QSpinBox *>(QStringLiteral("ss_Retention"))->isEnabled());
            dialog->findChild<QSpinBox *>(QStringLiteral("ss_Retention"))->setValue(80);
            dialog->accept();
        });
        window.form.findChild<QAction *>(QStringLiteral("men_Other_Study"))->trigger();
        EXPECT_EQ(window.form.DrillState().Queue().size(), 5u);
        EXPECT_EQ(window.Status(), QStringLiteral("新規 0/5"));
        window.Right(); // at 80 %: S = 3.173 gives 8 days
        EXPECT_EQ(window.form.DeckState().Cards()[0]->Jikan, TestToday + 7);
    }
    const IniFile ini(SettingsFileBytes());
    EXPECT_EQ(ini.ReadInteger("Option", "NewCardsPerDay", 0), 5);
    EXPECT_EQ(ini.ReadInteger("Option", "Scheduler", 0), 1);
    EXPECT_EQ(ini.ReadInteger("Option", "DesiredRetention", 0), 80);
}

} // namespace
