#include "settings/settings.h"
#include "support/window_fixture.h"

#include <QAction>
#include <QDir>
#include <QFile>

namespace {

class RecentFiles : public WindowTest {
protected:
    QString Deck(const QString &name) {
        return WriteDeck(dir, name, {QStringLiteral("%1,a,,0,0,0,").arg(name)});
    }
    QAction *Entry(int entry) const {
        return Find<QAction>(QStringLiteral("men_File_%1").arg(entry).toLatin1().constData());
    }
    // The shown entries' captions, top to bottom.
    QStringList Captions() const {
        QStringList captions;
        for (int entry = 1; entry <= 5; ++entry) {
            if (Entry(entry)->isVisible())
                captions << Entry(entry)->text();
        }
        return captions;
    }
};

TEST_F(RecentFiles, OpeningAndReopeningKeepTheNewestFiveOnTop) {
    QStringList paths;
    for (const char *name : {"1.csv", "2.csv", "3.csv", "4.csv", "5.csv", "6.csv"}) {
        paths << Deck(QString::fromLatin1(name));
        ASSERT_EQ(form->OpenDeckFile(paths.last()), 0);
    }
    EXPECT_EQ(Captions(), (QStringList{paths[5], paths[4], paths[3], paths[2], paths[1]}));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kardeon - 6.csv"));

    Trigger("men_File_3");
    EXPECT_EQ(form->DeckState().DeckFileName, paths[3]);
    EXPECT_EQ(Captions(), (QStringList{paths[3], paths[5], paths[4], paths[2], paths[1]}));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kardeon - 4.csv"));

    // Names differing only in case are different files and different entries.
    const QString upper = Deck(QStringLiteral("4.CSV"));
    form->OpenDeckFile(upper);
    EXPECT_EQ(Captions(), (QStringList{upper, paths[3], paths[5], paths[4], paths[2]}));
}

TEST_F(RecentFiles, AMissingFileIsTakenOutWithAWarningAndNothingElseChanges) {
    const QString a = Deck(QStringLiteral("a.csv"));
    const QString b = Deck(QStringLiteral("b.csv"));
    const QString c = Deck(QStringLiteral("c.csv"));
    for (const QString &path : {c, b, a})
        form->OpenDeckFile(path);
    ASSERT_TRUE(QFile::remove(b));

    prompts.Answer(PromptButton::Ok);
    Trigger("men_File_2");
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].text,
              QStringLiteral("ファイルが存在しません\n履歴から消去しました。"));
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Warning);
    EXPECT_EQ(Captions(), (QStringList{a, c}));
    EXPECT_FALSE(Entry(3)->isVisible());
    EXPECT_EQ(form->DeckState().DeckFileName, a);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kardeon - a.csv"));
}

TEST_F(RecentFiles, AFileThatCannotBeReadOrIsUnsuitableStaysListed) {
    const QString good = Deck(QStringLiteral("good.csv"));
    const QString folder = dir.filePath(QStringLiteral("folder.csv"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString unsuitable = WriteDeck(dir, QStringLiteral("plain.txt"), {QStringLiteral("x")});
    form->ShowRecentPaths({folder, unsuitable, QString(), QString(), QString()});
    form->OpenDeckFile(good);

    prompts.Answer(PromptButton::Ok);
    Trigger("men_File_2");
    prompts.Answer(PromptButton::Ok);
    Trigger("men_File_3");
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Critical);
    EXPECT_EQ(prompts.asked[1].text,
              QStringLiteral("ファイルが不適切です。\n読み込めませんでした。"));
    EXPECT_EQ(Captions(), (QStringList{good, folder, unsuitable}));
    EXPECT_EQ(form->DeckState().DeckFileName, good);
}

TEST_F(RecentFiles, SaveAsPutsTheNewNameOnTopAndRetitles) {
    const QString a = OpenDeck({QStringLiteral("q,a,,0,0,0,")}, QStringLiteral("a.csv"));
    const QString copy = dir.filePath(QStringLiteral("copy"));
    prompts.AnswerFile(copy);
    Trigger("men_File_SaveAs");
    EXPECT_EQ(Captions(), (QStringList{copy, a}));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kardeon - copy"));
}

TEST_F(RecentFiles, AnAmpersandIsShownAsItselfAndStoredUnchanged) {
    const QString path = Deck(QStringLiteral("Q&A.csv"));
    form->OpenDeckFile(path);
    QString shown = path;
    EXPECT_EQ(Entry(1)->text(), shown.replace(QStringLiteral("&"), QStringLiteral("&&")));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kardeon - Q&A.csv"));
    form->close();
    EXPECT_EQ(LoadSettings(SettingsFilePath()).fileNames[0], path);

    // The next start opens it again through the entry.
    ScriptedPrompts again;
    TForm1 next(again, FixedDayClock(TestToday));
    EXPECT_EQ(next.RecentPaths()[0], path);
    next.OpenStartDeck(QString());
    EXPECT_EQ(next.DeckState().DeckFileName, path);
}

} // namespace
