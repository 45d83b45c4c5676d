#include "deck/sjis_codec.h"
#include "support/window_fixture.h"
#include "view/card_view.h"

#include <QFile>
#include <QLabel>
#include <QTest>

namespace {
const QString Utf8Question = QStringLiteral("このファイルは UTF-8 で書かれています。\n"
                                            "Shift-JIS に変換して開きますか？");

class DeckOpening : public WindowTest {
protected:
    QString WriteBytes(const QString &name, const QByteArray &bytes) {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    QByteArray FileBytes(const QString &path) const {
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
    // The messages asked so far, in order.
    QStringList Asked() const {
        QStringList texts;
        for (const MessageRequest &request : prompts.asked)
            texts << request.text;
        return texts;
    }
    const TMondaiSet &Card(int i) const { return *form->DeckState().Cards()[i]; }

    const QByteArray utf8Deck = QStringLiteral("りんご,apple,,0,0,0,\r\n"
                                               "みかん,orange,,0,0,0,\r\n")
                                    .toUtf8();
};
} // namespace

TEST_F(DeckOpening, Utf8DeckConvertedOnYesAndSavedWholeInShiftJis) {
    const QString path = WriteBytes(QStringLiteral("utf8.csv"), "\xEF\xBB\xBF" + utf8Deck);
    prompts.Answer(PromptButton::Yes);
    EXPECT_EQ(form->OpenDeckFile(path), 0);
    EXPECT_EQ(Asked(), QStringList{Utf8Question});
    ASSERT_EQ(form->DeckState().Cards().size(), 2u);
    EXPECT_EQ(Card(0).Mondai(), sjis::FromQString(QStringLiteral("りんご")));
    EXPECT_EQ(Card(1).Mondai(), sjis::FromQString(QStringLiteral("みかん")));
    EXPECT_EQ(FileBytes(path), "\xEF\xBB\xBF" + utf8Deck) << "nothing is written without asking";

    // The converted deck counts as changed: opening another deck asks to save it first.
    const QString other = WriteDeck(dir, QStringLiteral("other.csv"), {QStringLiteral("x,y")});
    prompts.Answer(PromptButton::Yes);
    EXPECT_EQ(form->OpenDeckFile(other), 0);
    EXPECT_EQ(Asked().value(Asked().size() - 1), QStringLiteral("学習結果を保存しますか？"));
    EXPECT_EQ(FileBytes(path), sjis::FromQString(QString::fromUtf8(utf8Deck)));
}

TEST_F(DeckOpening, Utf8DeckOpensAsItIsOnNoAndNotAtAllOnCancel) {
    const QString path = WriteBytes(QStringLiteral("utf8.csv"), utf8Deck);
    prompts.Answer(PromptButton::Cancel);
    EXPECT_EQ(form->OpenDeckFile(path), 0);
    EXPECT_TRUE(form->DeckState().FileName().isEmpty());
    EXPECT_TRUE(form->DeckState().Cards().empty());

    prompts.Answer(PromptButton::No);
    EXPECT_EQ(form->OpenDeckFile(path), 0);
    EXPECT_EQ(form->DeckState().FileName(), path);
    EXPECT_EQ(Card(0).Mondai(), QStringLiteral("りんご").toUtf8());
    EXPECT_FALSE(IsDeckChanged(form->DeckState()));
    EXPECT_EQ(Asked(), (QStringList{Utf8Question, Utf8Question}));
}

TEST_F(DeckOpening, HandOffAsksTooAndDroppedCharactersAreNamed) {
    const QString path =
        WriteBytes(QStringLiteral("emoji.csv"), QStringLiteral("😀 smile,笑顔\r\n").toUtf8());
    prompts.Answer(PromptButton::Yes);
    prompts.Answer(PromptButton::Ok);
    form->ReceiveHandOff(path);
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[0].text, Utf8Question);
    EXPECT_TRUE(prompts.asked[1].text.contains(QStringLiteral("U+1F600")))
        << prompts.asked[1].text.toStdString();
    ASSERT_EQ(form->DeckState().Cards().size(), 1u);
    EXPECT_EQ(Card(0).Mondai(), QByteArray(" smile"));
    EXPECT_EQ(Card(0).Kaitou(), sjis::FromQString(QStringLiteral("笑顔")));
}

TEST_F(DeckOpening, ShiftJisDecksOpenWithoutAQuestion) {
    OpenDeck({QStringLiteral("りんご,apple,,0,0,0,"), QStringLiteral("ｶﾀｶﾅ,表,,0,0,0,")});
    const QString invalid =
        WriteBytes(QStringLiteral("bad.csv"), "\x85\x40,\xff\x82\xa0,,0,0,0,\r\n");
    EXPECT_EQ(form->OpenDeckFile(invalid), 0);
    EXPECT_EQ(Card(0).Mondai(), QByteArray("\x85\x40"));
    EXPECT_TRUE(prompts.asked.empty()); // the scripted prompts fail on any question as well
}

TEST_F(DeckOpening, SaveAsStartsAtTheDeckWithItsName) {
    const QString path = OpenDeck({QStringLiteral("q,a")});
    prompts.AnswerFile(QString()); // cancelled
    Trigger("men_File_SaveAs");
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_EQ(prompts.fileRequests[0].directory, path);
}

TEST_F(DeckOpening, HintInTheCardAreaUntilADeckIsOpen) {
    auto *hint = Find<QLabel>("NoDeckHint");
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_TRUE(hint->text().contains(QStringLiteral("Ctrl+O")));
    // It lies over the card area, not over the control column.
    const QRect area(hint->mapTo(form.get(), QPoint(0, 0)), hint->size());
    EXPECT_GE(area.left(), Find<QWidget>("Panel_Left")->width());
    form->ClickPanelPattern(5);
    EXPECT_TRUE(hint->isVisible()) << "in every pattern";
    OpenDeck({QStringLiteral("q,a")});
    EXPECT_FALSE(hint->isVisible());
}
