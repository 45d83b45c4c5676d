#include "app/tform1.h"
#include "settings/ini_file.h"
#include "settings/settings.h"
#include "ui/scripted_prompts.h"
#include "view/card_view.h"

#include <QAction>
#include <QFile>
#include <QFontMetrics>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

namespace {

void WriteSettingsFile(const QByteArray &bytes) {
    QFile file(SettingsFilePath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

IniFile SettingsFile() {
    QFile file(SettingsFilePath());
    return IniFile(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
}

// One run of the program on the test's settings file, from start-up to close.
struct Session {
    ScriptedPrompts prompts;
    std::unique_ptr<TForm1> form = std::make_unique<TForm1>(prompts);
    Session() {
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        QTest::qWait(20); // the frame is fitted after the window is shown
    }
    ~Session() {
        if (form->isVisible())
            form->close();
    }
};

} // namespace

// The test platform frames its windows, as a window manager does.
TEST(WindowFrame, LayoutAndStoredSizeCountTheFrame) {
    WriteSettingsFile("[Form]\nTop=50\nLeft=60\nWidth=567\nHeigth=554\n[Option]\nPanelPattern=1\n");
    {
        Session run;
        TForm1 &form = *run.form;
        const QRect outer = form.frameGeometry();
        ASSERT_GT(outer.height(), form.height()) << "no frame to test with";
        EXPECT_EQ(outer.size(), QSize(567, 554));
        EXPECT_EQ(form.OuterHeight(), 554);
        EXPECT_EQ(form.OuterWidth(), 567);
        // The sub rows follow the outer size: (554 - 72) / 5 = 96 and (567 - 100 - 10) / 2 = 228.
        EXPECT_EQ(form.Cells().Pane(KindQuestion, 5)->geometry(), QRect(0, 384, 223, 95));
        EXPECT_EQ(form.Cells().Pane(KindAnswer, 5)->geometry(), QRect(225, 384, 230, 95));
        // The smallest window is counted with its frame too.
        form.resize(10, 10);
        EXPECT_EQ(form.frameGeometry().size(), QSize(350, 430));
    }
    // Two restarts later the window is where and as large as it was; nothing grows by a frame.
    for (int restart = 0; restart < 2; ++restart) {
        Session run;
        EXPECT_EQ(run.form->frameGeometry(), QRect(QPoint(60, 50), QSize(350, 430))) << restart;
    }
    EXPECT_EQ(SettingsFile().ReadInteger("Form", "Width", 0), 350);
    EXPECT_EQ(SettingsFile().ReadInteger("Form", "Heigth", 0), 430);
    EXPECT_EQ(SettingsFile().ReadInteger("Form", "Left", 0), 60);
}

TEST(WindowFrame, AQuestionPaneTallerThanTheWindowLeavesTheAnswerAFewLines) {
    WriteSettingsFile("[Option]\nPanelPattern=0\n[MainPanel]\nMondai_Height=5000\n"
                      "[FontK]\nSize=24\n");
    Session run;
    const TMyMemo *answer = run.form->Cells().Memo(KindAnswer, 0);
    const int lines = QFontMetrics(answer->font()).lineSpacing();
    EXPECT_GE(answer->height(), 3 * lines);
    EXPECT_TRUE(answer->isVisible());
    // A larger answer font asks for more room.
    run.form->findChild<QAction *>(QStringLiteral("mem_Font_36"))->trigger();
    EXPECT_GE(answer->height(), 3 * QFontMetrics(answer->font()).lineSpacing());
}
