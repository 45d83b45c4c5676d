#include "view/font_settings.h"

#include "deck/sjis_codec.h"
#include "ui/font_setup.h"
#include "ui/menu_items.h"
#include "ui/prompts.h"
#include "view/card_view.h"

#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMenu>

#include <algorithm>

namespace {

// The largest size a font can have and still come back from the settings file.
constexpr int LargestPoints = 200;

// The chooser lists installed faces only: a name without a face of its own (the default one)
// starts it on the face that name stands for, not on the chooser's first entry.
QFont ChooserStartFont(const FontSetting &setting) {
    QFont font = MakeFont(setting);
    if (!QFontDatabase::hasFamily(setting.name))
        font.setFamily(QFontInfo(font).family());
    return font;
}

QString ChooserCaption(FontSettings::Chooser chooser) {
    switch (chooser) {
    case FontSettings::Chooser::Question:
        return QStringLiteral("問題のフォント");
    case FontSettings::Chooser::Answer:
        return QStringLiteral("解答のフォント");
    case FontSettings::Chooser::Both:
        break;
    }
    return QStringLiteral("問題と解答のフォント");
}

} // namespace

QFont MakeFont(const FontSetting &setting) {
    QStringList families;
    if (!setting.name.isEmpty())
        families << setting.name;
    if (setting.name != DefaultFaceName())
        families << DefaultFaceName(); // and through it the installed Japanese faces
    QFont font;
    font.setFamilies(families);
    font.setPointSize(setting.size > 0 ? setting.size : 12);
    font.setBold(setting.bold);
    font.setItalic(setting.italic);
    font.setUnderline(setting.underline);
    font.setStrikeOut(setting.strikeOut);
    return font;
}

FontSetting ChosenFontSetting(const QFont &chosen, const FontSetting &before) {
    FontSetting setting = before;
    const QString family = chosen.family();
    if (family != QFontInfo(MakeFont(before)).family())
        setting.name = family;
    const int points = chosen.pointSize() > 0 ? chosen.pointSize() : QFontInfo(chosen).pointSize();
    setting.size = std::clamp(points, 1, LargestPoints);
    setting.bold = chosen.bold();
    setting.italic = chosen.italic();
    return setting;
}

FontSettings::FontSettings(CardView &cells, Prompts &prompts, QWidget *dialogParent)
    : cells_(cells), prompts_(prompts), dialogParent_(dialogParent) {}

void FontSettings::CreateMenu(QWidget *menuBar) {
    QMenu *fontMenu = AddMenu(menuBar, "men_Font", QStringLiteral("ﾌｫﾝﾄ(&E)"));
    for (int points : {9, 10, 12, 16, 24, 36}) {
        const QByteArray name = "mem_Font_" + QByteArray::number(points);
        QAction *item =
            AddCheckItem(fontMenu, name.constData(), QString::number(points), points == 12);
        sizeItems_.emplace_back(points, item);
        connect(item, &QAction::triggered, this, [this, points] { ClickFontSize(points); });
    }
    AddSeparator(fontMenu, "N4");
    leftItem_ = AddCheckItem(fontMenu, "mem_Font_Left", QStringLiteral("左揃え"), false);
    centerItem_ = AddCheckItem(fontMenu, "mem_Font_Center", QStringLiteral("中揃え"), true);
    connect(leftItem_, &QAction::triggered, this, [this] { ClickFontSoroe(AlignLeft); });
    connect(centerItem_, &QAction::triggered, this, [this] { ClickFontSoroe(AlignCenter); });
    AddSeparator(fontMenu, "N5");
    QMenu *details = AddMenu(fontMenu, "mem_Font_Setting", QStringLiteral("ﾌｫﾝﾄの詳細設定"));
    const struct {
        const char *name;
        const char16_t *caption;
        Chooser chooser;
    } choosers[] = {{"mem_Font_Setting_MondaiKaitou", u"問題と解答...", Chooser::Both},
                    {"mem_Font_Setting_Mondai", u"問題...", Chooser::Question},
                    {"mem_Font_Setting_Kaitou", u"解答...", Chooser::Answer}};
    for (const auto &item : choosers) {
        connect(AddItem(details, item.name, QString::fromUtf16(item.caption)), &QAction::triggered,
                this, [this, chooser = item.chooser] { ClickFontSetting(chooser); });
    }
    UpdateSizeMarks();
    MarkAlignment();
}

void FontSettings::Load(const AppSettings &settings) {
    question_ = settings.fontM;
    answer_ = settings.fontK;
    alignment_ = settings.alignment == AlignLeft ? AlignLeft : AlignCenter;
    ApplyAlignment();
    ApplyFonts();
}

void FontSettings::Store(AppSettings &settings) const {
    settings.fontM = question_;
    settings.fontK = answer_;
    settings.alignment = alignment_;
}

void FontSettings::ClickFontSize(int points) {
    question_.size = points;
    answer_.size = points;
    ApplyFonts();
}

void FontSettings::ClickFontSoroe(int position) {
    alignment_ = position == AlignLeft ? AlignLeft : AlignCenter;
    ApplyAlignment();
}

void FontSettings::ClickFontSetting(Chooser chooser) {
    const FontSetting &start = chooser == Chooser::Answer ? answer_ : question_;
    const std::optional<QFont> chosen =
        prompts_.ChooseFont(dialogParent_, ChooserStartFont(start), ChooserCaption(chooser));
    if (chosen) {
        const FontSetting setting = ChosenFontSetting(*chosen, start);
        if (!sjis::FromDisplay(setting.name).unencodable.isEmpty()) {
            // The settings file holds Shift-JIS only: such a face could not come back next time.
            prompts_.Warning(dialogParent_,
                             QStringLiteral("フォント名「%1」は設定ファイルに保存できないため、"
                                            "このフォントは使えません。")
                                 .arg(setting.name));
        } else {
            if (chooser != Chooser::Answer)
                question_ = setting;
            if (chooser != Chooser::Question)
                answer_ = setting;
        }
    }
    ApplyFonts(); // after Cancel too: the boxes always show the fonts held here
}

void FontSettings::ApplyFonts() {
    const QFont question = QuestionFont();
    const QFont answer = AnswerFont();
    for (int row = 0; row < CardView::RowCount; ++row) {
        cells_.Memo(KindQuestion, row)->setFont(question);
        cells_.Memo(KindAnswer, row)->setFont(answer);
    }
    cells_.KeepAnswerRoom();
    UpdateSizeMarks();
}

void FontSettings::ApplyAlignment() {
    MarkAlignment();
    cells_.ApplyAlignment(alignment_ == AlignLeft);
}

void FontSettings::UpdateSizeMarks() {
    for (const auto &[points, item] : sizeItems_)
        item->setChecked(question_.size == points && answer_.size == points);
}

void FontSettings::MarkAlignment() {
    if (leftItem_)
        leftItem_->setChecked(alignment_ == AlignLeft);
    if (centerItem_)
        centerItem_->setChecked(alignment_ != AlignLeft);
}
