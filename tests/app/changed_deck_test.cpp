#include "support/window_fixture.h"

#include <QFile>

namespace {

const QString ChangedText = QStringLiteral(
    "このファイルは他のプログラムによって変更されています。\n変更を統合して保存しますか？");

class ChangedDeck : public WindowTest {
protected:
    // A deck with an unsaved answer, whose file another program then rewrites.
    QString OpenChangeAndEditElsewhere() {
        const QString path = OpenDeck({QStringLiteral("A,a,,0,0,0,")});
        Click("btnSusume");
        Click("btnDekita");
        WriteDeck(dir, QStringLiteral("deck.csv"),
                  {QStringLiteral("A,a,,0,0,0,"), QStringLiteral("Added,elsewhere,,0,0,0,")});
        return path;
    }
    const QStringList Elsewhere{QStringLiteral("A,a,,0,0,0,"),
                                QStringLiteral("Added,elsewhere,,0,0,0,")};
    const QStringList Ours{QStringLiteral("A,a,,40002,1,0,正")};
};

} // namespace

TEST_F(ChangedDeck, SavingAsksBeforeOverwritingAndCancelKeepsBothVersions) {
    const QString path = OpenChangeAndEditElsewhere();
    prompts.Answer(PromptButton::Cancel);
    Trigger("men_File_Save");
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, ChangedText);
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Question);
    EXPECT_EQ(prompts.asked[0].buttons,
              (std::vector<PromptButton>{PromptButton::Yes, PromptButton::No,
                                         PromptButton::Cancel})); // 統合して保存, 上書き
    EXPECT_EQ(ReadDeck(path), Elsewhere);
    EXPECT_TRUE(IsDeckChanged(form->DeckState())) << "the answer stays in memory";

    prompts.Answer(PromptButton::No); // 上書き
    Trigger("men_File_Save");
    EXPECT_EQ(ReadDeck(path), Ours);
    // Once written, the file is ours again: the next save asks nothing.
    Trigger("men_File_Save");
    EXPECT_EQ(prompts.asked.size(), 2u);
}

TEST_F(ChangedDeck, ClosingWithAutoSaveAsksAndNoKeepsTheWindowOpen) {
    const QString path = OpenChangeAndEditElsewhere();
    form->Controls().SetAutoSave(true);
    prompts.Answer(PromptButton::Cancel);
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(ReadDeck(path), Elsewhere);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text, ChangedText);

    // Saved under another name, the deck is safe and closes without a question.
    const QString other = dir.filePath(QStringLiteral("mine.csv"));
    prompts.AnswerFile(other);
    Trigger("men_File_SaveAs");
    EXPECT_EQ(ReadDeck(other), Ours);
    EXPECT_TRUE(form->close());
    EXPECT_EQ(prompts.asked.size(), 1u);
}

TEST_F(ChangedDeck, OpeningAnotherDeckAfterNoKeepsTheOpenOne) {
    const QString path = OpenChangeAndEditElsewhere();
    const QString second = WriteDeck(dir, QStringLiteral("second.csv"), {QStringLiteral("X,x")});
    prompts.Answer(PromptButton::Yes);    // save the learning record?
    prompts.Answer(PromptButton::Cancel); // merge or overwrite the other program's changes?
    EXPECT_EQ(form->OpenDeckFile(second), 0);
    EXPECT_EQ(form->DeckState().FileName(), path);
    EXPECT_EQ(ReadDeck(path), Elsewhere);
}

TEST_F(ChangedDeck, ADeletedFileIsSimplyWrittenAgain) {
    const QString path = OpenDeck({QStringLiteral("A,a,,0,0,0,")});
    Click("btnSusume");
    Click("btnDekita");
    ASSERT_TRUE(QFile::remove(path));
    Trigger("men_File_Save");
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_EQ(ReadDeck(path), Ours);
}
