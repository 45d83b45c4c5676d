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
    static QStringList List(const RecentFileList::Paths &paths) {
        return QStringList(paths.begin(), paths.end());
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
    EXPECT_EQ(form->DeckState().FileName(), paths[3]);
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
    EXPECT_EQ(form->DeckState().FileName(), a);
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
    EXPECT_EQ(form->DeckState().FileName(), good);
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
    EXPECT_EQ(next.DeckState().FileName(), path);
}

} // namespace

namespace {

TEST_F(RecentFiles, PathsShiftJisCannotHoldSurviveACloseAndARestartWithoutErrors) {
    QStringList paths;
    for (const char *name : {"B.csv", "C.csv", "D.csv", "E.csv", "F.csv"})
        paths << Deck(QString::fromLatin1(name));
    const QString emojiFolder = dir.filePath(QStringLiteral("単語 📚"));
    ASSERT_TRUE(QDir().mkpath(emojiFolder));
    paths << Deck(QStringLiteral("café.csv")) << Deck(QStringLiteral("한국어.csv"))
          << WriteDeck(dir, QStringLiteral("単語 📚/100%.csv"), {QStringLiteral("q,a,,0,0,0,")});
    for (const QString &path : paths)
        ASSERT_EQ(form->OpenDeckFile(path), 0) << path.toStdString();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kardeon - 100%.csv"));
    const QStringList expected{paths[7], paths[6], paths[5], paths[4], paths[3]};
    ASSERT_EQ(List(form->RecentPaths()), expected);

    EXPECT_TRUE(form->close());
    EXPECT_TRUE(prompts.asked.empty()) << prompts.asked[0].text.toStdString();
    EXPECT_EQ(List(LoadSettings(SettingsFilePath()).fileNames), expected);

    // A second start and close keeps them too.
    for (int start = 0; start < 2; ++start) {
        ScriptedPrompts again;
        TForm1 next(again, FixedDayClock(TestToday));
        EXPECT_EQ(List(next.RecentPaths()), expected);
        next.show();
        EXPECT_TRUE(next.close());
        EXPECT_TRUE(again.asked.empty());
    }
    EXPECT_EQ(List(LoadSettings(SettingsFilePath()).fileNames), expected);
}

TEST_F(RecentFiles, ADeckInAnEmojiFolderSavesUnderItsOwnName) {
    const QString folder = dir.filePath(QStringLiteral("🎌"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString path =
        WriteDeck(dir, QStringLiteral("🎌/한국어.csv"), {QStringLiteral("q,a,,0,0,0,")});
    ASSERT_EQ(form->OpenDeckFile(path), 0);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kardeon - 한국어.csv"));
    Trigger("men_File_Save");
    EXPECT_EQ(ReadDeck(path), QStringList{QStringLiteral("q,a,,0,0,0,")});

    const QString copy = folder + QStringLiteral("/😀 copy.csv");
    prompts.AnswerFile(copy);
    Trigger("men_File_SaveAs");
    EXPECT_EQ(ReadDeck(copy), QStringList{QStringLiteral("q,a,,0,0,0,")});
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Kardeon - 😀 copy.csv"));
    EXPECT_EQ(form->DeckState().FileName(), copy);
    EXPECT_EQ(Captions(), (QStringList{copy, path}));
    EXPECT_TRUE(prompts.asked.empty());
}

} // namespace
