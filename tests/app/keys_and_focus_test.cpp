#include "support/window_fixture.h"
#include "ui/prompts.h"
#include "view/card_view.h"

#include <QComboBox>
#include <QDialog>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QWheelEvent>

#include <functional>

namespace {
const QStringList ThreeCards{QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,"),
                             QStringLiteral("C,c,,0,0,0,")};

class KeysAndFocus : public WindowTest {
protected:
    const TMondaiSet &Card(int i) const { return *form->DeckState().Cards()[i]; }

    // The drill's state as a card's record and the pass position show it.
    void ExpectUntouched(const char *where) const {
        EXPECT_EQ(Card(0).Seikai, 0) << where;
        EXPECT_EQ(Card(0).Fuseikai, 0) << where;
        EXPECT_EQ(Card(0).Jikan, 0) << where;
        EXPECT_EQ(form->DrillState().QueuePos(), 1) << where;
        EXPECT_TRUE(form->DrillState().AnswerShown()) << where;
    }

    void ClosePopups() {
        for (int i = 0; i < 5 && QApplication::activePopupWidget(); ++i)
            QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
        ASSERT_EQ(QApplication::activePopupWidget(), nullptr);
    }

    void TurnWheelOver(QWidget *target, int delta) {
        const QPointF at(5, 5);
        QWheelEvent event(at, target->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(target, &event);
    }

    QWidget *Parked() const { return Find<QPlainTextEdit>("fSannkou0"); }
};
} // namespace

TEST_F(KeysAndFocus, ArrowKeysInAnOpenMainMenuNeverMarkTheCard) {
    OpenDeck(ThreeCards);
    Click("btnSusume"); // the answer is shown: → would mark A right
    QTest::keyClick(form.get(), Qt::Key_F, Qt::AltModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr) << "Alt+F opens the file menu";
    for (int key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Left, Qt::Key_Down, Qt::Key_Up}) {
        QWidget *menu = QApplication::activePopupWidget();
        ASSERT_NE(menu, nullptr) << "the menus stay open while they are walked";
        QTest::keyClick(menu, Qt::Key(key));
    }
    ExpectUntouched("after walking the menus");
    ClosePopups();
    // The menu bar keeps the keyboard until it is left with Escape; then the arrows drill again.
    Key(Qt::Key_Right);
    ExpectUntouched("with the menu bar worked by the keyboard");
    Key(Qt::Key_Escape);
    Key(Qt::Key_Right);
    EXPECT_EQ(Card(0).Seikai, 1);
}

// Keys or wheel turns that reach the window itself while a popup or a dialog is open.
TEST_F(KeysAndFocus, KeysAndWheelWaitWhileAContextMenuOrADialogIsOpen) {
    OpenDeck(ThreeCards);
    Click("btnSusume");
    auto *popup = form->findChild<QMenu *>(QString(), Qt::FindDirectChildrenOnly);
    ASSERT_NE(popup, nullptr);
    popup->popup(form->mapToGlobal(QPoint(200, 100)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popup));
    QTest::keyClick(Memo(KindQuestion, 0), Qt::Key_Right);
    TurnWheelOver(Memo(KindQuestion, 0), -120);
    ExpectUntouched("with the context menu open");
    ClosePopups();

    QDialog dialog(form.get());
    dialog.setModal(true);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(Memo(KindQuestion, 0), Qt::Key_Left);
    TurnWheelOver(Memo(KindAnswer, 0), -120);
    ExpectUntouched("with a dialog open");
    dialog.close();
    TurnWheelOver(Memo(KindQuestion, 0), -120); // closed: the wheel steps on again
    EXPECT_EQ(Card(0).Fuseikai, 1);
}

// As the program starts: the deck is opened before the window is shown.
TEST(StartUpFocus, TypingRightAfterStartUpNeverEditsTheCard) {
    QTemporaryDir dir;
    ScriptedPrompts prompts;
    const QString path = WriteDeck(dir, QStringLiteral("deck.csv"), ThreeCards);
    TForm1 form(prompts, FixedDayClock(TestToday));
    form.OpenStartDeck(path);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    QWidget *focus = form.focusWidget() ? form.focusWidget() : &form;
    EXPECT_EQ(focus->objectName(), QStringLiteral("fSannkou0"));
    QTest::keyClicks(focus, QStringLiteral("abc"));
    QTest::keyClick(focus, Qt::Key_Space);
    QTest::keyClick(focus, Qt::Key_Return);
    EXPECT_EQ(form.DeckState().Cards()[0]->Mondai(), QByteArray("A"));
    form.Cells().ForEachMemo([](TMyMemo *memo) {
        EXPECT_FALSE(memo->toPlainText().contains(QStringLiteral("abc"))) << memo->Row;
    });
    form.close();
}

TEST_F(KeysAndFocus, OpeningHandOffAndPatternSwitchesParkTheFocus) {
    const QString path = OpenDeck(ThreeCards);
    auto clickIntoQuestion = [this] {
        QTest::mouseClick(Memo(KindQuestion, 0)->viewport(), Qt::LeftButton, {}, QPoint(3, 5));
        ASSERT_TRUE(Memo(KindQuestion, 0)->hasFocus());
    };
    clickIntoQuestion();
    form->ReceiveHandOff(path);
    EXPECT_EQ(form->focusWidget(), Parked()) << "after a hand-off";

    clickIntoQuestion();
    OpenDeck(ThreeCards, QStringLiteral("other.csv"));
    EXPECT_EQ(form->focusWidget(), Parked()) << "after opening";

    // サブ（2） through the combo box's own list, as the mouse and keyboard choose it.
    clickIntoQuestion();
    auto *box = Find<QComboBox>("SelectBox");
    QTest::mouseClick(box, Qt::LeftButton);
    QWidget *list = QApplication::activePopupWidget();
    ASSERT_NE(list, nullptr);
    QTest::keyClick(list->focusWidget() ? list->focusWidget() : list, Qt::Key_Down);
    QTest::keyClick(list->focusWidget() ? list->focusWidget() : list, Qt::Key_Return);
    ASSERT_EQ(form->DrillState().DisplayPattern(), PatternSub);
    EXPECT_EQ(form->focusWidget(), Parked()) << "after a pattern switch";
    QTest::keyClicks(form->focusWidget(), QStringLiteral("x"));
    EXPECT_EQ(Card(0).Mondai(), QByteArray("A"));
}

// Without a window manager nobody gives the keyboard back when a box closes: after Enter on
// the end-of-study question, Ctrl+S and the drill keys must still reach the window.
TEST_F(KeysAndFocus, TheWindowHasTheKeyboardBackAfterEveryBox) {
    OpenDeck(ThreeCards);
    QtPrompts real;
    const std::function<void()> boxes[] = {
        [&] { real.ConfirmCarefully(form.get(), QStringLiteral("やり直しますか？")); },
        [&] { real.Error(form.get(), QStringLiteral("ファイルが見つかりません。")); },
        [&] { real.OpenFileName(form.get(), {}); },
        [&] { real.ChooseFont(form.get(), form->font(), QStringLiteral("フォント")); },
    };
    int box = 0;
    for (const auto &ask : boxes) {
        SCOPED_TRACE(box++);
        const auto windowHasKeyboard = [this] {
            return QGuiApplication::focusWindow() == form->windowHandle();
        };
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitFor(windowHasKeyboard, 5000));
        // The user answers the box with Enter (Esc for a file or font dialog).
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&answer] {
            QWidget *modal = QApplication::activeModalWidget();
            if (!modal || !modal->isVisible())
                return;
            answer.stop();
            const bool message = modal->inherits("QMessageBox");
            QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal,
                            message ? Qt::Key_Return : Qt::Key_Escape);
        });
        answer.start(20);
        ask();
        EXPECT_TRUE(QTest::qWaitFor(windowHasKeyboard, 2000));
        EXPECT_EQ(QApplication::activeWindow(), form.get());
    }
}
