#include "support/window_fixture.h"

#include <QAction>
#include <QDir>
#include <QTest>

namespace {
const QStringList TwoCards{QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,")};

bool IsSavePrompt(const MessageRequest &box) {
    return box.title == QStringLiteral("確認") && box.icon == PromptIcon::Question &&
           box.text == QStringLiteral("学習結果を保存しますか？") &&
           box.buttons ==
               std::vector<PromptButton>{PromptButton::Yes, PromptButton::No, PromptButton::Cancel};
}

class SavePrompt : public WindowTest {
protected:
    // Opens the two-card deck and marks A right, so the deck differs from its file.
    QString OpenAndChange() {
        const QString path = OpenDeck(TwoCards);
        Click("btnSusume");
        Click("btnDekita");
        return path;
    }
    const QString changedA = QStringLiteral("A,a,,40002,1,0,正");
};
} // namespace

TEST_F(SavePrompt, ClosingAnUnchangedDeckAsksNothing) {
    OpenDeck(TwoCards);
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(prompts.asked.empty());
}

TEST_F(SavePrompt, CancelOnClosingKeepsEverythingAndAsksAgain) {
    const QString path = OpenAndChange();
    prompts.Answer(PromptButton::Cancel);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_TRUE(IsSavePrompt(prompts.asked[0]));
    EXPECT_EQ(ReadDeck(path), TwoCards);
    EXPECT_TRUE(form->DrillState().DoneFlag());

    prompts.Answer(PromptButton::Yes);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(ReadDeck(path), QStringList({changedA, TwoCards[1]}));
}

TEST_F(SavePrompt, NoOnClosingWritesNothing) {
    const QString path = OpenAndChange();
    prompts.Answer(PromptButton::No);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(ReadDeck(path), TwoCards);
}

TEST_F(SavePrompt, AutoSaveSavesWithoutAsking) {
    const QString path = OpenAndChange();
    form->Controls().SetAutoSave(true);
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_EQ(ReadDeck(path), QStringList({changedA, TwoCards[1]}));
}

TEST_F(SavePrompt, OpeningAnotherDeckAsksForThePreviousOne) {
    const QString first = OpenAndChange();
    const QString second = WriteDeck(dir, QStringLiteral("second.csv"), {QStringLiteral("X,x")});

    prompts.Answer(PromptButton::Cancel);
    EXPECT_EQ(form->OpenDeckFile(second), 0);
    EXPECT_EQ(form->DeckState().FileName(), first);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kardeon - deck.csv"));
    EXPECT_TRUE(form->DrillState().DoneFlag());

    prompts.Answer(PromptButton::No);
    EXPECT_EQ(form->OpenDeckFile(second), 0);
    EXPECT_EQ(ReadDeck(first), TwoCards);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kardeon - second.csv"));
    EXPECT_EQ(Current(), QStringLiteral("X"));

    Click("btnSusume");
    Click("btnDekita");
    prompts.Answer(PromptButton::Yes);
    EXPECT_EQ(form->OpenDeckFile(first), 0);
    EXPECT_EQ(ReadDeck(second), QStringList{QStringLiteral("X,x,,40002,1,0,正")});
    for (const MessageRequest &box : prompts.asked)
        EXPECT_TRUE(IsSavePrompt(box));
}

TEST_F(SavePrompt, ReopeningTheSameDeckLoadsWhatThePromptSaved) {
    const QString path = OpenAndChange();
    prompts.Answer(PromptButton::Yes);
    EXPECT_EQ(form->OpenDeckFile(path), 0);
    EXPECT_EQ(form->DeckState().Cards()[0]->Seikai, 1);
    EXPECT_EQ(Queue(), QStringList{QStringLiteral("B")});
}

TEST_F(SavePrompt, AFailedSaveIsShownAndClosingAsksAgain) {
    QDir(dir.path()).mkdir(QStringLiteral("gone"));
    const QString path = OpenDeck(TwoCards, QStringLiteral("gone/deck.csv"));
    Click("btnSusume");
    Click("btnDekita");
    ASSERT_TRUE(QDir(dir.filePath(QStringLiteral("gone"))).removeRecursively());

    prompts.Answer(PromptButton::Yes);
    prompts.Answer(PromptButton::Ok);
    prompts.Answer(PromptButton::Cancel);
    EXPECT_FALSE(form->close());
    ASSERT_EQ(prompts.asked.size(), 3u);
    EXPECT_EQ(prompts.asked[1].title, QStringLiteral("Kardeon"));
    EXPECT_EQ(prompts.asked[1].icon, PromptIcon::Critical);
    EXPECT_EQ(prompts.asked[1].buttons, std::vector<PromptButton>{PromptButton::Ok});
    EXPECT_FALSE(prompts.asked[1].text.isEmpty());
    EXPECT_TRUE(IsSavePrompt(prompts.asked[2]));
    EXPECT_TRUE(form->isVisible());

    // AutoSave too falls back to asking once its save failed.
    form->Controls().SetAutoSave(true);
    prompts.Answer(PromptButton::Ok);
    prompts.Answer(PromptButton::No);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(prompts.asked.size(), 5u);
    EXPECT_TRUE(IsSavePrompt(prompts.asked[4]));
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(SavePrompt, UnsuitableFileIsRejectedWithAWarning) {
    const QString path = OpenDeck(TwoCards);
    const QString bad = WriteDeck(dir, QStringLiteral("bad.txt"),
                                  {QStringLiteral("no comma"), QStringLiteral("x")});
    prompts.Answer(PromptButton::Ok);
    EXPECT_EQ(form->OpenDeckFile(bad), 1);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].title, QStringLiteral("警告"));
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Warning);
    EXPECT_EQ(prompts.asked[0].text,
              QStringLiteral("ファイルが不適切です。\n読み込めませんでした。"));
    EXPECT_EQ(form->DeckState().FileName(), path);
}

TEST_F(SavePrompt, AFileThatCannotBeReadIsReportedAndNothingChanges) {
    const QString path = OpenDeck(TwoCards);
    prompts.Answer(PromptButton::Ok);
    EXPECT_EQ(form->OpenDeckFile(dir.filePath(QStringLiteral("missing.csv"))), 0);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].title, QStringLiteral("Kardeon"));
    EXPECT_EQ(form->DeckState().FileName(), path);
    EXPECT_EQ(form->DeckState().Cards().size(), 2u);
}

TEST_F(SavePrompt, FileMenuOpensSavesAndSavesAs) {
    const QString path = WriteDeck(dir, QStringLiteral("menu.csv"), TwoCards);
    prompts.AnswerFile(path);
    Trigger("men_File_Open");
    ASSERT_EQ(prompts.fileRequests.size(), 1u);
    EXPECT_EQ(prompts.fileRequests[0].filter,
              QStringLiteral("テキスト (*.txt *.csv *.tsv *.tab);;すべてのファイル (*)"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kardeon - menu.csv"));

    Click("btnSusume");
    Click("btnDekita");
    Trigger("men_File_Save");
    EXPECT_EQ(ReadDeck(path), QStringList({changedA, TwoCards[1]}));

    const QString copy = dir.filePath(QStringLiteral("copy.txt"));
    prompts.AnswerFile(copy);
    Trigger("men_File_SaveAs");
    EXPECT_EQ(ReadDeck(copy), ReadDeck(path));
    EXPECT_EQ(form->DeckState().FileName(), copy);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kardeon - copy.txt"));

    // A name that cannot be written keeps the old one.
    prompts.AnswerFile(dir.filePath(QStringLiteral("no/such/folder.csv")));
    prompts.Answer(PromptButton::Ok);
    Trigger("men_File_SaveAs");
    EXPECT_EQ(form->DeckState().FileName(), copy);
    EXPECT_TRUE(form->close());
}

TEST_F(SavePrompt, ExitCommandClosesThroughThePrompt) {
    OpenAndChange();
    EXPECT_EQ(Find<QAction>("Exit1")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    prompts.Answer(PromptButton::Cancel);
    Trigger("Exit1");
    EXPECT_TRUE(form->isVisible());
}
