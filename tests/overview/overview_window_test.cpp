#include "overview/learning_progress.h"
#include "overview/overview_charts.h"
#include "support/window_fixture.h"
#include "view/list_grid.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>

#include <cmath>

namespace {

class OverviewWindowTest : public WindowTest {
protected:
    OverviewWindow *Open() {
        Trigger("men_Keisan_Progress");
        auto *window = form->findChild<OverviewWindow *>(QStringLiteral("OverviewWindow"));
        EXPECT_TRUE(window && window->isVisible());
        return window;
    }
    QString Value(OverviewWindow *window, const char *name) {
        return window->findChild<QLabel *>(QString::fromLatin1(name))->text();
    }
    // Lets the window catch up with the drill, as it does after each event.
    static void Settle() { QApplication::processEvents(); }
};

// Today is day 40000 (2009-07-06).
const QStringList kDeck = {
    QStringLiteral("犬,dog,,0,0,0,"),           // new, due
    QStringLiteral("猫,cat,,39990,2,3,誤正誤"), // due since day 39991: 9 days over
    QStringLiteral("鳥,bird,,40000,1,0,正"),    // due tomorrow
    QStringLiteral("魚,fish,,40005,1,1,正誤"),  // due in 6 days
    QStringLiteral("馬,horse,,40040,4,6,誤"),   // due in 41 days, August
};

TEST_F(OverviewWindowTest, ShowsTheDeckAndFollowsADekita) {
    OpenDeck(kDeck);
    OverviewWindow *window = Open();
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(Value(window, "ov_Cards"), QStringLiteral("5 枚"));
    EXPECT_EQ(Value(window, "ov_DueNow"), QStringLiteral("2 枚"));
    EXPECT_EQ(Value(window, "ov_Overdue"), QStringLiteral("1 枚（最長 9 日、平均 9.0 日）"));
    EXPECT_EQ(Value(window, "ov_NeverAnswered"), QStringLiteral("1 枚"));
    EXPECT_EQ(Value(window, "ov_AnsweredToday"), QStringLiteral("正解 0 ／ 不正解 0"));
    EXPECT_EQ(Value(window, "ov_Pass"), QStringLiteral("回答 0 ／ 残り 2 枚"));
    EXPECT_EQ(Value(window, "ov_Totals"), QStringLiteral("正解 8 ／ 不正解 10（正解率 44.4 %）"));
    auto *forecast = window->findChild<BarChart *>(QStringLiteral("ov_Forecast"));
    std::vector<qint64> days(30);
    days[0] = 1; // the bird, tomorrow
    days[5] = 1; // the fish
    EXPECT_EQ(forecast->Values(), days);
    window->findChild<QWidget *>(QStringLiteral("ov_ByMonths"))->setProperty("checked", true);
    EXPECT_EQ(forecast->Values(), (std::vector<qint64>{2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));

    // The drill goes on in the main window, and the open overview follows it.
    Click("btnSusume");
    Click("btnDekita"); // the dog: right, rests 2 days
    Settle();
    EXPECT_EQ(Value(window, "ov_AnsweredToday"), QStringLiteral("正解 1 ／ 不正解 0"));
    EXPECT_EQ(Value(window, "ov_DueNow"), QStringLiteral("1 枚"));
    EXPECT_EQ(Value(window, "ov_NeverAnswered"), QStringLiteral("0 枚"));
    EXPECT_EQ(Value(window, "ov_Pass"), QStringLiteral("回答 1 ／ 残り 1 枚"));
    Click("btnSusume");
    Click("btnSusume");
    Click("btnSusume"); // the cat passed without できた
    Settle();
    EXPECT_EQ(Value(window, "ov_AnsweredToday"), QStringLiteral("正解 1 ／ 不正解 1"));
    EXPECT_EQ(Value(window, "ov_Streak"), QStringLiteral("1 日"));
}

TEST_F(OverviewWindowTest, DoubleClickOnAHardCardShowsItsRowWithoutTouchingTheDrill) {
    OpenDeck(kDeck);
    Click("btnSusume"); // the dog's answer is shown
    Drill &drill = form->DrillState();
    const TMondaiSet *current = drill.Current();
    const CardRefList queue = drill.Queue();
    const int queuePos = drill.QueuePos();
    OverviewWindow *window = Open();
    window->findChild<QTabWidget *>(QStringLiteral("ov_Pages"))->setCurrentIndex(2);
    auto *table = window->findChild<QTableWidget *>(QStringLiteral("ov_Hardest"));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    Settle();
    ASSERT_EQ(table->rowCount(), 3); // horse (6 wrong), cat (3), fish (1)
    EXPECT_EQ(table->item(0, 1)->text(), QStringLiteral("馬"));
    EXPECT_EQ(table->item(1, 0)->text(), QStringLiteral("2"));

    const QRect cell = table->visualItemRect(table->item(1, 1));
    // The first press of a double-click is a click of its own.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
    Settle();
    EXPECT_EQ(drill.DisplayPattern(), PatternList);
    auto *grid = form->findChild<ListGrid *>(QStringLiteral("GridHyouji"));
    EXPECT_EQ(grid->currentIndex().row(), 1); // the cat, second card of the deck
    ASSERT_NE(grid->CellEditor(), nullptr);
    EXPECT_EQ(grid->CellEditor()->text(), QStringLiteral("猫"));
    EXPECT_EQ(drill.Current(), current);
    EXPECT_EQ(drill.Queue(), queue);
    EXPECT_EQ(drill.QueuePos(), queuePos);
    EXPECT_FALSE(drill.DoneFlag());
    EXPECT_EQ(form->DeckState().Cards()[1]->Fuseikai, 3);
}

TEST_F(OverviewWindowTest, SavesTheShownChartAsAPicture) {
    OpenDeck(kDeck);
    OverviewWindow *window = Open();
    const QString path = dir.filePath(QStringLiteral("chart"));
    prompts.AnswerFile(path);
    QTest::mouseClick(window->findChild<QWidget *>(QStringLiteral("ov_SaveChart")), Qt::LeftButton);
    const QImage picture(path + QStringLiteral(".png"), "PNG");
    EXPECT_FALSE(picture.isNull());
    EXPECT_GT(picture.width(), 100);
    EXPECT_TRUE(Value(window, "ov_SaveResult").startsWith(QStringLiteral("保存しました")));
    // A folder that cannot take the file is said so, without a crash.
    EXPECT_FALSE(window->SaveChart(dir.filePath(QStringLiteral("no/such/folder/x.png"))));
}

TEST_F(OverviewWindowTest, MenuItemComesLastAndItsShortcutIsTheOnlyOne) {
    auto *keisan = Find<QMenu>("men_Keisan");
    const QList<QAction *> items = keisan->actions();
    ASSERT_GE(items.size(), 2);
    EXPECT_EQ(items[0]->objectName(), QStringLiteral("mem_Keisan_RefreshCard"));
    EXPECT_EQ(items.last()->objectName(), QStringLiteral("men_Keisan_Progress"));
    const QKeySequence shortcut = items.last()->shortcut();
    EXPECT_FALSE(shortcut.isEmpty());
    int sharing = 0;
    for (const QAction *action : form->findChildren<QAction *>())
        sharing += action->shortcut() == shortcut;
    EXPECT_EQ(sharing, 1);
}

} // namespace

namespace {

double Luminance(const QColor &c) {
    auto linear = [](double v) {
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF());
}

double Contrast(const QColor &a, const QColor &b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Bars, labels and the calendar's empty days stay readable whatever the desktop's colours.
TEST(ChartColoursTest, ReadOnLightAndDarkPalettes) {
    struct Case {
        const char *name;
        QColor window, text, base, highlight;
    } cases[] = {
        {"light", QColor(239, 239, 239), Qt::black, Qt::white, QColor(48, 140, 198)},
        {"dark", QColor(53, 53, 53), Qt::white, QColor(35, 35, 35), QColor(42, 130, 218)},
        {"dark, pale selection", QColor(30, 30, 30), QColor(220, 220, 220), QColor(20, 20, 20),
         QColor(200, 200, 240)},
    };
    for (const Case &c : cases) {
        QPalette palette;
        palette.setColor(QPalette::Window, c.window);
        palette.setColor(QPalette::WindowText, c.text);
        palette.setColor(QPalette::Base, c.base);
        palette.setColor(QPalette::Highlight, c.highlight);
        BarChart chart;
        chart.setPalette(palette);
        const ChartColours colours = ChartColours::Of(chart);
        EXPECT_GE(Contrast(colours.text, colours.background), 4.5) << c.name;
        EXPECT_GE(Contrast(colours.faint, colours.background), 3.0) << c.name;
        EXPECT_GE(Contrast(colours.bar, colours.background), 2.0) << c.name;
        EXPECT_GE(Contrast(colours.Shade(0.0), colours.background), 1.05) << c.name;
        EXPECT_GE(Contrast(colours.Shade(0.25), colours.Shade(0.0)), 1.2) << c.name;
    }
}

} // namespace
