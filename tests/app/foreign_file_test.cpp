#include "app/command_line.h"
#include "deck/sjis_codec.h"
#include "exchange/file_kind.h"
#include "exchange_ui/deck_exchange.h"
#include "exchange_ui/import_dialog.h"
#include "support/file_bytes.h"
#include "support/window_fixture.h"
#include "ui/file_dialog.h"
#include "view/card_cells.h"
#include "view/long_text.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QProcess>

namespace {

const QString SavePrompt = QStringLiteral("学習結果を保存しますか？");

// Files other programs wrote, handed to the window as decks.
class ForeignFiles : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form->Document().Exchange().runDialog = [this](ImportDialog &) {
            ++dialogs;
            return true;
        };
    }
    QString Write(const QString &name, const QByteArray &bytes) {
        const QString path = dir.filePath(name);
        WriteBytes(path, bytes);
        return path;
    }

    int dialogs = 0;
    // A Japanese spreadsheet's CSV: a row of column names, a cell with a line break.
    const QByteArray excel =
        sjis::FromQString(u"表,裏,メモ\r\n犬,dog,\"動物\r\n四つ足\"\r\n猫,cat,\r\n"_qs);
};

// Every way through the questions leaves the spreadsheet's file as it was; Enter (the first
// answer, and the proposed name) never rewrites it.
TEST_F(ForeignFiles, SpreadsheetCsvIsOfferedForImportAndNeverRewritten) {
    const QString path = Write(u"単語.csv"_qs, excel);
    const QString beside = dir.filePath(u"単語_kardeon.csv"_qs);
    struct Case {
        const char *name;
        PromptButton offer;
        int cards;         // in the window afterwards
        bool openedAsDeck; // the file is the open deck
    } const cases[] = {
        {"cancel", PromptButton::Cancel, 0, false},
        {"import (the default)", PromptButton::Yes, 2, false},
        {"open as a deck", PromptButton::No, 4, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        prompts.asked.clear();
        prompts.Answer(c.offer);
        EXPECT_EQ(form->OpenDeckFile(path), 0);
        ASSERT_EQ(prompts.asked.size(), 1u);
        EXPECT_TRUE(prompts.asked[0].text.contains(u"カードとして取り込みますか"_qs));
        EXPECT_EQ(form->DeckState().Cards().size(), size_t(c.cards));
        EXPECT_EQ(form->DeckState().FileName() == path, c.openedAsDeck);
        if (c.cards == 0)
            continue;
        // Ctrl+Q: はい to saving, then Enter in the file dialog.
        prompts.Answer(PromptButton::Yes);
        prompts.AnswerFile(beside);
        EXPECT_EQ(form->Document().AskSave(), SaveAnswer::Continue);
        ASSERT_FALSE(prompts.fileRequests.empty());
        EXPECT_EQ(prompts.fileRequests.back().directory, beside);
        EXPECT_EQ(FileBytes(path), excel);
        EXPECT_EQ(form->DeckState().FileName(), beside);
        // Saved under its new name, it is a deck of its own: saved again without a question.
        const size_t named = prompts.fileRequests.size();
        Trigger("men_File_Save");
        EXPECT_EQ(prompts.fileRequests.size(), named);
        QFile::remove(beside);
    }
    EXPECT_EQ(dialogs, 1);
}

TEST_F(ForeignFiles, BinaryFilesAreNeitherOpenedNorImported) {
    QByteArray elf("\x7f"
                   "ELF\x02\x01\x01",
                   7);
    elf += QByteArray(40, '\0') + "a,b\n" + QByteArray(100, '\x01') + "c,d\n";
    const QString deck = OpenDeck({u"q,a,,0,0,0,"_qs});
    for (const char *name : {"program.csv", "program.tsv"}) {
        const QString path = Write(QString::fromLatin1(name), elf);
        prompts.Answer(PromptButton::Ok);
        EXPECT_EQ(form->OpenDeckFile(path), 1) << name;
        prompts.Answer(PromptButton::Ok);
        prompts.AnswerFile(path);
        Trigger("men_File_Import");
        EXPECT_EQ(FileBytes(path), elf);
    }
    ASSERT_EQ(prompts.asked.size(), 4u);
    for (const MessageRequest &request : prompts.asked)
        EXPECT_EQ(request.text, exchange::NotTextMessage());
    EXPECT_EQ(dialogs, 0);
    EXPECT_EQ(form->DeckState().FileName(), deck);
    EXPECT_EQ(form->DeckState().Cards().size(), 1u);
}

TEST_F(ForeignFiles, DialogsProposeNamesThatAreAcceptedAndListWhatImportReads) {
    const QString deck = OpenDeck({u"q,a,,0,0,0,"_qs}, u"words.csv"_qs);
    const struct {
        const char *action;
        QString proposed;
    } cases[] = {
        {"men_File_ExportCsv", dir.filePath(u"words-書き出し.csv"_qs)},
        {"men_File_ExportTsv", dir.filePath(u"words.tsv"_qs)},
    };
    for (const auto &c : cases) {
        const QString proposed = c.proposed;
        prompts.AnswerFile(proposed); // Enter
        Trigger(c.action);
        EXPECT_EQ(prompts.fileRequests.back().directory, proposed) << c.action;
        EXPECT_TRUE(QFile::exists(proposed)) << c.action;
    }
    EXPECT_TRUE(prompts.asked.empty()) << prompts.asked[0].text.toStdString();
    EXPECT_EQ(ReadDeck(deck), QStringList{u"q,a,,0,0,0,"_qs});

    prompts.AnswerFile(QString());
    Trigger("men_File_Open");
    const QString filter = prompts.fileRequests.back().filter;
    EXPECT_EQ(filter, TextFileFilter());
    for (const char *pattern : {"*.csv", "*.tsv", "*.txt"})
        EXPECT_TRUE(filter.section(u";;"_qs, 0, 0).contains(QLatin1String(pattern))) << pattern;
}

// The real dialogs cannot delete, rename or make folders, yet a new name can be typed and the
// proposed one is chosen from the start.
TEST_F(ForeignFiles, FileDialogsLeaveTheFileSystemAlone) {
    const QString proposed = dir.filePath(u"new name.csv"_qs);
    for (const bool save : {false, true}) {
        const auto dialog = MakeFileDialog(nullptr, u"t"_qs, TextFileFilter(), proposed, save);
        const auto *model = dialog->findChild<QFileSystemModel *>();
        ASSERT_NE(model, nullptr);
        EXPECT_TRUE(model->isReadOnly()) << save;
        EXPECT_EQ(dialog->acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        EXPECT_EQ(dialog->directory().absolutePath(), QDir(dir.path()).absolutePath());
        if (save) {
            EXPECT_EQ(dialog->selectedFiles(), QStringList{proposed});
        }
    }
}

// A choice of columns survives a separator that shows fewer columns for a moment.
TEST_F(ForeignFiles, ImportSeparatorChangedAndBackKeepsTheColumns) {
    ImportDialog dialog("q,a,r\nq2,a2,r2\n", u"x.csv"_qs, false);
    auto *answer = dialog.findChild<QComboBox *>(u"import_AnswerColumn"_qs);
    auto *reference = dialog.findChild<QComboBox *>(u"import_ReferenceColumn"_qs);
    ASSERT_NE(reference, nullptr);
    answer->setCurrentIndex(answer->findData(2));
    reference->setCurrentIndex(reference->findData(1));
    auto *separator = dialog.findChild<QComboBox *>(u"import_Separator"_qs);
    separator->setCurrentIndex(separator->findData(int('\t')));
    EXPECT_EQ(dialog.Options().columns[1], exchange::kNoColumn);
    separator->setCurrentIndex(separator->findData(int(',')));
    EXPECT_EQ(dialog.Options().columns, (std::array<int, 3>{0, 2, 1}));
    EXPECT_EQ(answer->currentData().toInt(), 2);
    EXPECT_EQ(sjis::ToQString(dialog.Result().cards[0]->Sankou()), u"a"_qs);
}

// A line far too long to lay out opens at once; the cell shows its start, cannot be edited,
// and the deck keeps and saves the whole line.
TEST_F(ForeignFiles, VeryLongLinesOpenAndAreSavedWhole) {
    const QString longText = QString(300000, u'あ');
    const QString path = OpenDeck({u"q,"_qs + longText + u",,0,0,0,"_qs, u"r,s,,0,0,0,"_qs});
    const QByteArray before = FileBytes(path);
    Click("btnSusume");
    TMyMemo *answer = Memo(KindAnswer, 0);
    ASSERT_NE(answer, nullptr);
    EXPECT_TRUE(answer->Cut);
    EXPECT_TRUE(answer->isReadOnly());
    EXPECT_EQ(answer->toPlainText().size(), kMaxShownLine + 1);
    EXPECT_TRUE(answer->toPlainText().endsWith(u'…'));
    EXPECT_FALSE(IsDeckChanged(form->DeckState()));
    EXPECT_EQ(FileBytes(path), before);
}

TEST(CutLongLines, CutsOnlyTheLinesTooLongToLayOut) {
    const QString limit(kMaxShownLine, u'x');
    const struct {
        QString text;
        QString shown;
        bool cut;
    } cases[] = {
        {u"short\nlines"_qs, u"short\nlines"_qs, false},
        {limit, limit, false},
        {limit + u"y"_qs, limit + u"…"_qs, true},
        {u"a\n"_qs + limit + u"yy\nb"_qs, u"a\n"_qs + limit + u"…\nb"_qs, true},
        // A character outside the BMP is not split.
        {limit.chopped(1) + u"😀z"_qs, limit.chopped(1) + u"…"_qs, true},
    };
    for (const auto &c : cases) {
        const ShownText shown = CutLongLines(c.text);
        EXPECT_EQ(shown.text, c.shown) << c.text.left(20).toStdString();
        EXPECT_EQ(shown.cut, c.cut);
    }
}

// The program itself, started as a user starts it from a terminal.
TEST(CommandLineOfTheProgram, AnswersHelpVersionAndUnknownOptions) {
    const struct {
        QStringList arguments;
        int status;
        const char *out; // in standard output
        const char *err; // in standard error
    } cases[] = {
        {{u"--version"_qs}, 0, "kardeon 0.", ""},
        {{u"-v"_qs}, 0, "kardeon 0.", ""},
        {{u"--help"_qs}, 0, "--version", ""},
        {{u"--bogus"_qs}, 2, "", "--bogus"},
        {{u"a.csv"_qs, u"b.csv"_qs}, 2, "", "kardeon --help"},
    };
    for (const auto &c : cases) {
        QProcess process;
        process.start(QStringLiteral(KARDEON_BINARY), c.arguments);
        ASSERT_TRUE(process.waitForFinished(20000)) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(process.exitCode(), c.status) << c.arguments.join(u' ').toStdString();
        EXPECT_TRUE(process.readAllStandardOutput().contains(c.out));
        EXPECT_TRUE(QString::fromLocal8Bit(process.readAllStandardError())
                        .contains(QString::fromUtf8(c.err)));
    }
}

TEST(CommandLine, ReadsDecksAfterTwoDashes) {
    const QString here = QDir::currentPath();
    const struct {
        QStringList arguments;
        CommandLine::Action action;
        QString deck;
    } cases[] = {
        {{u"deck.csv"_qs}, CommandLine::Action::Run, here + u"/deck.csv"_qs},
        {{u"\"/tmp/x.csv\""_qs}, CommandLine::Action::Run, u"/tmp/x.csv"_qs},
        {{u"--"_qs, u"-dash.csv"_qs}, CommandLine::Action::Run, here + u"/-dash.csv"_qs},
        {{u"-dash.csv"_qs}, CommandLine::Action::Error, QString()},
        {{u"-h"_qs, u"deck.csv"_qs}, CommandLine::Action::Help, QString()},
    };
    for (const auto &c : cases) {
        const CommandLine line = ReadCommandLine(QStringList{u"kardeon"_qs} + c.arguments);
        EXPECT_EQ(line.action, c.action) << c.arguments.join(u' ').toStdString();
        EXPECT_EQ(line.deck, c.deck) << c.arguments.join(u' ').toStdString();
    }
}

} // namespace
