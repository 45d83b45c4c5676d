#include "deck/sjis_codec.h"
#include "settings/ini_file.h"
#include "settings/settings.h"
#include "support/window_fixture.h"
#include "ui/font_setup.h"
#include "view/card_view.h"
#include "view/font_settings.h"
#include "view/list_grid.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>

namespace {

const QStringList TwoCards{QStringLiteral("A,a,r,0,0,0,"), QStringLiteral("B,b,,0,0,0,")};
const int Sizes[] = {9, 10, 12, 16, 24, 36};

QFont Points(int points) {
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSize(points);
    return font;
}

class Fonts : public WindowTest {
protected:
    QAction *Item(const char *name) { return Find<QAction>(name); }
    QStringList MarkedSizes() {
        QStringList marked;
        for (int points : Sizes)
            if (Item(QStringLiteral("mem_Font_%1").arg(points).toLatin1().constData())->isChecked())
                marked << QString::number(points);
        return marked;
    }
    // Every question box of rows 0 to 5 (or answer box) shows `points`.
    void ExpectBoxes(int kind, int points) {
        for (int row = 0; row < CardView::RowCount; ++row)
            EXPECT_EQ(Memo(kind, row)->font().pointSize(), points) << kind << "/" << row;
    }
    void Choose(const char *item, std::optional<QFont> answer) {
        prompts.AnswerFont(std::move(answer));
        Trigger(item);
    }
    // Closes the window the normal way and starts it again on the same settings file, or on
    // `handEdited` when given.
    void Restart(const QByteArray &handEdited = {}) {
        ASSERT_TRUE(form->close());
        if (!handEdited.isEmpty())
            WriteSettingsFile(handEdited);
        form = std::make_unique<TForm1>(prompts, FixedDayClock(TestToday));
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    }
    IniFile SettingsFile() {
        QFile file(SettingsFilePath());
        return IniFile(file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray());
    }
    void WriteSettingsFile(const QByteArray &bytes) {
        QFile file(SettingsFilePath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    Qt::Alignment Alignment(int kind, int row) {
        return Memo(kind, row)->document()->defaultTextOption().alignment();
    }
};

} // namespace

TEST_F(Fonts, SizeMarksNeedBothFontsAndASizeItemSetsBoth) {
    EXPECT_EQ(MarkedSizes(), QStringList{QStringLiteral("12")});
    Choose("mem_Font_Setting_Kaitou", Points(16));
    ExpectBoxes(KindQuestion, 12);
    ExpectBoxes(KindAnswer, 16);
    EXPECT_EQ(MarkedSizes(), QStringList());

    const QFont referenceFont = Memo(KindReference, 0)->font();
    const QFont gridFont = Find<ListGrid>("GridHyouji")->font();
    Trigger("mem_Font_24");
    ExpectBoxes(KindQuestion, 24);
    ExpectBoxes(KindAnswer, 24);
    EXPECT_EQ(MarkedSizes(), QStringList{QStringLiteral("24")});
    // The reference boxes and the list keep their own font.
    EXPECT_EQ(Memo(KindReference, 0)->font(), referenceFont);
    EXPECT_EQ(Find<ListGrid>("GridHyouji")->font(), gridFont);

    Restart();
    EXPECT_EQ(MarkedSizes(), QStringList{QStringLiteral("24")});
    ExpectBoxes(KindAnswer, 24);
    EXPECT_EQ(SettingsFile().ReadInteger("FontK", "Size", 0), 24);
}

TEST_F(Fonts, EachChooserStartsWithItsFontAndCancelKeepsBoth) {
    Choose("mem_Font_Setting_Mondai", Points(16));
    Choose("mem_Font_Setting_Kaitou", Points(10));
    prompts.fontRequests.clear();

    const QFont question = form->QuestionFont();
    const QFont answer = form->AnswerFont();
    for (const char *item :
         {"mem_Font_Setting_MondaiKaitou", "mem_Font_Setting_Mondai", "mem_Font_Setting_Kaitou"})
        Choose(item, std::nullopt);
    ASSERT_EQ(prompts.fontRequests.size(), 3u);
    EXPECT_EQ(prompts.fontRequests[0].pointSize(), 16); // both: started with the question font
    EXPECT_EQ(prompts.fontRequests[1].pointSize(), 16);
    EXPECT_EQ(prompts.fontRequests[2].pointSize(), 10);
    EXPECT_EQ(form->QuestionFont(), question);
    EXPECT_EQ(form->AnswerFont(), answer);
    ExpectBoxes(KindQuestion, 16);
    ExpectBoxes(KindAnswer, 10);

    Choose("mem_Font_Setting_MondaiKaitou", Points(9));
    ExpectBoxes(KindQuestion, 9);
    ExpectBoxes(KindAnswer, 9);
    EXPECT_EQ(MarkedSizes(), QStringList{QStringLiteral("9")});

    // A face whose name the settings file cannot hold is refused with a warning.
    QFont hangul(QStringLiteral("나눔고딕"));
    hangul.setPointSize(24);
    prompts.Answer(PromptButton::Ok);
    Choose("mem_Font_Setting_MondaiKaitou", hangul);
    ASSERT_EQ(prompts.asked.size(), 1u);
    EXPECT_EQ(prompts.asked[0].icon, PromptIcon::Warning);
    EXPECT_TRUE(prompts.asked[0].text.contains(QStringLiteral("나눔고딕")));
    ExpectBoxes(KindQuestion, 9);
    EXPECT_EQ(form->Fonts().AnswerSetting().name, QStringLiteral("DejaVu Sans"));
}

TEST_F(Fonts, UnderlineCannotBeChosenAndBoldItalicComesBackRegular) {
    QFont chosen = Points(16);
    chosen.setBold(true);
    chosen.setItalic(true);
    chosen.setUnderline(true);
    chosen.setStrikeOut(true);
    Choose("mem_Font_Setting_Mondai", chosen);
    const QFont shown = Memo(KindQuestion, 3)->font();
    EXPECT_TRUE(shown.bold());
    EXPECT_TRUE(shown.italic());
    EXPECT_FALSE(shown.underline());
    EXPECT_FALSE(shown.strikeOut());

    QFont italic = Points(12);
    italic.setItalic(true);
    Choose("mem_Font_Setting_Kaitou", italic);

    Restart();
    EXPECT_EQ(SettingsFile().ReadString("FontM", "Style", "x"), "");
    EXPECT_EQ(SettingsFile().ReadString("FontK", "Style"), "fsItalic");
    EXPECT_FALSE(Memo(KindQuestion, 0)->font().bold());
    EXPECT_FALSE(Memo(KindQuestion, 0)->font().italic());
    EXPECT_EQ(Memo(KindQuestion, 0)->font().pointSize(), 16);
    EXPECT_TRUE(Memo(KindAnswer, 5)->font().italic());
}

TEST_F(Fonts, FaceNamesAreStoredAsChosenAndTheDefaultNameSurvivesASizeChange) {
    // The chooser starts on the installed face the default name stands for; when only the
    // size changes, the name stays.
    Choose("mem_Font_Setting_Mondai", std::nullopt);
    QFont resolved = prompts.fontRequests.at(0);
    EXPECT_TRUE(QFontDatabase::hasFamily(resolved.family())) << resolved.family().toStdString();
    EXPECT_EQ(resolved.family(), QFontInfo(form->QuestionFont()).family());
    resolved.setPointSize(16);
    Choose("mem_Font_Setting_Mondai", resolved);
    EXPECT_EQ(form->Fonts().QuestionSetting().name, DefaultFaceName());
    ExpectBoxes(KindQuestion, 16);

    QFont japanese(QStringLiteral("IPA Pゴシック"));
    japanese.setPointSize(10);
    Choose("mem_Font_Setting_Kaitou", japanese);
    Restart();
    const IniFile file = SettingsFile();
    EXPECT_EQ(file.ReadString("FontM", "Name"), sjis::FromQString(DefaultFaceName()));
    EXPECT_EQ(file.ReadString("FontK", "Name"), sjis::FromQString(QStringLiteral("IPA Pゴシック")));
    EXPECT_EQ(file.ReadInteger("FontK", "CharSet", 0), 128);
    EXPECT_EQ(form->AnswerFont().family(), QStringLiteral("IPA Pゴシック"));
}

TEST_F(Fonts, AFaceThatIsNotInstalledFallsBackAndKeepsItsName) {
    const QByteArray missing = sjis::FromQString(QStringLiteral("ＭＳ 明朝"));
    ASSERT_FALSE(QFontDatabase::hasFamily(QStringLiteral("ＭＳ 明朝")));
    Restart("[FontM]\nName=" + missing + "\nSize=500\n[FontK]\nSize=0\n");
    // It renders with the faces the default name stands for, so Japanese still shows.
    EXPECT_EQ(QFontInfo(Memo(KindQuestion, 0)->font()).family(),
              QFontInfo(MakeFont(FontSetting())).family());
    ExpectBoxes(KindQuestion, 12);
    ExpectBoxes(KindAnswer, 12);
    EXPECT_EQ(MarkedSizes(), QStringList{QStringLiteral("12")});
    Restart();
    EXPECT_EQ(SettingsFile().ReadString("FontM", "Name"), missing);
}

TEST_F(Fonts, AlignmentInBothPatternsAndAfterARestart) {
    OpenDeck(TwoCards);
    const Qt::Alignment left = Qt::AlignLeft;
    // Centre: the main view centred, sub questions right-justified, sub answers left.
    EXPECT_TRUE(Item("mem_Font_Center")->isChecked());
    EXPECT_EQ(Alignment(KindQuestion, 0), Qt::AlignHCenter);
    EXPECT_EQ(Alignment(KindAnswer, 0), Qt::AlignHCenter);
    form->ClickPanelPattern(4);
    for (int row = 1; row < CardView::RowCount; ++row) {
        EXPECT_EQ(Alignment(KindQuestion, row), Qt::AlignRight) << row;
        EXPECT_EQ(Alignment(KindAnswer, row), left) << row;
        EXPECT_EQ(Alignment(KindReference, row), left) << row;
    }

    Trigger("mem_Font_Left");
    EXPECT_TRUE(Item("mem_Font_Left")->isChecked());
    EXPECT_FALSE(Item("mem_Font_Center")->isChecked());
    for (int row = 0; row < CardView::RowCount; ++row)
        EXPECT_EQ(Alignment(KindQuestion, row), left) << row;
    EXPECT_EQ(Alignment(KindAnswer, 0), left);

    Restart();
    EXPECT_EQ(SettingsFile().ReadInteger("Font", "Alignment", 0), 7);
    EXPECT_TRUE(Item("mem_Font_Left")->isChecked());
    EXPECT_EQ(Alignment(KindQuestion, 2), left);
    EXPECT_EQ(Alignment(KindAnswer, 0), left);

    // Choosing the marked item again keeps it marked.
    Trigger("mem_Font_Center");
    Trigger("mem_Font_Center");
    EXPECT_TRUE(Item("mem_Font_Center")->isChecked());
    EXPECT_EQ(Alignment(KindQuestion, 2), Qt::AlignRight);
    EXPECT_EQ(Alignment(KindAnswer, 0), Qt::AlignHCenter);
}

TEST(FontChooser, OffersNoEffectsAndStartsWithTheGivenFont) {
    QFont start(QStringLiteral("DejaVu Sans"));
    start.setPointSize(16);
    const std::unique_ptr<QFontDialog> dialog =
        MakeFontDialog(nullptr, start, QStringLiteral("問題のフォント"));
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("問題のフォント"));
    EXPECT_EQ(dialog->currentFont().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(dialog->currentFont().pointSize(), 16);
    const QList<QCheckBox *> boxes = dialog->findChildren<QCheckBox *>();
    EXPECT_FALSE(boxes.isEmpty()); // Qt still builds them ...
    for (const QCheckBox *box : boxes)
        EXPECT_FALSE(box->isVisibleTo(dialog.get())) << box->text().toStdString(); // ... unseen
    // The sample keeps room to show the chosen size.
    QLineEdit *sample = nullptr;
    for (QLineEdit *edit : dialog->findChildren<QLineEdit *>())
        if (qobject_cast<QGroupBox *>(edit->parentWidget()))
            sample = edit;
    ASSERT_NE(sample, nullptr);
    EXPECT_GE(sample->height(), QFontMetrics(sample->font()).height());
    dialog->reject();
}
