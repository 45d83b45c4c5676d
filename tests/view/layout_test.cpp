#include "support/window_fixture.h"
#include "view/card_view.h"

#include <QComboBox>
#include <QPlainTextEdit>
#include <QTest>

namespace {
const QStringList FiveCards{QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,"),
                            QStringLiteral("C,c,,0,0,0,"), QStringLiteral("D,d,,0,0,0,"),
                            QStringLiteral("E,e,,0,0,0,")};

class Layout : public WindowTest {
protected:
    void ChoosePattern(int index) {
        auto *box = Find<QComboBox>("SelectBox");
        box->setCurrentIndex(index);
        Q_EMIT box->activated(index);
    }
    QRect PaneRect(int kind, int row) { return form->Cells().Pane(kind, row)->geometry(); }
};
} // namespace

TEST_F(Layout, WindowStartsAt567By554AndKeepsItsMinimum) {
    EXPECT_EQ(form->OuterWidth(), 567);
    EXPECT_EQ(form->OuterHeight(), 554);
    form->resize(100, 100);
    EXPECT_GE(form->frameGeometry().width(), 350);
    EXPECT_GE(form->frameGeometry().height(), 430);
}

TEST_F(Layout, FiveSubRowsFollowTheWindowSize) {
    ChoosePattern(4);
    ASSERT_EQ(form->DrillState().SubRows(), 5);
    for (int row = 1; row <= 5; ++row) {
        EXPECT_EQ(PaneRect(KindQuestion, row), QRect(0, (row - 1) * 96, 223, 95)) << row;
        EXPECT_EQ(PaneRect(KindAnswer, row), QRect(225, (row - 1) * 96, 230, 95)) << row;
        EXPECT_TRUE(form->Cells().Pane(KindQuestion, row)->isVisible());
        EXPECT_FALSE(form->Cells().Pane(KindReference, row)->isVisible());
    }
    ResizeOuter(667, 454);
    EXPECT_EQ(PaneRect(KindQuestion, 2), QRect(0, 76, 273, 75));
    EXPECT_EQ(PaneRect(KindAnswer, 2), QRect(275, 76, 280, 75));
}

TEST_F(Layout, PatternSwitchingShowsOnePanelAndTheRightRows) {
    OpenDeck(FiveCards);
    QWidget *mondai = Find<QWidget>("Panel_Mondai");
    QWidget *renban = Find<QWidget>("Panel_Renban");
    QWidget *grid = Find<QWidget>("Panel_Grid");
    EXPECT_TRUE(mondai->isVisible());
    EXPECT_FALSE(renban->isVisible());

    ChoosePattern(2); // サブ（3）
    EXPECT_EQ(form->DrillState().DisplayPattern(), PatternSub);
    EXPECT_EQ(form->DrillState().SubRows(), 3);
    EXPECT_TRUE(renban->isVisible());
    EXPECT_FALSE(mondai->isVisible());
    for (int row = 1; row <= 5; ++row)
        EXPECT_EQ(form->Cells().Pane(KindQuestion, row)->isVisible(), row <= 3) << row;
    EXPECT_EQ(PaneRect(KindQuestion, 1).height(), (554 - 72) / 3 - 1);
    // Row 1 holds the current card with its answer, the rows below the next questions.
    EXPECT_EQ(Text(KindQuestion, 1), QStringLiteral("A"));
    EXPECT_EQ(Text(KindAnswer, 1), QStringLiteral("a"));
    EXPECT_EQ(Text(KindQuestion, 2), QStringLiteral("B"));
    EXPECT_EQ(Text(KindAnswer, 2), QString());
    EXPECT_EQ(Text(KindQuestion, 3), QStringLiteral("C"));

    // Back to the start in the sub view leaves row 1 empty.
    Trigger("men_Card_Modoru");
    EXPECT_EQ(Text(KindQuestion, 1), QString());
    EXPECT_EQ(Text(KindQuestion, 2), QStringLiteral("A"));
    Click("btnSusume");
    EXPECT_EQ(Text(KindQuestion, 1), QStringLiteral("A"));
    EXPECT_EQ(form->DeckState().Cards()[0]->Fuseikai, 0);

    ChoosePattern(0);
    EXPECT_TRUE(mondai->isVisible());
    EXPECT_FALSE(form->DrillState().AnswerShown());
    EXPECT_EQ(Text(KindQuestion, 0), QStringLiteral("A"));
    EXPECT_EQ(Text(KindAnswer, 0), QString());

    ChoosePattern(5);
    EXPECT_TRUE(grid->isVisible());
    EXPECT_FALSE(mondai->isVisible());
    EXPECT_FALSE(renban->isVisible());
}

TEST_F(Layout, EmptyBoxesCannotBeClickedIntoAndShownOnesCan) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,")});
    ChoosePattern(4);
    TMyMemo *empty = Memo(KindQuestion, 4);
    ASSERT_FALSE(empty->Shown);
    EXPECT_TRUE(empty->isReadOnly());
    QTest::mouseClick(empty->viewport(), Qt::LeftButton);
    EXPECT_FALSE(empty->hasFocus());
    EXPECT_TRUE(Find<QPlainTextEdit>("fSannkou0")->hasFocus());

    TMyMemo *shown = Memo(KindQuestion, 2);
    ASSERT_TRUE(shown->Shown);
    EXPECT_FALSE(shown->isReadOnly());
    QTest::mouseClick(shown->viewport(), Qt::LeftButton);
    EXPECT_TRUE(shown->hasFocus());

    // A command finishes the edit: the focus is parked.
    Click("btnSusume");
    EXPECT_TRUE(Find<QPlainTextEdit>("fSannkou0")->hasFocus());
}

TEST_F(Layout, DoubleClickSelectsTheWholeText) {
    OpenDeck({QStringLiteral("two\\nlines,a,,0,0,0,")});
    TMyMemo *question = Memo(KindQuestion, 0);
    EXPECT_EQ(question->toPlainText(), QStringLiteral("two\nlines"));
    QTest::mouseDClick(question->viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(question->textCursor().selectedText(), QStringLiteral("two\u2029lines"));
}

TEST_F(Layout, QuestionPaneKeepsItsHeightWhenTheWindowGrows) {
    const int before = form->Cells().MondaiHeight();
    form->resize(600, 700);
    QTest::qWait(10);
    EXPECT_EQ(form->Cells().MondaiHeight(), before);
}
