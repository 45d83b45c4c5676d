#include "app/file_drop.h"
#include "deck/sjis_codec.h"
#include "exchange_ui/deck_exchange.h"
#include "exchange_ui/import_dialog.h"
#include "support/file_bytes.h"
#include "support/window_fixture.h"
#include "view/card_view.h"
#include "view/cell_media.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QTest>
#include <QUrl>

namespace {

class FileDrops : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        // The program's folder for relative paths is the test's own.
        form->findChild<FileDrop *>()->SetProgramFolder(dir.filePath(QStringLiteral("app")));
    }

    QString File(const QString &relative) {
        const QString path = dir.filePath(relative);
        QDir().mkpath(QFileInfo(path).absolutePath());
        return WriteDeck(dir, relative, {QStringLiteral("dropped,d,,0,0,0,")});
    }

    QPoint CentreOf(const QWidget *widget) const {
        return widget->mapTo(form.get(), widget->rect().center());
    }

    // Drags `data` onto the window at `at` (window coordinates) and drops it the way Qt delivers
    // it: to the widget there, or the nearest one above it that takes drops. Returns whether the
    // drag was welcomed.
    bool Drop(QPoint at, QMimeData *dragged, bool settle = true) {
        const std::unique_ptr<QMimeData> data(dragged);
        QWidget *target = form->childAt(at);
        while (target && !target->acceptDrops())
            target = target->parentWidget();
        if (!target)
            return false;
        const QPoint local = target->mapFrom(form.get(), at);
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(local, actions, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(local, actions, data.get(), Qt::LeftButton, {});
        QApplication::sendEvent(target, &drop);
        EXPECT_EQ(drop.dropAction(), Qt::CopyAction) << "a drop must never move the file";
        if (settle)
            QTest::qWait(10);
        return drop.isAccepted();
    }
    bool DropFiles(QPoint at, const QStringList &paths, bool settle = true) {
        auto *data = new QMimeData;
        QList<QUrl> urls;
        for (const QString &path : paths)
            urls << QUrl::fromLocalFile(path);
        data->setUrls(urls);
        return Drop(at, data, settle);
    }
    QByteArray Question(int i) const { return form->DeckState().Cards()[size_t(i)]->Mondai(); }
};

TEST_F(FileDrops, APictureOnAShownBoxAddsItsRelativePathAsALastLine) {
    OpenDeck({QStringLiteral("cat,neko,,0,0,0,")});
    EXPECT_TRUE(DropFiles(CentreOf(Memo(KindQuestion, 0)),
                          {dir.filePath(QStringLiteral("app/pic/cat.jpg"))}));
    EXPECT_EQ(Question(0), QByteArray("cat\\n/pic/cat.jpg"));
    EXPECT_EQ(Text(KindQuestion, 0), QStringLiteral("cat\n/pic/cat.jpg"));

    // Outside the program's folder the path climbs up to the folder both share.
    Click("btnSusume");
    DropFiles(CentreOf(Memo(KindAnswer, 0)), {dir.filePath(QStringLiteral("data/a.WAV"))});
    EXPECT_EQ(form->DeckState().Cards()[0]->Kaitou(), QByteArray("neko\\n/../data/a.WAV"));
    EXPECT_TRUE(IsDeckChanged(form->DeckState()));
}

TEST_F(FileDrops, ADroppedPngShowsAtOnceBelowItsText) {
    const QString app = dir.filePath(QStringLiteral("app"));
    form->Media().SetProgramFolder(app);
    QDir().mkpath(app + QStringLiteral("/pic"));
    QImage picture(60, 40, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(app + QStringLiteral("/pic/cat.png")));
    OpenDeck({QStringLiteral("cat,neko,,0,0,0,")});

    EXPECT_TRUE(DropFiles(CentreOf(Memo(KindQuestion, 0)), {app + QStringLiteral("/pic/cat.png")}));
    form->Media().Loader().WaitForIdle();
    EXPECT_EQ(Question(0), QByteArray("cat\\n/pic/cat.png"));
    EXPECT_EQ(form->Cells().CellImageFlag[0][0], 1);
    EXPECT_TRUE(form->Cells().Image(KindQuestion, 0)->HasPicture());
    EXPECT_LT(Memo(KindQuestion, 0)->height(),
              form->Cells().Pane(KindQuestion, 0)->contentsRect().height());
}

TEST_F(FileDrops, APictureAnywhereButOnABoxShowingACardIsIgnored) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,")});
    form->ClickPanelPattern(2); // three rows for one card: rows 2 and 3 are empty cells
    const QString picture = dir.filePath(QStringLiteral("app/a.bmp"));
    ASSERT_FALSE(Memo(KindQuestion, 2)->Shown);
    DropFiles(CentreOf(Memo(KindQuestion, 2)), {picture});
    DropFiles(CentreOf(Find<QWidget>("btnSusume")), {picture});
    DropFiles(QPoint(5, form->height() - 5), {picture}); // the status line
    EXPECT_EQ(Question(0), QByteArray("A"));
    EXPECT_EQ(Text(KindQuestion, 2), QString());
    EXPECT_FALSE(IsDeckChanged(form->DeckState()));
}

TEST_F(FileDrops, ADeckOpensWhereverItLandsWhenItsNameIsSpelledExactly) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,")});
    const QString lower = File(QStringLiteral("notes.csv"));
    const QString upper = File(QStringLiteral("notes.CSV"));
    const QString mixed = File(QStringLiteral("notes.Csv"));

    DropFiles(CentreOf(Find<QWidget>("btnSusume")), {mixed});
    EXPECT_EQ(Question(0), QByteArray("A"));
    DropFiles(CentreOf(Memo(KindQuestion, 0)), {lower});
    EXPECT_EQ(form->DeckState().FileName(), lower);
    EXPECT_EQ(Question(0), QByteArray("dropped"));
    form->ClickPanelPattern(5);
    DropFiles(CentreOf(Find<QWidget>("GridHyouji")), {upper, lower});
    EXPECT_EQ(form->DeckState().FileName(), upper);
    EXPECT_EQ(form->RecentPaths()[0], upper);
}

// Tab-separated text from another program is dropped as a deck, and opening it offers import.
TEST_F(FileDrops, ADroppedTsvFileIsOfferedForImport) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,")});
    const QString words = dir.filePath(QStringLiteral("words.tsv"));
    WriteBytes(words, u"apple\tりんご\nbanana\tバナナ\n"_qs.toUtf8());
    int dialogs = 0;
    form->Document().Exchange().runDialog = [&dialogs](ImportDialog &) { return ++dialogs > 0; };
    prompts.Answer(PromptButton::Yes);
    DropFiles(CentreOf(Find<QWidget>("btnSusume")), {words});
    ASSERT_FALSE(prompts.asked.empty());
    EXPECT_TRUE(prompts.asked[0].text.contains(u"カードとして取り込みますか"_qs));
    EXPECT_EQ(dialogs, 1);
    EXPECT_EQ(Question(0), QByteArray("apple"));
}

TEST_F(FileDrops, ANameWithBothKindsIsReferencedOnABoxAndThenOpened) {
    const QString first = OpenDeck({QStringLiteral("A,a,,0,0,0,")});
    const QString both = File(QStringLiteral("app/photo.jpg.txt"));
    DropFiles(CentreOf(Find<QWidget>("btnSusume")), {both});
    EXPECT_EQ(form->DeckState().FileName(), first);

    prompts.Answer(PromptButton::Yes); // the reference made the deck changed: save it
    DropFiles(CentreOf(Memo(KindQuestion, 0)), {both});
    EXPECT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(form->DeckState().FileName(), both);
    EXPECT_EQ(ReadDeck(first), QStringList{QStringLiteral("A\\n/photo.jpg.txt,a,,0,0,0,")});
}

TEST_F(FileDrops, TextAndRemoteAddressesFromOtherProgramsDoNothing) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,")});
    auto *text = new QMimeData;
    text->setText(QStringLiteral("typed elsewhere"));
    EXPECT_FALSE(Drop(CentreOf(Memo(KindQuestion, 0)), text));
    auto *remote = new QMimeData;
    remote->setUrls({QUrl(QStringLiteral("https://example.org/deck.csv"))});
    EXPECT_FALSE(Drop(CentreOf(Memo(KindQuestion, 0)), remote));
    EXPECT_EQ(Text(KindQuestion, 0), QStringLiteral("A"));
    EXPECT_EQ(Question(0), QByteArray("A"));
}

// The toolkit itself refuses drops on a window that a modal box blocks; a drop taken just before
// a box opens (a handed-over deck asking to save, say) must wait for the answer.
TEST_F(FileDrops, ADropTakenBeforeADialogOpensWaitsAndGoesThroughTheSavePrompt) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,")});
    Click("btnSusume");
    Click("btnDekita"); // the deck is changed now
    const QString other = File(QStringLiteral("other.csv"));

    DropFiles(CentreOf(Memo(KindQuestion, 0)), {other}, false);
    QDialog box(form.get());
    box.setModal(true);
    box.show();
    ASSERT_EQ(QApplication::activeModalWidget(), &box);
    QTest::qWait(250);
    EXPECT_TRUE(prompts.asked.empty());
    EXPECT_NE(form->DeckState().FileName(), other);

    prompts.Answer(PromptButton::Cancel);
    box.close();
    EXPECT_TRUE(QTest::qWaitFor([this] { return !prompts.asked.empty(); }));
    EXPECT_EQ(prompts.asked[0].text, QStringLiteral("学習結果を保存しますか？"));
    EXPECT_NE(form->DeckState().FileName(), other); // cancelled: the open deck stays
}

TEST_F(FileDrops, AReferenceThatWaitedGoesNowhereOnceTheBoxShowsAnotherCard) {
    OpenDeck({QStringLiteral("A,a,,0,0,0,"), QStringLiteral("B,b,,0,0,0,")});
    DropFiles(CentreOf(Memo(KindQuestion, 0)), {dir.filePath(QStringLiteral("app/a.jpg"))}, false);
    QDialog box(form.get());
    box.setModal(true);
    box.show();
    QTest::qWait(150);
    Click("btnSusume");
    Click("btnSusume"); // B in the box now
    box.close();
    QTest::qWait(250);
    EXPECT_EQ(Question(0), QByteArray("A"));
    EXPECT_EQ(Question(1), QByteArray("B"));
}

} // namespace
