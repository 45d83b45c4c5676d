// The two questions that reset every card's schedule answer キャンセル unless はい is meant.
#include "support/keyed_box_prompts.h"
#include "support/window_fixture.h"

#include <QTest>

namespace {

class CarefulQuestionsTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form.reset();
        form = std::make_unique<TForm1>(real, FixedDayClock(TestToday));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        form->Controls().SetArrowKeys(true);
        // One card due, one resting for ten more days.
        OpenDeck({QStringLiteral("q1,a1,,0,0,0,"), QStringLiteral("q2,a2,,40010,1,0,")});
    }

    std::vector<qint32> Days() const {
        std::vector<qint32> days;
        for (const auto &card : form->DeckState().Cards())
            days.push_back(card->Jikan);
        return days;
    }

    // Marks the only due card as remembered; the next drill key ends the study.
    void FinishStudy() {
        form->CMChildKey(Qt::Key_Down, Qt::NoModifier); // the answer
        form->CMChildKey(Qt::Key_Right, Qt::NoModifier);
        ASSERT_TRUE(form->DrillState().Queue().empty());
    }

    KeyedBoxPrompts real;
};

TEST_F(CarefulQuestionsTest, EveryKeyButYesLeavesTheScheduleAlone) {
    for (const int key :
         {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space, Qt::Key_Escape, Qt::Key_Down}) {
        SCOPED_TRACE(key);
        FinishStudy();
        const std::vector<qint32> before = Days();
        real.PressNext(key);
        form->CMChildKey(Qt::Key_Down, Qt::NoModifier); // the end-of-study question
        real.PressNext(key);
        Trigger("mem_Keisan_RefreshCard"); // the reset confirmation
        EXPECT_EQ(Days(), before);
        ASSERT_GE(real.answers.size(), 2u);
        EXPECT_EQ(real.answers.back(), PromptButton::Cancel);
        EXPECT_EQ(real.answers[real.answers.size() - 2], PromptButton::Cancel);
        form->DrillState().BackToStart();
    }
    EXPECT_EQ(real.asked[0].defaultButton, PromptButton::Cancel);

    // Drill keys hammered into the boxes: arrows and Tab never reach はい, so the key that
    // follows them still answers キャンセル.
    const std::vector<std::vector<int>> hammered{
        {Qt::Key_Right, Qt::Key_Return},
        {Qt::Key_Left, Qt::Key_Return},
        {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return},
        {Qt::Key_Up, Qt::Key_Space},
        {Qt::Key_Tab, Qt::Key_Space},
        {Qt::Key_Backtab, Qt::Key_Tab, Qt::Key_Return},
        {Qt::Key_Right, Qt::Key_Right, Qt::Key_Left, Qt::Key_Enter},
    };
    for (const auto &keys : hammered) {
        SCOPED_TRACE(testing::PrintToString(keys));
        FinishStudy();
        const std::vector<qint32> before = Days();
        real.PressNextInTurn(keys);
        form->CMChildKey(Qt::Key_Down, Qt::NoModifier);
        real.PressNextInTurn(keys);
        Trigger("mem_Keisan_RefreshCard");
        EXPECT_EQ(Days(), before);
        EXPECT_EQ(real.answers.back(), PromptButton::Cancel);
        EXPECT_EQ(real.answers[real.answers.size() - 2], PromptButton::Cancel);
        form->DrillState().BackToStart();
    }

    // はい takes its letter.
    real.PressNext(Qt::Key_Y);
    Trigger("mem_Keisan_RefreshCard");
    EXPECT_EQ(Days(), (std::vector<qint32>{0, 0}));
    EXPECT_EQ(real.answers.back(), PromptButton::Yes);
}

} // namespace
