#include "edit/card_commands.h"
#include "edit/card_popup_menu.h"
#include "support/window_fixture.h"
#include "view/card_view.h"
#include "view/deck_list_view.h"
#include "view/find_bar.h"
#include "view/list_grid.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTest>

namespace {

const QStringList Deck{
    QStringLiteral("apple,りんご,,0,0,0,"), QStringLiteral("banana,ばなな,,0,0,0,"),
    QStringLiteral("\"Apple, pie\",パイ,,0,0,0,"),
    QStringLiteral("cherry,さくらんぼ,ＡＰＰＬＥ,0,0,0,"), QStringLiteral("grape,ぶどう,,0,0,0,")};

class FindAndTakeBack : public WindowTest {
protected:
    // The deck's questions as stored, in deck order.
    QStringList Questions() const {
        QStringList questions;
        for (const auto &card : form->DeckState().Cards())
            questions << QString::fromLatin1(card->Mondai());
        return questions;
    }
    QLineEdit *FindText() const { return Find<QLineEdit>("FindText"); }
    QString State() const { return Find<QLabel>("FindState")->text(); }
    int GridRow() const { return Find<ListGrid>("GridHyouji")->currentIndex().row(); }
    // Typed key by key where the test keyboard has the keys; Japanese as an input method
    // would commit it.
    void Type(const QString &text) {
        FindText()->clear();
        bool ascii = true;
        for (QChar c : text)
            ascii = ascii && c.unicode() < 0x80;
        if (ascii)
            QTest::keyClicks(FindText(), text);
        else
            FindText()->insert(text);
    }
    // The learning records and the drill's place, which finding never changes.
    QString DrillState() const {
        QString state =
            QString::number(form->DrillState().QueuePos()) + QLatin1Char('/') + Current();
        for (const auto &card : form->DeckState().Cards())
            state +=
                QStringLiteral(" %1:%2:%3").arg(card->Jikan).arg(card->Seikai).arg(card->Fuseikai);
        return state;
    }
};

TEST_F(FindAndTakeBack, FindsStepsWrapsAndLeavesTheDrillAlone) {
    OpenDeck(Deck);
    Click("btnSusume"); // answer shown: the arrow keys would now mark the card
    const QString drill = DrillState();
    Key(Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(form->DrillState().DisplayPattern(), PatternList)
        << "the list is where cards are found";
    ASSERT_TRUE(form->Finder().isVisible());
    EXPECT_EQ(QApplication::focusWidget(), FindText());

    Type(QStringLiteral("apple")); // apple, "Apple, pie", ＡＰＰＬＥ in a reference
    EXPECT_EQ(State(), QStringLiteral("3 件中 1 件目"));
    EXPECT_EQ(GridRow(), 0);
    Key(Qt::Key_Return);
    EXPECT_EQ(GridRow(), 2);
    Key(Qt::Key_F3);
    EXPECT_EQ(GridRow(), 3);
    EXPECT_EQ(State(), QStringLiteral("3 件中 3 件目"));
    Key(Qt::Key_Return);
    EXPECT_EQ(GridRow(), 0);
    EXPECT_TRUE(State().contains(QStringLiteral("先頭から"))) << State().toStdString();
    Key(Qt::Key_Return, Qt::ShiftModifier);
    EXPECT_EQ(GridRow(), 3);
    EXPECT_TRUE(State().contains(QStringLiteral("末尾から"))) << State().toStdString();

    Find<QCheckBox>("FindReference")->setChecked(false);
    EXPECT_EQ(State(), QStringLiteral("2 件中 1 件目"));
    Type(QStringLiteral("バナナ"));
    EXPECT_EQ(State(), QStringLiteral("見つかりません"));
    Find<QCheckBox>("FindKana")->setChecked(true);
    EXPECT_EQ(State(), QStringLiteral("1 件中 1 件目"));
    EXPECT_EQ(GridRow(), 1);

    // Keys typed in the bar belong to it, never to the drill.
    for (int key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up})
        Key(key);
    Key(Qt::Key_Down, Qt::ControlModifier);
    EXPECT_EQ(DrillState(), drill);
    EXPECT_EQ(QApplication::focusWidget(), FindText());

    Key(Qt::Key_Escape);
    EXPECT_FALSE(form->Finder().isVisible());
    // The found row keeps the keyboard, as if it had been clicked.
    EXPECT_EQ(QApplication::focusWidget(), Find<ListGrid>("GridHyouji")->CellEditor());
    EXPECT_EQ(GridRow(), 1);
    EXPECT_EQ(DrillState(), drill);

    // Without a match the keyboard leaves the bar all the same.
    Key(Qt::Key_F, Qt::ControlModifier);
    Type(QStringLiteral("nothing"));
    Key(Qt::Key_Escape);
    EXPECT_FALSE(FindBar::Holds(QApplication::focusWidget()));
    EXPECT_EQ(DrillState(), drill);
}

TEST_F(FindAndTakeBack, CountFollowsDeletesAndTakeBacks) {
    OpenDeck(Deck);
    Key(Qt::Key_F, Qt::ControlModifier);
    Type(QStringLiteral("apple"));
    ASSERT_EQ(State(), QStringLiteral("3 件中 1 件目"));
    form->findChild<CardPopupMenu *>()->SetListRow(1);
    form->Commands().PopupDelete(); // apple
    EXPECT_EQ(State(), QStringLiteral("2 件中 1 件目"));
    Trigger("men_Card_Undo");
    EXPECT_TRUE(State().startsWith(QStringLiteral("3 件中"))) << State().toStdString();
}

TEST_F(FindAndTakeBack, CtrlZTakesBackDeletesUnlessABoxIsBeingEdited) {
    const QString path = OpenDeck(Deck);
    Key(Qt::Key_D, Qt::ControlModifier); // apple
    Key(Qt::Key_D, Qt::ControlModifier); // banana
    ASSERT_EQ(CardCount(), 3u);
    // A card box being edited keeps Ctrl+Z for its own undo.
    TMyMemo *question = Memo(KindQuestion, 0);
    question->setFocus();
    QTest::keyClicks(question, QStringLiteral("x"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(CardCount(), 3u);
    EXPECT_EQ(Text(KindQuestion, 0), QStringLiteral("Apple, pie"));
    form->ParkFocus();
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Current(), QStringLiteral("banana"));
    EXPECT_TRUE(Status().contains(QStringLiteral("「banana」を元に戻しました")))
        << Status().toStdString();
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Current(), QStringLiteral("apple"));
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_TRUE(Status().contains(QStringLiteral("ありません")));
    form->Document().Save();
    EXPECT_EQ(ReadDeck(path), Deck);
}

TEST_F(FindAndTakeBack, EscLeavesTheFoundRowForTheCardCommands) {
    // The found card lies far below the drill's card, out of the list's first screen.
    QStringList deck;
    for (int i = 0; i < 60; ++i)
        deck << QStringLiteral("q%1x,a,,0,0,0,").arg(i);
    for (const bool fromMenu : {false, true}) {
        if (fromMenu) // the first round's delete is left unsaved
            prompts.Answer(PromptButton::No);
        OpenDeck(deck, fromMenu ? QStringLiteral("menu.csv") : QStringLiteral("keys.csv"));
        ASSERT_EQ(Current(), QStringLiteral("q0x"));
        Key(Qt::Key_F, Qt::ControlModifier);
        Type(QStringLiteral("q50x"));
        ASSERT_EQ(GridRow(), 50);
        Key(Qt::Key_Escape);
        auto *grid = Find<ListGrid>("GridHyouji");
        EXPECT_EQ(GridRow(), 50) << "the found row stays current";
        EXPECT_TRUE(grid->viewport()->rect().contains(grid->visualRect(grid->currentIndex())))
            << "and in view";
        if (fromMenu)
            Trigger("men_Card_Delete");
        else
            Key(Qt::Key_D, Qt::ControlModifier);
        EXPECT_EQ(Questions().size(), 59);
        EXPECT_FALSE(Questions().contains(QStringLiteral("q50x"))) << "the found card goes";
        EXPECT_EQ(Questions().first(), QStringLiteral("q0x")) << "never the drill's card";
    }
}

TEST_F(FindAndTakeBack, KeysAfterADeleteActWhereTheDeleteLeftTheCaret) {
    OpenDeck(Deck);
    // Sub pattern: the box shows the next card and has no typing to undo; Ctrl+Z is for the
    // delete.
    form->ClickPanelPattern(2);
    TMyMemo *box = Memo(KindQuestion, 2); // banana, the card after the drill's
    ASSERT_EQ(Text(KindQuestion, 2), QStringLiteral("banana"));
    box->setFocus();
    Key(Qt::Key_D, Qt::ControlModifier);
    ASSERT_EQ(Questions().size(), 4);
    ASSERT_TRUE(box->hasFocus());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(Questions().size(), 5) << "Ctrl+Z took back the delete";

    // List pattern: the second Ctrl+D deletes the row that took the first one's place.
    form->ClickPanelPattern(5);
    form->List().ShowCard(1); // banana, as a click on its cell
    Key(Qt::Key_D, Qt::ControlModifier);
    Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Questions(), (QStringList{QStringLiteral("apple"), QStringLiteral("cherry"),
                                        QStringLiteral("grape")}));
    // The last row deleted leaves the caret on the new last row, not on the drill's card.
    form->List().ShowCard(2);
    Key(Qt::Key_D, Qt::ControlModifier);
    Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Questions(), QStringList{QStringLiteral("apple")});
}

TEST_F(FindAndTakeBack, NoCountIsShownUntilEveryCardWasLookedAt) {
    QStringList deck;
    for (int i = 0; i < 80000; ++i)
        deck << QStringLiteral("w%1,a,,0,0,0,").arg(i);
    OpenDeck(deck);
    Key(Qt::Key_F, Qt::ControlModifier);
    FindText()->setText(QStringLiteral("zzz"));
    QStringList shown;
    QElapsedTimer clock;
    clock.start();
    while (!form->Finder().Search().Finished() && clock.elapsed() < 60000) {
        shown << State();
        QCoreApplication::processEvents();
    }
    ASSERT_FALSE(shown.isEmpty()) << "the first search builds the index in several slices";
    for (const QString &state : shown)
        EXPECT_EQ(state, QStringLiteral("検索中…")) << state.toStdString();
    EXPECT_EQ(State(), QStringLiteral("見つかりません"));
}

} // namespace
