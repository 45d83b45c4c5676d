#include "deck/sjis_codec.h"
#include "support/window_fixture.h"
#include "view/card_view.h"

#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QImage>
#include <QTest>

namespace {
const QStringList ThreeCards{QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,"),
                             QStringLiteral("C,c,,0,0,0,")};

// The three-card pass, driven by one set of controls: reveal, done, next, next, ...
template <typename Next, typename Done>
void RunThreeCardPass(WindowTest &t, TForm1 &form, Next next, Done done) {
    Drill &drill = form.DrillState();
    auto card = [&form](int i) -> const TMondaiSet & { return *form.DeckState().Cards()[i]; };
    EXPECT_EQ(drill.QueuePos(), 1);
    next(); // reveals A's answer
    EXPECT_TRUE(drill.AnswerShown());
    done(); // A right, out of the queue
    EXPECT_EQ(drill.QueuePos(), 0);
    EXPECT_EQ(card(0).Seikai, 1);
    EXPECT_EQ(card(0).Jikan, TestToday + 2);
    next(); // B's question; A is not marked wrong
    EXPECT_EQ(card(0).Fuseikai, 0);
    EXPECT_EQ(drill.Current(), &card(1));
    EXPECT_FALSE(drill.AnswerShown());
    next();
    next(); // B wrong, C's question
    EXPECT_EQ(card(1).Fuseikai, 1);
    EXPECT_EQ(drill.Current(), &card(2));
    next();
    next(); // C wrong, the pass wraps to B
    EXPECT_EQ(card(2).Fuseikai, 1);
    EXPECT_EQ(drill.Current(), &card(1));
    EXPECT_EQ(drill.Queue().size(), 2u);
    (void)t;
}
} // namespace

TEST_F(WindowTest, ThreeCardPassThroughTheButtons) {
    OpenDeck(ThreeCards);
    EXPECT_EQ(Text(1, 0), QStringLiteral("A"));
    EXPECT_EQ(Text(2, 0), QString());
    EXPECT_EQ(Find<QGroupBox>("Num_Now")->title(), QStringLiteral(" 1"));
    EXPECT_EQ(LabelText("Num_Total"), QStringLiteral("3"));
    EXPECT_EQ(LabelText("Num_Select"), QStringLiteral("3"));
    EXPECT_EQ(LabelText("fBangou"), QStringLiteral("A     正:誤 =  0 :  0"));
    EXPECT_EQ(LabelText("fBangou_Label"), QStringLiteral("["));
    EXPECT_EQ(LabelText("fBangou2"), QStringLiteral("0日後] "));

    Click("btnSusume");
    EXPECT_EQ(Text(2, 0), QStringLiteral("a"));
    Click("btnDekita");
    EXPECT_EQ(LabelText("fBangou2"), QStringLiteral("2日後] "));
    EXPECT_EQ(LabelText("Num_Select"), QStringLiteral("2"));
    EXPECT_EQ(Text(1, 0), QStringLiteral("A")) << "a card marked right stays current";

    Click("btnSusume");
    EXPECT_EQ(Text(1, 0), QStringLiteral("B"));
    EXPECT_EQ(Text(2, 0), QString());
    EXPECT_EQ(Find<QGroupBox>("Num_Now")->title(), QStringLiteral(" 2"));
}

TEST_F(WindowTest, ThreeCardPassThroughButtonsAndMenu) {
    OpenDeck(ThreeCards);
    RunThreeCardPass(
        *this, *form, [this] { Click("btnSusume"); }, [this] { Trigger("men_Card_Dekita"); });
}

TEST_F(WindowTest, ThreeCardPassThroughArrowKeys) {
    OpenDeck(ThreeCards);
    RunThreeCardPass(
        *this, *form, [this] { Key(Qt::Key_Down); }, [this] { Key(Qt::Key_Right); });
}

TEST_F(WindowTest, ThreeCardPassThroughWheelAndCheckMark) {
    OpenDeck(ThreeCards);
    RunThreeCardPass(
        *this, *form, [this] { Wheel(-120); },
        [this] { QTest::mouseClick(Find<QWidget>("myCheck"), Qt::LeftButton); });
}

TEST_F(WindowTest, LeftArrowTakesDoneBackAndUpReturnsToStart) {
    OpenDeck(ThreeCards);
    Drill &drill = form->DrillState();
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    Key(Qt::Key_Left);
    EXPECT_EQ(Queue(), QStringList({u"A"_qs, u"B"_qs, u"C"_qs}));
    EXPECT_EQ(drill.QueuePos(), 1);
    EXPECT_FALSE(drill.DoneFlag());
    EXPECT_EQ(form->DeckState().Cards()[0]->Seikai, 0);
    Key(Qt::Key_Down); // A wrong now
    EXPECT_EQ(Current(), QStringLiteral("B"));
    Key(Qt::Key_Up);
    EXPECT_EQ(Current(), QStringLiteral("A"));
    EXPECT_FALSE(drill.AnswerShown());
}

TEST_F(WindowTest, WheelStepsBelowTheThresholdDoNothing) {
    OpenDeck(ThreeCards);
    Drill &drill = form->DrillState();
    Wheel(-5);
    Wheel(10);
    EXPECT_FALSE(drill.AnswerShown());
    Wheel(-120);
    EXPECT_TRUE(drill.AnswerShown());
    Wheel(-120);
    EXPECT_EQ(Current(), QStringLiteral("B"));
    Wheel(120);
    EXPECT_EQ(Current(), QStringLiteral("A"));
}

TEST_F(WindowTest, ATouchpadsSmallStepsMakeOneStepPerNotch) {
    OpenDeck(ThreeCards);
    Drill &drill = form->DrillState();
    for (int i = 0; i < 7; ++i)
        Wheel(-15);
    EXPECT_FALSE(drill.AnswerShown());
    Wheel(-15); // the eighth completes one notch
    EXPECT_TRUE(drill.AnswerShown());
    EXPECT_EQ(Current(), QStringLiteral("A"));
    EXPECT_EQ(form->DeckState().Cards()[0]->Fuseikai, 0);
}

TEST_F(WindowTest, CtrlKeysAndCtrlWheelJumpToTheBookmark) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("[しおり]B,b,,0,0,0,"),
              QStringLiteral("C,c,,0,0,0,")});
    Drill &drill = form->DrillState();
    ASSERT_EQ(drill.BookmarkCard(), form->DeckState().Cards()[1].get());
    Key(Qt::Key_Up, Qt::ControlModifier);
    EXPECT_EQ(drill.Current(), drill.BookmarkCard());
    EXPECT_TRUE(drill.AnswerShown());
    EXPECT_EQ(Text(2, 0), QStringLiteral("b"));
    Key(Qt::Key_Down); // passing the bookmark marks nothing
    EXPECT_EQ(form->DeckState().Cards()[1]->Fuseikai, 0);
    EXPECT_EQ(Current(), QStringLiteral("C"));

    // With the arrow keys off only the wheel still jumps.
    QTest::mouseClick(Find<QCheckBox>("ArrowCheck"), Qt::LeftButton);
    ASSERT_FALSE(form->Controls().ArrowKeys());
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(Current(), QStringLiteral("C"));
    Wheel(-120, Qt::ControlModifier);
    EXPECT_EQ(drill.Current(), drill.BookmarkCard());
}

TEST_F(WindowTest, DoneOnTheBookmarkOnlyInforms) {
    OpenDeck({QStringLiteral("[しおり]A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,")});
    Click("btnSusume");
    prompts.Answer(PromptButton::Yes);
    Click("btnDekita");
    ASSERT_EQ(prompts.asked.size(), 1u);
    const MessageRequest &box = prompts.asked[0];
    EXPECT_EQ(box.title, QStringLiteral("情報"));
    EXPECT_EQ(box.icon, PromptIcon::Information);
    EXPECT_EQ(box.text,
              QStringLiteral("[しおり] 設定の問題は、\n正解・不正解の処理が行われません。\n"
                             "無視して進めてください。"));
    EXPECT_EQ(box.buttons, std::vector<PromptButton>{PromptButton::Yes});
    EXPECT_EQ(form->DeckState().Cards()[0]->Seikai, 0);
    EXPECT_FALSE(form->DrillState().DoneFlag());
}

TEST_F(WindowTest, ArrowKeysReachTheBoxWhileTheyAreOffAndEnterAlways) {
    OpenDeck(ThreeCards);
    TMyMemo *question = Memo(KindQuestion, 0);
    QTest::mouseClick(question->viewport(), Qt::LeftButton, {}, QPoint(2, 5));
    ASSERT_TRUE(question->hasFocus());
    QTextCursor cursor = question->textCursor();
    cursor.setPosition(1);
    question->setTextCursor(cursor);

    Key(Qt::Key_Left); // consumed by the drill (take-back, nothing to take back)
    EXPECT_EQ(question->textCursor().position(), 1);
    QTest::mouseClick(Find<QCheckBox>("ArrowCheck"), Qt::LeftButton);
    EXPECT_FALSE(form->Controls().ArrowKeys());
    Key(Qt::Key_Left);
    EXPECT_EQ(question->textCursor().position(), 0);
    Key(Qt::Key_Down);
    EXPECT_FALSE(form->DrillState().AnswerShown());

    Key(Qt::Key_Return); // a line break in front of the question
    EXPECT_EQ(form->DeckState().Cards()[0]->Mondai(), QByteArray("\\nA"));
}

TEST_F(WindowTest, EndOfStudyAsksAndCancelLeavesTheDrillEmpty) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,")});
    Click("btnSusume");
    Click("btnDekita");
    prompts.Answer(PromptButton::Cancel);
    Click("btnSusume");
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].title, QStringLiteral("確認"));
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Question);
    EXPECT_TRUE(prompts.asked[0].text.startsWith(
        QStringLiteral("すべての学習を終了しました。\nやり直しますか？")));
    EXPECT_EQ(prompts.asked[0].buttons,
              (std::vector<PromptButton>{PromptButton::Yes, PromptButton::Cancel}));
    EXPECT_EQ(Find<QGroupBox>("Num_Now")->title(), QStringLiteral(" 0"));
    EXPECT_EQ(LabelText("Num_Select"), QStringLiteral("0"));
    EXPECT_EQ(LabelText("fBangou"), QString());
    EXPECT_EQ(Text(1, 0), QString());

    prompts.Answer(PromptButton::Yes);
    Click("btnSusume");
    EXPECT_EQ(Current(), QStringLiteral("A"));
    EXPECT_EQ(form->DeckState().Cards()[0]->Jikan, 0);
    EXPECT_EQ(form->DeckState().Cards()[0]->Seikai, 1) << "the record stays";
}

TEST_F(WindowTest, ResetAllAsksFirst) {
    OpenDeck({QStringLiteral("A,a,,50000,3,0,正正正"), QStringLiteral("B,b,,0,0,0,")});
    EXPECT_EQ(Queue(), QStringList{QStringLiteral("B")});
    prompts.Answer(PromptButton::Cancel);
    Trigger("mem_Keisan_RefreshCard");
    EXPECT_EQ(form->DeckState().Cards()[0]->Jikan, 50000);
    prompts.Answer(PromptButton::Yes);
    Trigger("mem_Keisan_RefreshCard");
    EXPECT_EQ(prompts.asked.back().text,
              QStringLiteral("すべての問題を再度題します。\nよろしいですか？\n\n・復習までの時間が"
                             "すべて0に\n変更されます。\n・正誤記録は変更されません。"));
    EXPECT_EQ(Queue(), QStringList({u"A"_qs, u"B"_qs}));
    EXPECT_EQ(form->DeckState().Cards()[0]->Jikan, 0);
    EXPECT_EQ(form->DeckState().Cards()[0]->Seikai, 3);
}

TEST_F(WindowTest, OrderMenuTicksFollowTheOrder) {
    OpenDeck(ThreeCards);
    QAction *normal = Find<QAction>("men_Set_jyunNormal");
    QAction *random = Find<QAction>("men_Set_jyunRandom");
    EXPECT_TRUE(normal->isChecked());
    random->trigger();
    EXPECT_EQ(form->DrillState().Jyun(), 1);
    EXPECT_TRUE(random->isChecked());
    EXPECT_FALSE(normal->isChecked());
    Click("btnSusume");
    Click("btnSusume");
    const int pos = form->DrillState().QueuePos();
    random->trigger(); // already ticked: nothing happens
    EXPECT_TRUE(random->isChecked());
    EXPECT_EQ(form->DrillState().QueuePos(), pos);
    normal->trigger();
    EXPECT_EQ(Queue(), QStringList({u"A"_qs, u"B"_qs, u"C"_qs}));
    EXPECT_TRUE(normal->isChecked());
    EXPECT_FALSE(random->isChecked());
}

TEST_F(WindowTest, CheckBoxesSetTheirOptions) {
    QTest::mouseClick(Find<QCheckBox>("AutoSaveCheck"), Qt::LeftButton);
    EXPECT_TRUE(form->Controls().AutoSave());
    QTest::mouseClick(Find<QCheckBox>("ArrowCheck"), Qt::LeftButton);
    EXPECT_FALSE(form->Controls().ArrowKeys());
    const QColor off = Find<QWidget>("Label3")->palette().color(QPalette::WindowText);
    QTest::mouseClick(Find<QCheckBox>("ArrowCheck"), Qt::LeftButton);
    EXPECT_NE(Find<QWidget>("Label3")->palette().color(QPalette::WindowText), off);
}

namespace {
// The darkest pixel of a widget as drawn.
int DarkestDrawn(QWidget *widget) {
    const QImage image = widget->grab().toImage();
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            darkest = qMin(darkest, QColor(image.pixel(x, y)).lightness());
    return darkest;
}
} // namespace

TEST_F(WindowTest, CheckMarkAndArrowCaptionsAreDrawnPaleWhenOff) {
    OpenDeck(ThreeCards);
    QWidget *mark = Find<QWidget>("myCheck");
    const int pale = DarkestDrawn(mark);
    Click("btnSusume");
    Click("btnDekita");
    EXPECT_GT(pale, DarkestDrawn(mark) + 60);

    QWidget *caption = Find<QWidget>("Label4");
    const int on = DarkestDrawn(caption);
    QTest::mouseClick(Find<QCheckBox>("ArrowCheck"), Qt::LeftButton);
    EXPECT_GT(DarkestDrawn(caption), on + 60);
}
