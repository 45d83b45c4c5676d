// The card view's owner and the drill's controls on the panels alone, without the main window.
#include "../drill/fake_host.h"
#include "deck/deck.h"
#include "drill/day_number.h"
#include "ui/scripted_prompts.h"
#include "view/card_screen.h"
#include "view/drill_controls.h"
#include "view/drill_input.h"
#include "view/main_panels.h"
#include "view/no_deck_hint.h"
#include "view/panel_widgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>

#include <gtest/gtest.h>

namespace {

class DrillViewTest : public ::testing::Test {
protected:
    QMainWindow window;
    MainPanels panels{window};
    Deck deck;
    FakeDrillHost host;
    Drill drill{deck, host, FixedDayClock(40000)};
    bool suppressEdits = false;
    int redraws = 0;
    CardScreen screen{
        panels, deck, drill, suppressEdits, {[] { return QSize(567, 554); }, [this] { ++redraws; }},
        &window};
    ScriptedPrompts prompts;
    QString newCards;
    DrillInput input{drill, {[] {}, [] {}, [this] { return controls->ArrowKeys(); }}};
    std::unique_ptr<DrillControls> controls = std::make_unique<DrillControls>(
        window, panels, deck, drill, input, prompts, [this] { return newCards; });

    // Three cards, the last resting for ten more days.
    void OpenThreeCards() {
        deck.SetFileName(QStringLiteral("deck.csv"));
        for (const char *question : {"q1", "q2", "q3"})
            deck.AddCard(std::make_unique<TMondaiSet>(QByteArray(question), "a", "",
                                                      question[1] == '3' ? 40010 : 0, 0, 0, ""));
        drill.TakeDueCards({deck.Cards()[0].get(), deck.Cards()[1].get()});
        drill.StartNewDeck();
    }
};

// The chooser's entries: the drill's view, the chooser's mark, the one panel shown, a redraw.
TEST_F(DrillViewTest, ChoosingAViewShowsItsPanelAlone) {
    struct Case {
        int index;
        DisplayPatternKind pattern;
        int subRows;
        const char *panel;
    } cases[] = {
        {1, PatternSub, 2, "Panel_Renban"}, {0, PatternMain, 2, "Panel_Mondai"},
        {4, PatternSub, 5, "Panel_Renban"}, {5, PatternList, 5, "Panel_Grid"},
        {2, PatternSub, 3, "Panel_Renban"}, {5, PatternList, 3, "Panel_Grid"},
    };
    for (const Case &c : cases) {
        const int before = redraws;
        screen.ChoosePattern(c.index);
        EXPECT_EQ(drill.DisplayPattern(), c.pattern) << c.index;
        EXPECT_EQ(drill.SubRows(), c.subRows) << c.index;
        EXPECT_EQ(panels.SelectBox->currentIndex(), c.index) << c.index;
        for (QWidget *panel : {panels.Panel_Mondai, panels.Panel_Renban, panels.Panel_Grid})
            EXPECT_EQ(!panel->isHidden(), panel->objectName() == QLatin1String(c.panel))
                << c.index << ' ' << panel->objectName().toStdString();
        EXPECT_EQ(redraws, before + 1) << c.index;
    }
}

// The switches keep their values, show them in their boxes and the captions, and the arrow
// keys drill only while theirs is on.
TEST_F(DrillViewTest, SwitchesFollowTheirBoxesAndRuleTheArrowKeys) {
    OpenThreeCards();
    const QColor text = window.palette().color(QPalette::WindowText);
    auto captionColour = [this] { return panels.Label4->palette().color(QPalette::WindowText); };
    EXPECT_EQ(captionColour(), text);

    panels.ArrowCheck->click();
    EXPECT_FALSE(controls->ArrowKeys());
    EXPECT_NE(captionColour(), text);
    EXPECT_FALSE(input.TakeKey(Qt::Key_Down, Qt::NoModifier));
    EXPECT_FALSE(drill.AnswerShown());

    controls->SetArrowKeys(true);
    EXPECT_TRUE(panels.ArrowCheck->isChecked());
    EXPECT_EQ(captionColour(), text);
    EXPECT_TRUE(input.TakeKey(Qt::Key_Down, Qt::NoModifier));
    EXPECT_TRUE(drill.AnswerShown());

    EXPECT_FALSE(controls->AutoSave());
    panels.AutoSaveCheck->click();
    EXPECT_TRUE(controls->AutoSave());
    controls->SetAutoSave(false);
    EXPECT_FALSE(panels.AutoSaveCheck->isChecked());
}

// The counters and the record bar after a redraw, with a deck and without one.
TEST_F(DrillViewTest, CountersAndNoDeckNoteFollowTheDeck) {
    screen.Draw();
    controls->ShowCounters();
    EXPECT_FALSE(panels.noDeckHint->isHidden());
    EXPECT_EQ(panels.Num_Total->text(), QStringLiteral("0"));
    EXPECT_TRUE(panels.fBangou_Label->text().isEmpty());
    EXPECT_TRUE(panels.newCardStatus->isHidden());

    OpenThreeCards();
    newCards = QStringLiteral("新規 1/5");
    suppressEdits = false;
    screen.Draw();
    controls->ShowCounters();
    EXPECT_FALSE(suppressEdits); // set only while the cells are filled
    EXPECT_TRUE(panels.noDeckHint->isHidden());
    EXPECT_EQ(panels.Num_Now->title(), QStringLiteral(" 1"));
    EXPECT_EQ(panels.Num_Total->text(), QStringLiteral("3"));
    EXPECT_EQ(panels.Num_Select->text(), QStringLiteral("2"));
    EXPECT_EQ(panels.fBangou_Label->text(), QStringLiteral("["));
    EXPECT_EQ(panels.newCardStatus->text(), newCards);
    EXPECT_FALSE(panels.newCardStatus->isHidden());
}

} // namespace
