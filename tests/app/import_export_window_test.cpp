#include "deck/card.h"
#include "deck/sjis_codec.h"
#include "exchange/card_export.h"
#include "exchange_ui/deck_exchange.h"
#include "exchange_ui/import_dialog.h"
#include "support/file_bytes.h"
#include "support/window_fixture.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

namespace {

const QString NotADeck = QStringLiteral("ファイルが不適切です。\n読み込めませんでした。");

class ImportExport : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        form->Document().Exchange().runDialog = [this](ImportDialog &dialog) {
            ++dialogs;
            if (adjust)
                adjust(dialog);
            return accept;
        };
    }
    QString Write(const QString &name, const QByteArray &bytes) {
        const QString path = dir.filePath(name);
        WriteBytes(path, bytes);
        return path;
    }
    QStringList Questions() const {
        QStringList questions;
        for (const auto &card : form->DeckState().Cards())
            questions << sjis::ToQString(DisplayForm(card->Mondai()));
        return questions;
    }
    QStringList Asked() const {
        QStringList texts;
        for (const MessageRequest &request : prompts.asked)
            texts << request.text;
        return texts;
    }

    int dialogs = 0;
    bool accept = true;
    std::function<void(ImportDialog &)> adjust;
    const QByteArray tsv = u"apple\tりんご\nbanana\tバナナ, 芭蕉\n"_qs.toUtf8();
};

TEST_F(ImportExport, ImportMakesAnUnsavedDeckWhoseFirstSaveAsksForAName) {
    const QString source = Write(u"words.tsv"_qs, tsv);
    prompts.AnswerFile(source);
    Trigger("men_File_Import");
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(Questions(), QStringList({u"apple"_qs, u"banana"_qs}));
    EXPECT_TRUE(form->DeckState().FileName().isEmpty());
    EXPECT_TRUE(form->windowTitle().contains(u"words.tsv"_qs));
    EXPECT_EQ(form->DrillState().Queue().size(), 2u);
    EXPECT_TRUE(IsDeckChanged(form->DeckState()));
    EXPECT_TRUE(Find<QLabel>("NoDeckHint")->isHidden()) << "the cards, not the empty window's note";

    const QString saved = dir.filePath(u"words.csv"_qs);
    prompts.AnswerFile(saved);
    Trigger("men_File_Save");
    ASSERT_EQ(prompts.fileRequests.size(), 2u);
    EXPECT_EQ(prompts.fileRequests.back().directory, saved) << "offered beside the source";
    EXPECT_EQ(ReadDeck(saved),
              QStringList({u"apple,りんご,,0,0,0,"_qs, u"banana,\"バナナ, 芭蕉\",,0,0,0,"_qs}));
    EXPECT_EQ(FileBytes(source), tsv) << "the source is never written";
    EXPECT_EQ(form->DeckState().FileName(), saved);
    EXPECT_FALSE(IsDeckChanged(form->DeckState()));
}

TEST_F(ImportExport, ClosingTheImportedDeckAsksToSaveAndCancellingTheNameKeepsIt) {
    prompts.AnswerFile(Write(u"words.tsv"_qs, tsv));
    Trigger("men_File_Import");
    prompts.Answer(PromptButton::Yes);
    prompts.AnswerFile(QString()); // the name dialog cancelled
    EXPECT_EQ(form->Document().AskSave(), SaveAnswer::Cancelled);
    EXPECT_EQ(form->DeckState().Cards().size(), 2u);
}

TEST_F(ImportExport, CardsCanGoAfterTheOpenDeck) {
    const QString deck = OpenDeck({u"q,a,,0,0,0,"_qs});
    adjust = [](ImportDialog &dialog) {
        dialog.findChild<QRadioButton *>(u"import_Append"_qs)->setChecked(true);
    };
    prompts.AnswerFile(Write(u"words.tsv"_qs, tsv));
    Trigger("men_File_Import");
    EXPECT_EQ(Questions(), QStringList({u"q"_qs, u"apple"_qs, u"banana"_qs}));
    EXPECT_EQ(form->DeckState().FileName(), deck);
    EXPECT_EQ(ReadDeck(deck), QStringList{u"q,a,,0,0,0,"_qs}) << "nothing written until saved";
}

TEST_F(ImportExport, CancelledPreviewAndUnreadableFilesChangeNothing) {
    OpenDeck({u"q,a,,0,0,0,"_qs});
    accept = false;
    prompts.Answer(PromptButton::Ok); // no cards
    prompts.Answer(PromptButton::Ok); // no file
    prompts.AnswerFile(Write(u"words.tsv"_qs, tsv));
    Trigger("men_File_Import");
    prompts.AnswerFile(Write(u"empty.csv"_qs, "\n\n"));
    Trigger("men_File_Import");
    prompts.AnswerFile(dir.filePath(u"missing.csv"_qs));
    Trigger("men_File_Import");
    EXPECT_EQ(dialogs, 1) << "no preview for a file without cards";
    EXPECT_EQ(Questions(), QStringList{u"q"_qs});
    ASSERT_EQ(prompts.asked.size(), 2u);
    EXPECT_TRUE(prompts.asked[0].text.startsWith(u"取り込めるカードがありません。"_qs));
    EXPECT_TRUE(prompts.asked[1].text.startsWith(u"ファイルが見つかりません。"_qs));
}

TEST_F(ImportExport, OpeningAnotherProgramsFileOffersImport) {
    // Rejected by the deck reader, but it holds two columns: import is offered.
    const QString tabs = Write(u"tabs.txt"_qs, u"apple\tりんご\nbanana\tバナナ\n"_qs.toUtf8());
    prompts.Answer(PromptButton::Yes);
    EXPECT_EQ(form->OpenDeckFile(tabs), 1);
    EXPECT_EQ(Questions(), QStringList({u"apple"_qs, u"banana"_qs}));
    prompts.Answer(PromptButton::No);
    EXPECT_EQ(form->OpenDeckFile(tabs), 1);
    EXPECT_EQ(dialogs, 1);

    // Tab-separated, yet with commas: "No" opens it as a deck after all.
    prompts.Answer(PromptButton::No); // the import offer
    prompts.Answer(PromptButton::No); // save the imported deck?
    const QString mixed = Write(u"mixed.txt"_qs, "a,b\tc\nd,e\tf\n");
    EXPECT_EQ(form->OpenDeckFile(mixed), 0);
    EXPECT_EQ(form->DeckState().FileName(), mixed);

    // Nothing import could read either: the warning as before.
    prompts.Answer(PromptButton::Ok);
    EXPECT_EQ(form->OpenDeckFile(Write(u"one.txt"_qs, "just one line\n")), 1);
    EXPECT_EQ(Asked().back(), NotADeck);
    EXPECT_EQ(form->DeckState().FileName(), mixed);
}

TEST_F(ImportExport, ExportWritesTheCardsAndLeavesTheDeckFileAlone) {
    const QString deck = OpenDeck({u"\"a,b\",x\\ny,表,46000,3,1,○"_qs});
    const QByteArray before = FileBytes(deck);
    const QString out = dir.filePath(u"out"_qs);
    prompts.AnswerFile(out);
    Trigger("men_File_ExportRecord");
    Trigger("men_File_ExportCsv");
    EXPECT_EQ(
        FileBytes(out + u".csv"_qs),
        u"問題,解答,参考,期日,正解,不正解\r\n\"a,b\",\"x\r\ny\",表,2025-12-09,3,1\r\n"_qs.toUtf8());
    EXPECT_EQ(FileBytes(deck), before);
    EXPECT_FALSE(IsDeckChanged(form->DeckState()));

    // The deck's own file is never the target.
    prompts.AnswerFile(deck);
    prompts.Answer(PromptButton::Ok);
    Trigger("men_File_ExportTsv");
    EXPECT_EQ(FileBytes(deck), before);
    EXPECT_TRUE(Asked().back().startsWith(u"開いているデッキのファイルには書き出せません。"_qs));
}

TEST_F(ImportExport, PreviewFollowsTheChoicesAndNamesLostCharacters) {
    ImportDialog dialog(u"a;b\tc\nd 😀;e\tf\n"_qs.toUtf8(), u"x.txt"_qs, false);
    EXPECT_EQ(dialog.Options().separator, '\t');
    auto *preview = dialog.findChild<QTableWidget *>(u"import_Preview"_qs);
    EXPECT_EQ(preview->item(0, 0)->text(), u"a;b"_qs);
    EXPECT_EQ(preview->item(1, 1)->text(), u"f"_qs);
    EXPECT_TRUE(dialog.findChild<QLabel *>(u"import_Note"_qs)->text().contains(u"U+1F600"_qs));
    EXPECT_FALSE(dialog.findChild<QRadioButton *>(u"import_Append"_qs)->isEnabled());

    auto *separator = dialog.findChild<QComboBox *>(u"import_Separator"_qs);
    separator->setCurrentIndex(separator->findData(int(';')));
    EXPECT_EQ(preview->item(0, 0)->text(), u"a"_qs);
    EXPECT_EQ(preview->item(0, 1)->text(), u"b\tc"_qs);
    auto *answer = dialog.findChild<QComboBox *>(u"import_AnswerColumn"_qs);
    answer->setCurrentIndex(answer->findData(exchange::kNoColumn));
    EXPECT_EQ(preview->item(0, 1)->text(), QString());
    EXPECT_EQ(dialog.findChild<QLabel *>(u"import_Count"_qs)->text(), u"カード数: 2 枚"_qs);

    auto *encoding = dialog.findChild<QComboBox *>(u"import_Encoding"_qs);
    encoding->setCurrentIndex(encoding->findData(int(exchange::SourceEncoding::Utf16LE)));
    EXPECT_EQ(dialog.findChild<QPushButton *>(u"import_OK"_qs)->isEnabled(), dialog.Result().ok());
}

} // namespace

namespace {

QByteArray WordList(int count) {
    QByteArray text;
    for (int i = 1; i <= count; ++i)
        text += "word" + QByteArray::number(i) + "\tmeaning\n";
    return text;
}

TEST_F(ImportExport, AListOfManyCardsOffersTheNewCardLimitAndTheFirstPassKeepsIt) {
    struct Case {
        const char *name;
        int cards;
        bool tick;
        bool offered;
        std::size_t queue;
    } cases[] = {
        {"100 cards: no offer", 100, true, false, 100},
        {"101 cards, offer left alone", 101, false, true, 101},
        {"150 cards, limit set to 20", 150, true, true, 20},
        {"a limit set already: no offer", 150, true, false, 20},
    };
    for (const Case &c : cases) {
        bool offered = false;
        adjust = [&](ImportDialog &dialog) {
            auto *tick = dialog.findChild<QCheckBox *>(u"import_LimitNew"_qs);
            offered = !tick->isHidden();
            tick->setChecked(c.tick);
        };
        prompts.AnswerFile(Write(u"words.tsv"_qs, WordList(c.cards)));
        if (!form->DeckState().Cards().empty())
            prompts.Answer(PromptButton::No); // the previous import is not saved
        Trigger("men_File_Import");
        EXPECT_EQ(offered, c.offered) << c.name;
        EXPECT_EQ(form->DrillState().Queue().size(), c.queue) << c.name;
    }
    EXPECT_TRUE(form->findChild<QLabel *>(u"NewCardStatus"_qs)->text() == u"新規 0/20"_qs);
}

} // namespace
