#include "support/window_fixture.h"

#include "edit/add_card_dialog.h"
#include "settings/settings.h"
#include "view/card_view.h"
#include "view/hint_table.h"
#include "view/hint_tracker.h"

#include <QAction>
#include <QApplication>
#include <QEnterEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <QToolTip>

namespace {

const QString RecordHint =
    QStringLiteral("これまでの正誤記録を表示しています。\n[　]内は、再出題されるまでの日数です。");

// What a pointer resting on `widget` shows as its tooltip (empty when nothing shows).
QString ToolTipOver(QWidget *widget) {
    // Qt hides a tooltip after a pause; the test wants it gone at once.
    for (QWidget *topLevel : QApplication::topLevelWidgets())
        if (topLevel->inherits("QTipLabel"))
            topLevel->hide();
    const QPoint at = widget->rect().center();
    QHelpEvent event(QEvent::ToolTip, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
}

void EnterWith(QWidget *widget) {
    const QPointF at(2, 2);
    QEnterEvent event(at, at, widget->mapToGlobal(at));
    QApplication::sendEvent(widget, &event);
}

} // namespace

TEST(HintSplitTest, SplitsAtTheFirstBarAndBreaksTooltipLines) {
    const HintParts control = SplitHint(QStringLiteral("一行目\r二行目|"));
    EXPECT_EQ(control.toolTip, QStringLiteral("一行目\n二行目"));
    EXPECT_EQ(control.statusTip, QString());

    const HintParts menu = SplitHint(QStringLiteral("問題ﾌｧｲﾙを開く"));
    EXPECT_EQ(menu.toolTip, QStringLiteral("問題ﾌｧｲﾙを開く"));
    EXPECT_EQ(menu.statusTip, QStringLiteral("問題ﾌｧｲﾙを開く"));

    const HintParts both = SplitHint(QStringLiteral("上|下|もう一つ"));
    EXPECT_EQ(both.toolTip, QStringLiteral("上"));
    EXPECT_EQ(both.statusTip, QStringLiteral("下|もう一つ"));
}

class HintsTest : public WindowTest {
protected:
    QString Status() const { return Find<QStatusBar>("StatusBar1")->currentMessage(); }
    QMenu *FileMenu() const { return Find<QMenu>("File1"); }
    void Highlight(QMenu *menu, const char *actionName) {
        menu->popup(form->mapToGlobal(QPoint(20, 20)));
        menu->setActiveAction(Find<QAction>(actionName));
    }
};

TEST_F(HintsTest, EveryNamedControlAndMenuEntryExists) {
    EXPECT_EQ(ApplyHints(*form, MainWindowHints()), QStringList());
}

TEST_F(HintsTest, EveryMainMenuEntryButTheRecentFilesHasAStatusHint) {
    QStringList withoutHint;
    QList<QAction *> actions = form->menuBar()->actions();
    for (const QMenu *menu : form->menuBar()->findChildren<QMenu *>())
        actions += menu->actions();
    for (const QAction *action : actions) {
        const bool recent = action->objectName().startsWith(QStringLiteral("men_File_")) &&
                            action->objectName().size() == 10;
        if (!action->isSeparator() && !recent && action->statusTip().isEmpty())
            withoutHint << action->objectName() + u'=' + action->text();
    }
    EXPECT_GT(actions.size(), 40);
    EXPECT_EQ(withoutHint, QStringList());
    EXPECT_EQ(Find<QAction>("men_Other_Speak")->statusTip(),
              QStringLiteral("espeak-ng による音声再生"));
    EXPECT_TRUE(Find<QAction>("men_File_1")->statusTip().isEmpty());
}

TEST_F(HintsTest, HighlightedMenuEntryShowsItsHintAndRecentEntryOrControlEmptiesIt) {
    form->findChild<QAction *>(QStringLiteral("men_File_1"))->setText(QStringLiteral("/tmp/a.csv"));
    form->findChild<QAction *>(QStringLiteral("men_File_1"))->setVisible(true);

    Highlight(FileMenu(), "men_File_Open");
    EXPECT_EQ(Status(), QStringLiteral("問題ﾌｧｲﾙを開く"));
    FileMenu()->setActiveAction(Find<QAction>("men_File_1"));
    EXPECT_EQ(Status(), QString());

    FileMenu()->setActiveAction(Find<QAction>("men_File_Save"));
    EXPECT_EQ(Status(), QStringLiteral("学習記録・編集内容などの保存"));
    FileMenu()->hide();
    EnterWith(Find<QWidget>("btnSusume"));
    EXPECT_EQ(Status(), QString());

    // The card boxes' context menu has no hints: its entries empty the status line too.
    Highlight(FileMenu(), "Exit1");
    FileMenu()->hide();
    Highlight(Find<QMenu>("PopupMenu1"), "pop_SetSiori");
    EXPECT_EQ(Status(), QString());
    Find<QMenu>("PopupMenu1")->hide();
}

TEST_F(HintsTest, SubmenuEntryHintReachesTheStatusLine) {
    QMenu *speak = Find<QMenu>("men_Other_Speak");
    Highlight(speak, "men_Other_SpeakKaitou");
    EXPECT_EQ(Status(), QStringLiteral("解答の発音を聞く"));
    speak->hide();
}

TEST_F(HintsTest, ControlsShowTheirExplanationWhileHelpCommentsAreOn) {
    const QString dekita = ToolTipOver(Find<QWidget>("btnDekita"));
    EXPECT_TRUE(dekita.startsWith(QStringLiteral("正解だった場合、ここを押します。\n\n不正解")))
        << dekita.toStdString();
    EXPECT_FALSE(dekita.contains(u'|'));
    EXPECT_FALSE(dekita.contains(u'\r'));

    // Every kind of card box in both patterns explains editing.
    for (auto [kind, row] : {std::pair{1, 0}, {2, 0}, {3, 0}, {1, 5}, {2, 3}}) {
        const QString tip = ToolTipOver(Memo(kind, row)->viewport());
        EXPECT_TRUE(tip.startsWith(QStringLiteral("内容を編集するには、枠内に書き込みます。")))
            << kind << ' ' << row;
    }
    // The arrow captions have no hint of their own: the panel around them explains.
    EXPECT_TRUE(ToolTipOver(Find<QWidget>("Label4"))
                    .startsWith(QStringLiteral("ここをﾁｪｯｸすると、ｷｰﾎﾞｰﾄﾞの方向ｷｰ")));
    EXPECT_EQ(ToolTipOver(Find<QWidget>("fBangou")), RecordHint);
}

TEST_F(HintsTest, HelpCommentsOffLeaveOnlyTheRecordLabels) {
    Trigger("men_Help_Comment");
    EXPECT_FALSE(Find<QAction>("men_Help_Comment")->isChecked());
    for (const char *name : {"btnDekita", "btnSusume", "SelectBox", "Label3", "Num_Now"})
        EXPECT_EQ(ToolTipOver(Find<QWidget>(name)), QString()) << name;
    EXPECT_EQ(ToolTipOver(Memo(2, 0)->viewport()), QString());
    EXPECT_EQ(ToolTipOver(Find<QWidget>("fBangou")), RecordHint);
    EXPECT_EQ(ToolTipOver(Find<QWidget>("fBangou2")), RecordHint);

    // Switching back restores the check mark and the tooltips.
    Trigger("men_Help_Comment");
    EXPECT_TRUE(Find<QAction>("men_Help_Comment")->isChecked());
    EXPECT_FALSE(ToolTipOver(Find<QWidget>("btnDekita")).isEmpty());
    EXPECT_FALSE(ToolTipOver(Memo(2, 0)->viewport()).isEmpty());
}

TEST_F(HintsTest, HelpCommentModeSurvivesARestart) {
    Trigger("men_Help_Comment");
    form->close();
    EXPECT_FALSE(LoadSettings(SettingsFilePath()).helpComment);

    form = std::make_unique<TForm1>(prompts, FixedDayClock(TestToday));
    EXPECT_FALSE(Find<QAction>("men_Help_Comment")->isChecked());
    EXPECT_EQ(ToolTipOver(Find<QWidget>("btnDekita")), QString());
    EXPECT_EQ(ToolTipOver(Find<QWidget>("fBangou")), RecordHint);
}

// The add-card dialog takes its hints and the mode each time it opens.
TEST_F(HintsTest, AddDialogFollowsTheModeAtEachOpening) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,")});
    auto tipsInDialog = [this] {
        QStringList tips;
        QTimer::singleShot(0, form.get(), [this, &tips] {
            auto *dialog = form->findChild<TForm3 *>();
            ASSERT_TRUE(dialog && dialog->isVisible());
            tips << ToolTipOver(dialog->findChild<QPlainTextEdit *>(QStringLiteral("form3_Mondai"))
                                    ->viewport())
                 << ToolTipOver(dialog->findChild<QWidget *>(QStringLiteral("form3_CheckEnter")))
                 << ToolTipOver(dialog->findChild<QWidget *>(QStringLiteral("form3_RadioTuika_0")));
            dialog->reject();
        });
        Trigger("men_Card_Insert");
        return tips;
    };

    const QStringList on = tipsInDialog();
    ASSERT_EQ(on.size(), 3);
    EXPECT_EQ(on[0], QStringLiteral("追加する問題や解答を入力します。\n省略して、後から入力すること"
                                    "もできます。"));
    EXPECT_EQ(on[1], QStringLiteral("ここをﾁｪｯｸすると、EnterｷｰでOKとなります。"));
    // The position buttons explain themselves through their group.
    EXPECT_TRUE(on[2].startsWith(QStringLiteral("例えば、「最初」を選ぶと")))
        << on[2].toStdString();

    Trigger("men_Help_Comment");
    EXPECT_EQ(tipsInDialog(), QStringList({QString(), QString(), QString()}));
    Trigger("men_Help_Comment");
    EXPECT_EQ(tipsInDialog().value(1), on[1]);
}

// A window without a switch of its own (a message box, a file dialog) keeps Qt's tooltips.
TEST(HintTrackerTest, WindowsWithoutASwitchAreLeftAlone) {
    QWidget window;
    QWidget child(&window);
    child.setToolTip(QStringLiteral("そのまま"));
    EXPECT_FALSE(ToolTipSwitch(&child));
    SetToolTipSwitch(&window, true);
    EXPECT_TRUE(ToolTipSwitch(&child));
    SetToolTipSwitch(&child, false);
    EXPECT_EQ(ToolTipFor(&child), QString());
    child.setParent(nullptr);
}
