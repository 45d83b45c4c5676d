#include "deck/sjis_codec.h"
#include "edit/add_card_dialog.h"
#include "edit/card_commands.h"
#include "edit/card_popup_menu.h"
#include "edit/store_edit.h"
#include "settings/settings.h"
#include "support/window_fixture.h"
#include "view/card_view.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGroupBox>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

QStringList Names(const char *spaced) {
    return QString::fromLatin1(spaced).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

const QStringList ThreeDue{QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,"),
                           QStringLiteral("C,c,,0,0,0,")};

class AddCard : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        QApplication::clipboard()->clear();
    }

    TForm3 *Dialog() const { return form->findChild<TForm3 *>(); }
    template <typename T> T *InDialog(const char *name) const {
        T *found = Dialog()->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QPlainTextEdit *QuestionBox() const { return InDialog<QPlainTextEdit>("form3_Mondai"); }
    QPlainTextEdit *AnswerBox() const { return InDialog<QPlainTextEdit>("form3_Kaitou"); }

    // Runs `act` on the dialog once it is shown; `act` must close it. A dialog left open is
    // cancelled, so no test ever waits on it.
    void WhenShown(std::function<void()> act) {
        QTimer::singleShot(0, form.get(), [this, act] {
            TForm3 *dialog = Dialog();
            if (!dialog || !dialog->isVisible()) {
                ADD_FAILURE() << "the add dialog did not open";
                return;
            }
            dialog->activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
            act();
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the add dialog stayed open";
                dialog->reject();
            }
        });
    }
    // A command that must not open the dialog.
    void ExpectNoDialog(const std::function<void()> &command) {
        bool opened = false;
        QTimer::singleShot(0, form.get(), [this, &opened] {
            if (Dialog() && Dialog()->isVisible()) {
                opened = true;
                Dialog()->reject();
            }
        });
        command();
        QApplication::processEvents();
        EXPECT_FALSE(opened);
    }

    // Fills the dialog and presses OK.
    void Fill(const QString &question, const QString &answer, int position, bool move) {
        InDialog<QRadioButton>(QStringLiteral("form3_RadioTuika_%1").arg(position).toLatin1())
            ->setChecked(true);
        InDialog<QCheckBox>("form3_CheckIdou")->setChecked(move);
        QTest::keyClicks(QuestionBox(), question);
        AnswerBox()->setPlainText(answer);
        QTest::mouseClick(InDialog<QPushButton>("d_bOK"), Qt::LeftButton);
    }
    void Add(const char *command, const QString &question, int position, bool move = false) {
        WhenShown([=, this] { Fill(question, question.toLower(), position, move); });
        Trigger(command);
    }
    void ChooseSub(int rows) {
        auto *box = Find<QComboBox>("SelectBox");
        box->setCurrentIndex(rows - 1);
        Q_EMIT box->activated(rows - 1);
    }
    QStringList Deck() const {
        QStringList names;
        for (const auto &card : form->DeckState().Cards())
            names << sjis::ToQString(card->Mondai());
        return names;
    }
    TMondaiSet &Card(int i) { return *form->DeckState().Cards()[i]; }
    const AppSettings &Settings() { return form->HeldSettings(); }
};

TEST_F(AddCard, CurrentInTheMainViewShowsTheNewCardWithItsAnswerThenGoesBack) {
    OpenDeck(ThreeDue);
    Add("men_Card_Insert", QStringLiteral("N"), InsertCurrent);
    EXPECT_EQ(Deck(), Names("N A B C"));
    EXPECT_EQ(Queue(), Names("N A B C"));
    EXPECT_EQ(Current(), QStringLiteral("N"));
    EXPECT_EQ(Text(KindAnswer, 0), QStringLiteral("n"));
    Click("btnSusume");
    EXPECT_EQ(Card(0).Fuseikai, 1);
    EXPECT_EQ(Current(), QStringLiteral("A"));

    // With the current card marked done, the new card goes in front of the next one.
    Click("btnSusume");
    Click("btnDekita");
    ASSERT_EQ(Queue(), Names("N B C"));
    Add("men_Card_Insert", QStringLiteral("M"), InsertCurrent);
    EXPECT_EQ(Queue(), Names("N M B C"));
    EXPECT_EQ(Deck(), Names("N M A B C"));
    EXPECT_EQ(Current(), QStringLiteral("M"));
}

TEST_F(AddCard, FirstAndLastWithMoveAfterAdding) {
    OpenDeck(ThreeDue);
    Click("btnSusume");
    Click("btnSusume"); // B
    Add("men_Card_Insert", QStringLiteral("F"), InsertFirst, true);
    EXPECT_EQ(Queue(), Names("F A B C"));
    EXPECT_EQ(Current(), QStringLiteral("F")); // the pass starts again from the new card

    Add("men_Card_Insert", QStringLiteral("L"), InsertLast, true);
    EXPECT_EQ(Deck().last(), QStringLiteral("L"));
    EXPECT_EQ(Current(), QStringLiteral("C")); // the card in front of the new one
    Click("btnSusume");
    Click("btnSusume");
    EXPECT_EQ(Current(), QStringLiteral("L"));

    // Without moving, the drill stays where it was.
    Add("men_Card_Insert", QStringLiteral("Z"), InsertFirst);
    EXPECT_EQ(Current(), QStringLiteral("L"));
    EXPECT_EQ(Deck().first(), QStringLiteral("Z"));
}

TEST_F(AddCard, SubViewTargetsTheFocusedRowOrElseTheRowAfterTheCurrentCard) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,"),
              QStringLiteral("C,c,,0,0,0,"), QStringLiteral("D,d,,0,0,0,")});
    ChooseSub(5);
    ASSERT_EQ(Current(), QStringLiteral("A"));
    TMyMemo *rowThree = Memo(KindQuestion, 3);
    QTest::mouseClick(rowThree->viewport(), Qt::LeftButton, {}, QPoint(3, 5));
    ASSERT_TRUE(rowThree->hasFocus());
    Add("men_Card_Insert", QStringLiteral("N"), InsertCurrent);
    EXPECT_EQ(Deck(), Names("A B N C D"));
    EXPECT_EQ(Text(KindQuestion, 3), QStringLiteral("N"));
    EXPECT_EQ(Text(KindQuestion, 4), QStringLiteral("C"));
    EXPECT_EQ(Current(), QStringLiteral("A"));
    EXPECT_EQ(form->focusWidget(), rowThree); // the box has the focus again

    form->ParkFocus();
    Add("men_Card_Insert", QStringLiteral("M"), InsertCurrent);
    EXPECT_EQ(Queue(), Names("A M B N C D"));
    EXPECT_EQ(Text(KindQuestion, 2), QStringLiteral("M"));
}

TEST_F(AddCard, ContextMenuTargetsTheBoxItWasOpenedOn) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,"),
              QStringLiteral("C,c,,0,0,0,"), QStringLiteral("D,d,,0,0,0,")});
    ChooseSub(5);
    form->ParkFocus(); // the focus is not what counts here
    TMyMemo *rowFour = Memo(KindQuestion, 4);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(5, 5),
                            rowFour->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(rowFour->viewport(), &event);
    auto *menu = Find<QMenu>("PopupMenu1");
    ASSERT_TRUE(menu->isVisible());
    menu->hide();
    Add("pop_Tuika", QStringLiteral("N"), InsertCurrent);
    EXPECT_EQ(Deck(), Names("A B C N D"));
    EXPECT_EQ(Text(KindQuestion, 4), QStringLiteral("N"));
}

TEST_F(AddCard, ListRowOfACardNotDueGoesInFrontOfTheNextDueCard) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,99999,0,0,"),
              QStringLiteral("C,c,,0,0,0,"), QStringLiteral("D,d,,99999,0,0,")});
    Find<QComboBox>("SelectBox")->setCurrentIndex(5);
    Q_EMIT Find<QComboBox>("SelectBox")->activated(5);
    ASSERT_EQ(Queue(), Names("A C"));

    form->findChild<CardPopupMenu *>()->SetListRow(2); // the menu was opened on B's row
    Add("pop_Tuika", QStringLiteral("N"), InsertCurrent);
    EXPECT_EQ(Deck(), Names("A N B C D"));
    EXPECT_EQ(Queue(), Names("A N C"));

    form->findChild<CardPopupMenu *>()->SetListRow(5); // D: no due card below it
    Add("pop_Tuika", QStringLiteral("M"), InsertCurrent);
    EXPECT_EQ(Deck(), Names("A N B C M D"));
    EXPECT_EQ(Queue(), Names("A N C M"));

    // The main menu forgets the row: in front of the current card.
    Add("men_Card_Insert", QStringLiteral("K"), InsertCurrent);
    EXPECT_EQ(form->findChild<CardPopupMenu *>()->ListRow(), -1);
    EXPECT_EQ(Deck().first(), QStringLiteral("K"));
}

TEST_F(AddCard, EnterConfirmsOnlyWhenTheOptionIsOn) {
    OpenDeck(ThreeDue);
    WhenShown([this] {
        QTest::keyClicks(QuestionBox(), QStringLiteral("q"));
        QTest::keyClick(AnswerBox(), Qt::Key_Return, Qt::ShiftModifier);
    });
    Trigger("men_Card_Insert");
    EXPECT_EQ(Deck().first(), QStringLiteral("q"));

    WhenShown([this] {
        QTest::mouseClick(InDialog<QCheckBox>("form3_CheckEnter"), Qt::LeftButton, {},
                          QPoint(8, 9));
        EXPECT_FALSE(Settings().tuikaEnter); // written at once
        QTest::keyClicks(QuestionBox(), QStringLiteral("two"));
        QTest::keyClick(QuestionBox(), Qt::Key_Return);
        QTest::keyClicks(QuestionBox(), QStringLiteral("lines"));
        EXPECT_TRUE(Dialog()->isVisible());
        QTest::keyClick(QuestionBox(), Qt::Key_Escape); // cancel keeps the Enter option
    });
    Trigger("men_Card_Insert");
    EXPECT_EQ(Deck().size(), 4);
    EXPECT_FALSE(Settings().tuikaEnter);

    WhenShown([this] {
        EXPECT_FALSE(InDialog<QCheckBox>("form3_CheckEnter")->isChecked());
        EXPECT_TRUE(QuestionBox()->toPlainText().isEmpty()); // cleared at every opening
        QTest::keyClicks(QuestionBox(), QStringLiteral("two"));
        QTest::keyClick(QuestionBox(), Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClicks(QuestionBox(), QStringLiteral("lines"));
        QTest::mouseClick(InDialog<QPushButton>("d_bOK"), Qt::LeftButton);
    });
    Trigger("men_Card_Insert");
    ASSERT_EQ(Deck().size(), 5);
    EXPECT_EQ(Card(0).Mondai(), QByteArray("two\\nlines"));
}

TEST_F(AddCard, TypingStartsInTheQuestionBoxAndKeysNeverReachTheDrill) {
    OpenDeck(ThreeDue);
    WhenShown([this] {
        QWidget *target = Dialog()->focusWidget();
        EXPECT_EQ(target, QuestionBox());
        QTest::keyClicks(target, QStringLiteral("x"));
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Right, Qt::Key_Up})
            QTest::keyClick(QuestionBox(), key);
        QTest::keyClick(QuestionBox(), Qt::Key_Down, Qt::ControlModifier);
        QTest::keyClick(QuestionBox(), Qt::Key_Escape);
    });
    Trigger("men_Card_Insert");
    EXPECT_EQ(Deck(), Names("A B C"));
    EXPECT_EQ(Current(), QStringLiteral("A"));
    EXPECT_FALSE(form->DrillState().AnswerShown());
    EXPECT_FALSE(form->Commands().AddDialogOpen());
}

TEST_F(AddCard, ClipboardFillPutsTheTextIntoTheQuestionAndTheFocusIntoTheAnswer) {
    OpenDeck(ThreeDue);
    form->HeldSettings().tuikaClip = true;
    QApplication::clipboard()->setText(QStringLiteral("abc\r\ndef"));
    WhenShown([this] {
        EXPECT_EQ(QuestionBox()->toPlainText(), QStringLiteral("abc\ndef"));
        EXPECT_EQ(Dialog()->focusWidget(), AnswerBox());
        QTest::keyClicks(AnswerBox(), QStringLiteral("xyz"));
        QTest::keyClick(AnswerBox(), Qt::Key_Return);
    });
    Trigger("men_Card_Insert");
    EXPECT_EQ(Card(0).Mondai(), QByteArray("abc\\ndef"));
    EXPECT_EQ(Card(0).Kaitou(), QByteArray("xyz"));

    // An empty clipboard leaves the question empty and the focus in it.
    QApplication::clipboard()->clear();
    WhenShown([this] {
        EXPECT_TRUE(QuestionBox()->toPlainText().isEmpty());
        EXPECT_EQ(Dialog()->focusWidget(), QuestionBox());
        Dialog()->reject();
    });
    Trigger("men_Card_Insert");
}

TEST_F(AddCard, TextsAreStoredAsTheBoxesStoreThemAndSavedOnlyOnRequest) {
    const QString path = OpenDeck(ThreeDue);
    WhenShown([this] {
        QuestionBox()->setPlainText(QStringLiteral("x,y"));
        AnswerBox()->setPlainText(QStringLiteral("り\U0001F600ん"));
        QTest::mouseClick(InDialog<QPushButton>("d_bOK"), Qt::LeftButton);
    });
    Trigger("men_Card_Insert");
    const TMondaiSet &added = Card(0);
    EXPECT_EQ(added.Mondai(), QByteArray("\"x,y\""));
    EXPECT_EQ(sjis::ToQString(added.Kaitou()), QStringLiteral("りん"));
    EXPECT_EQ(added.Jikan, 0);
    EXPECT_TRUE(
        Find<QStatusBar>("StatusBar1")->currentMessage().contains(QStringLiteral("\U0001F600")));

    EXPECT_EQ(ReadDeck(path), ThreeDue);
    Trigger("men_File_Save");
    const QStringList saved = ReadDeck(path);
    ASSERT_EQ(saved.size(), 4);
    EXPECT_EQ(saved.first(), QStringLiteral("\"x,y\",りん,,0,0,0,"));
}

TEST_F(AddCard, QuotesTypedIntoTheDialogReadBackAfterASave) {
    const QString path = OpenDeck(ThreeDue);
    WhenShown([this] {
        QuestionBox()->setPlainText(QStringLiteral("He said \"no\", then"));
        AnswerBox()->setPlainText(QStringLiteral("\"break a leg\" の意味"));
        QTest::mouseClick(InDialog<QPushButton>("d_bOK"), Qt::LeftButton);
    });
    Trigger("men_Card_Insert");
    EXPECT_EQ(Find<QStatusBar>("StatusBar1")->currentMessage(), QuoteCommaMessage());
    Trigger("men_File_Save");
    ASSERT_EQ(form->OpenDeckFile(path), 0);
    ASSERT_EQ(form->DeckState().Cards().size(), 4u);
    EXPECT_EQ(sjis::ToQString(DisplayForm(Card(0).Mondai())),
              QStringLiteral("He said \"no\" , then"));
    EXPECT_EQ(sjis::ToQString(DisplayForm(Card(0).Kaitou())),
              QStringLiteral("\"break a leg\" の意味"));
    EXPECT_EQ(Card(1).Mondai(), QByteArray("A"));
}

TEST_F(AddCard, CancelKeepsOptionsAndGeometryForTheNextOpeningAndTheSettingsFile) {
    OpenDeck(ThreeDue);
    const QPoint mainAt = form->pos();
    WhenShown([this, mainAt] {
        EXPECT_EQ(Dialog()->pos(), mainAt + QPoint(10, 40));
        EXPECT_EQ(Dialog()->size(), QSize(280, 440));
        InDialog<QRadioButton>("form3_RadioTuika_2")->setChecked(true);
        InDialog<QCheckBox>("form3_CheckIdou")->setChecked(true);
        InDialog<QCheckBox>("form3_CheckIME")->setChecked(false);
        Dialog()->resize(300, 500);
        Dialog()->move(mainAt + QPoint(30, 20));
        QTest::keyClicks(QuestionBox(), QStringLiteral("lost"));
        QTest::mouseClick(InDialog<QPushButton>("d_bCancel"), Qt::LeftButton);
    });
    Trigger("men_Card_Insert");
    EXPECT_EQ(Deck().size(), 3);
    EXPECT_EQ(Settings().tuikaMode, InsertLast);
    EXPECT_TRUE(Settings().tuikaIdou);
    EXPECT_FALSE(Settings().tuikaIME);

    WhenShown([this, mainAt] {
        EXPECT_TRUE(InDialog<QRadioButton>("form3_RadioTuika_2")->isChecked());
        EXPECT_TRUE(InDialog<QCheckBox>("form3_CheckIdou")->isChecked());
        EXPECT_EQ(Dialog()->size(), QSize(300, 500));
        EXPECT_EQ(Dialog()->pos(), mainAt + QPoint(30, 20));
        EXPECT_TRUE(QuestionBox()->toPlainText().isEmpty());
        Dialog()->reject();
    });
    Trigger("men_Card_Insert");

    form->close();
    const AppSettings stored = LoadSettings(SettingsFilePath());
    EXPECT_EQ(stored.tuikaWidth, 300);
    EXPECT_EQ(stored.tuikaHeight, 500);
    EXPECT_EQ(stored.tuikaLeft, 30);
    EXPECT_EQ(stored.tuikaTop, 20);
    EXPECT_EQ(stored.tuikaMode, InsertLast);
}

TEST_F(AddCard, TheDialogStaysOnTheScreen) {
    OpenDeck(ThreeDue);
    form->HeldSettings().tuikaLeft = 5000;
    form->HeldSettings().tuikaTop = -5000;
    WhenShown([this] {
        const QRect area = form->screen()->availableGeometry();
        EXPECT_TRUE(area.contains(QRect(Dialog()->pos(), Dialog()->size())));
        Dialog()->reject();
    });
    Trigger("men_Card_Insert");
}

TEST_F(AddCard, InputMethodsFollowTheOptionFromTheNextOpening) {
    OpenDeck(ThreeDue);
    auto inputMethod = [this](QPlainTextEdit *box) {
        return box->testAttribute(Qt::WA_InputMethodEnabled);
    };
    WhenShown([&] {
        // Before the first closing both boxes take the input method.
        EXPECT_TRUE(inputMethod(QuestionBox()));
        EXPECT_TRUE(inputMethod(AnswerBox()));
        Dialog()->reject();
    });
    Trigger("men_Card_Insert");
    EXPECT_FALSE(inputMethod(QuestionBox())); // ticked by default
    EXPECT_TRUE(inputMethod(AnswerBox()));

    WhenShown([&] {
        InDialog<QCheckBox>("form3_CheckIME")->setChecked(false);
        Dialog()->reject();
    });
    Trigger("men_Card_Insert");
    EXPECT_TRUE(inputMethod(QuestionBox()));
    EXPECT_TRUE(inputMethod(AnswerBox()));
}

TEST_F(AddCard, TabVisitsOnlyTheTextBoxesAndTheRadioGroup) {
    OpenDeck(ThreeDue);
    WhenShown([this] {
        QSet<QWidget *> visited;
        for (int i = 0; i < 6; ++i) {
            visited.insert(Dialog()->focusWidget());
            QTest::keyClick(Dialog()->focusWidget(), Qt::Key_Tab);
        }
        for (QWidget *widget : visited)
            EXPECT_TRUE(qobject_cast<QPlainTextEdit *>(widget) ||
                        qobject_cast<QRadioButton *>(widget))
                << widget->objectName().toStdString();
        EXPECT_TRUE(visited.contains(AnswerBox()));
        EXPECT_TRUE(visited.contains(InDialog<QRadioButton>("form3_RadioTuika_1")));
        QTest::keyClick(Dialog()->focusWidget(), Qt::Key_Escape);
    });
    Trigger("men_Card_Insert");
    EXPECT_EQ(Deck().size(), 3);
}

TEST_F(AddCard, TheTextBoxesShareTheGroupDownToTheMinimumSize) {
    OpenDeck(ThreeDue);
    WhenShown([this] {
        Dialog()->resize(100, 100);
        EXPECT_EQ(Dialog()->size(), QSize(243, 350));
        const QWidget *group = InDialog<QGroupBox>("form3_Group_Up");
        const QRect question = QuestionBox()->geometry();
        const QRect answer = AnswerBox()->geometry();
        const int h = (group->height() - 18 - 2 - 15) / 2;
        EXPECT_GT(h, 40);
        EXPECT_EQ(question.height(), h);
        EXPECT_EQ(answer.height(), h);
        EXPECT_EQ(answer.top(), question.top() + h + 2);
        EXPECT_EQ(question.width(), group->width() - 47);
        // Nothing of the lower part is cut off.
        for (const char *name : {"form3_CheckIME", "form3_CheckClip", "form3_CheckIdou",
                                 "form3_RadioTuika_2", "d_bOK", "d_bCancel"}) {
            const QWidget *control = InDialog<QWidget>(name);
            const QRect inDialog(control->mapTo(Dialog(), QPoint(0, 0)), control->size());
            EXPECT_TRUE(Dialog()->rect().contains(inDialog)) << name;
            if (!qobject_cast<const QPushButton *>(control)) { // buttons ask for a wide minimum
                EXPECT_LE(control->sizeHint().width(), control->width()) << name;
            }
        }
        Dialog()->reject();
    });
    Trigger("men_Card_Insert");
}

TEST_F(AddCard, NothingOpensWithoutACardToAsk) {
    ExpectNoDialog([this] { Trigger("men_Card_Insert"); });
    OpenDeck({QStringLiteral("A,a,,99999,0,0,")});
    ASSERT_TRUE(Queue().isEmpty());
    ExpectNoDialog([this] { Key(Qt::Key_N, Qt::ControlModifier); });
    EXPECT_EQ(Deck().size(), 1);
}

} // namespace

TEST_F(AddCard, TheDialogOpenedAfterAFontChangeUsesTheNewFonts) {
    OpenDeck(ThreeDue);
    QFont question(QStringLiteral("DejaVu Serif"));
    question.setPointSize(16);
    question.setBold(true);
    prompts.AnswerFont(question);
    Trigger("mem_Font_Setting_Mondai");
    Trigger("mem_Font_24"); // both sizes, the answer keeping its face
    WhenShown([this] {
        EXPECT_EQ(QuestionBox()->font().family(), QStringLiteral("DejaVu Serif"));
        EXPECT_TRUE(QuestionBox()->font().bold());
        EXPECT_EQ(QuestionBox()->font().pointSize(), 24);
        EXPECT_EQ(AnswerBox()->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
        EXPECT_FALSE(AnswerBox()->font().bold());
        EXPECT_EQ(AnswerBox()->font().pointSize(), 24);
        Dialog()->reject();
    });
    Trigger("men_Card_Insert");
    EXPECT_EQ(Deck().size(), 3);
}
