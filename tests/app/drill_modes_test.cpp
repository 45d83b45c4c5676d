#include "deck/sjis_codec.h"
#include "support/window_fixture.h"
#include "view/answer_modes.h"
#include "view/card_view.h"

#include <QAction>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

namespace {

const QStringList FourCards{QStringLiteral("A,alpha,,0,0,0,"), QStringLiteral("B,beta,,0,0,0,"),
                            QStringLiteral("C,gamma,,0,0,0,"), QStringLiteral("D,delta,,0,0,0,")};

// The verdicts given to the cards as they come up: right, wrong, wrong, right, then the two
// wrong ones again, right and wrong.
const std::vector<bool> Verdicts{true, false, false, true, true, false};

enum class Way { Judged, Typed, TypedThenOverride, Choice };

struct ModeCase {
    const char *name;
    Way way;
    DrillDirection direction;
};

class DrillModes : public WindowTest, public ::testing::WithParamInterface<ModeCase> {
protected:
    AnswerModes &Modes() { return form->Modes(); }
    QLineEdit *Box() { return Find<QLineEdit>("AnswerBox"); }

    // The side the learner has to give for the current card, as the deck holds it.
    QString Expected(DrillDirection direction) const {
        const TMondaiSet &card = *form->DrillState().Current();
        return sjis::ToQString(card.GetText(ExpectedText(direction)));
    }

    void Type(const QString &text) {
        Box()->setFocus();
        QTest::keyClicks(Box(), text);
        QTest::keyClick(Box(), Qt::Key_Return);
    }

    void Answer(Way way, bool right, DrillDirection direction) {
        switch (way) {
        case Way::Judged:
            Key(Qt::Key_Down);
            if (right)
                Key(Qt::Key_Right);
            Key(Qt::Key_Down);
            return;
        case Way::Typed:
            Type(right ? Expected(direction).toUpper() : QStringLiteral("wrong"));
            EXPECT_EQ(Modes().LastVerdict().right, right);
            QTest::keyClick(Box(), Qt::Key_Return);
            return;
        case Way::TypedThenOverride:
            Type(QStringLiteral("typo"));
            if (right) {
                QTest::keyClick(Box(), Qt::Key_Return, Qt::ControlModifier);
                Click("AcceptAsRight"); // a second override changes nothing
            }
            QTest::keyClick(Box(), Qt::Key_Return);
            return;
        case Way::Choice: {
            const AnswerChoices &choices = *Modes().Choices();
            const int pick = right ? choices.right : (choices.right + 1) % 4;
            EXPECT_EQ(sjis::ToQString(choices.texts[std::size_t(choices.right)]),
                      Expected(direction));
            Key(Qt::Key_1 + pick);
            Key(Qt::Key_Return);
            return;
        }
        }
    }

    // Drills the four cards with the verdicts; answers each card's record and the review log's
    // kinds in order.
    std::vector<std::string> Drill(Way way, DrillDirection direction) {
        if (!form->DeckState().FileName().isEmpty())
            prompts.Answer(PromptButton::No); // the first run's records are not saved
        OpenDeck(FourCards, QStringLiteral("deck%1.csv").arg(++runs_));
        Modes().SetDirection(direction);
        Modes().SetMode(way == Way::Judged   ? AnswerMode::Judged
                        : way == Way::Choice ? AnswerMode::Choice
                                             : AnswerMode::Typed);
        for (bool right : Verdicts)
            Answer(way, right, direction);
        std::vector<std::string> records;
        for (const auto &card : form->DeckState().Cards())
            records.push_back(QStringLiteral("%1 %2 %3 %4")
                                  .arg(sjis::ToQString(card->Mondai()))
                                  .arg(card->Jikan)
                                  .arg(card->Seikai)
                                  .arg(card->Fuseikai)
                                  .toStdString());
        records.push_back(Queue().join(u' ').toStdString());
        return records;
    }

    int runs_ = 0;
};

TEST_P(DrillModes, LeaveTheSameRecordsAsTheSameVerdictsInTheNormalDrill) {
    const ModeCase &c = GetParam();
    const std::vector<std::string> normal = Drill(Way::Judged, DrillDirection::QuestionFirst);
    const std::vector<std::string> mode = Drill(c.way, c.direction);
    EXPECT_EQ(mode, normal);
    EXPECT_NE(normal[0], "A 0 0 0") << "the verdicts changed the records";
}

INSTANTIATE_TEST_SUITE_P(
    Modes, DrillModes,
    ::testing::Values(ModeCase{"JudgedReversed", Way::Judged, DrillDirection::AnswerFirst},
                      ModeCase{"Typed", Way::Typed, DrillDirection::QuestionFirst},
                      ModeCase{"TypedReversed", Way::Typed, DrillDirection::AnswerFirst},
                      ModeCase{"Override", Way::TypedThenOverride, DrillDirection::QuestionFirst},
                      ModeCase{"Choice", Way::Choice, DrillDirection::QuestionFirst},
                      ModeCase{"ChoiceReversed", Way::Choice, DrillDirection::AnswerFirst}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(WindowTest, TheTypedAnswerWaitsForTheInputMethodToCommit) {
    OpenDeck({QStringLiteral("犬,いぬ,,0,0,0,"), QStringLiteral("猫,ねこ,,0,0,0,")});
    form->Modes().SetMode(AnswerMode::Typed);
    auto *box = Find<QLineEdit>("AnswerBox");
    box->setFocus();
    QInputMethodEvent composing(QStringLiteral("いn"), {});
    QApplication::sendEvent(box, &composing);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_FALSE(form->DrillState().AnswerShown()) << "checked while still composing";

    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("イヌ"));
    QApplication::sendEvent(box, &commit);
    form->Modes().SetKanaSame(true);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_TRUE(form->DrillState().AnswerShown());
    EXPECT_TRUE(form->Modes().LastVerdict().right);
    EXPECT_EQ(form->DeckState().Cards()[0]->Seikai, 1);
}

TEST_F(WindowTest, TheOtherDirectionShowsSpeaksAndEditsTheAnswerAsTheQuestion) {
    OpenDeck({QStringLiteral("dog,犬,,0,0,0,"), QStringLiteral("cat,猫,,0,0,0,")});
    Trigger("men_Set_DirectionToggle");
    EXPECT_EQ(Text(1, 0), QStringLiteral("犬"));
    EXPECT_EQ(Text(2, 0), QString());
    Key(Qt::Key_Down);
    EXPECT_EQ(Text(2, 0), QStringLiteral("dog"));
    EXPECT_TRUE(Find<QAction>("men_Set_DirectionReverse")->isChecked());
    EXPECT_TRUE(Find<QLabel>("DrillModeLabel")->text().contains(QStringLiteral("解答→問題")));

    // Typing into the box that shows the answer changes the card's answer, not its question.
    Memo(1, 0)->setFocus();
    QTest::keyClicks(Memo(1, 0), QStringLiteral("x"));
    const TMondaiSet &card = *form->DeckState().Cards()[0];
    EXPECT_EQ(sjis::ToQString(card.Mondai()), QStringLiteral("dog"));
    EXPECT_TRUE(sjis::ToQString(card.Kaitou()).contains(u'x'));

    Trigger("men_Set_DirectionToggle");
    EXPECT_TRUE(Text(1, 0).startsWith(QStringLiteral("dog")));
}

TEST_F(WindowTest, AStatusMessageHasTheWidthOfTheModesNote) {
    OpenDeck({QStringLiteral("dog,犬,,0,0,0,")});
    form->show();
    QLabel *note = Find<QLabel>("DrillModeLabel");
    form->ShowStatus(QStringLiteral("統合しました。"));
    EXPECT_FALSE(note->isVisible());
    form->ShowStatus(QString());
    EXPECT_TRUE(note->isVisible());
}

TEST_F(WindowTest, AChoiceOfFourNeedsFourDifferentAnswers) {
    OpenDeck({QStringLiteral("a,x,,0,0,0,"), QStringLiteral("b,y,,0,0,0,"),
              QStringLiteral("c,Ｙ,,0,0,0,"), QStringLiteral("d,z,,0,0,0,")});
    Trigger("men_Set_AnswerMode2");
    EXPECT_EQ(form->Modes().Mode(), AnswerMode::Judged);
    EXPECT_TRUE(Find<QAction>("men_Set_AnswerMode0")->isChecked());
    EXPECT_TRUE(Find<QStatusBar>("StatusBar1")->currentMessage().contains(QStringLiteral("4択")));
    EXPECT_FALSE(Find<QWidget>("AnswerPanel")->isVisible());
    Key(Qt::Key_1); // nothing to choose: the normal drill goes on
    Key(Qt::Key_Down);
    EXPECT_TRUE(form->DrillState().AnswerShown());
}

} // namespace
