#include "speech/tform2.h"

#include "speech/speech_component.h"
#include "ui/font_setup.h"
#include "ui/prompts.h"

#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include <algorithm>

namespace {

constexpr int ItemHeight = 16;

#ifndef KARDEON_ESPEAK_DATA_FOLDER
#define KARDEON_ESPEAK_DATA_FOLDER "/usr/lib/x86_64-linux-gnu/espeak-ng-data"
#endif

// A borderless, read-only text in the colour of the dialog's face.
QPlainTextEdit *MakeNote(QWidget *parent, const char *name, const QRect &bounds) {
    auto *note = new QPlainTextEdit(parent);
    note->setObjectName(QString::fromLatin1(name));
    note->setGeometry(bounds);
    note->setReadOnly(true);
    note->setFrameShape(QFrame::NoFrame);
    note->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    note->setLineWrapMode(QPlainTextEdit::NoWrap);
    note->document()->setDocumentMargin(0);
    QPalette palette = note->palette();
    palette.setColor(QPalette::Base, parent->palette().color(QPalette::Button));
    note->setPalette(palette);
    return note;
}

// Japanese faces here are wider than the ones this layout was drawn for: the note's font shrinks
// (not below 9 pixels) until every line fits the box unwrapped and, where it can, all lines fit.
void FitFontToBox(QPlainTextEdit *note, const QStringList &lines) {
    QFont font = note->font();
    for (int pixels = font.pixelSize(); pixels >= 9; --pixels) {
        font.setPixelSize(pixels);
        const QFontMetrics metrics(font);
        int widest = 0;
        for (const QString &line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        const bool tall = metrics.lineSpacing() * lines.size() > note->height();
        const int room = note->width() - (tall ? note->verticalScrollBar()->sizeHint().width() : 0);
        if (widest < room && (!tall || pixels == 9))
            break;
    }
    note->setFont(font);
}

QPushButton *MakeButton(QWidget *parent, const char *name, const QString &caption, int left) {
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(left, 315, 57, 22);
    button->setAutoDefault(false);
    return button;
}

} // namespace

TForm2::TForm2(Prompts &prompts, QWidget *parent)
    : QDialog(parent), prompts_(prompts), dataFolder_(QStringLiteral(KARDEON_ESPEAK_DATA_FOLDER)) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("音声の選択"));
    QFont font(DefaultFaceName());
    font.setPixelSize(12);
    setFont(font);
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                   Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(326, 344);
    BuildControls();
}

void TForm2::BuildControls() {
    form2_SelectVoice_Panel = new QGroupBox(QStringLiteral("音声の選択"), this);
    form2_SelectVoice_Panel->setObjectName(QStringLiteral("form2_SelectVoice_Panel"));
    form2_SelectVoice_Panel->setGeometry(16, 16, 297, 73);

    form2_SelectVoice_ComboBox = new QComboBox(form2_SelectVoice_Panel);
    form2_SelectVoice_ComboBox->setObjectName(QStringLiteral("form2_SelectVoice_ComboBox"));
    form2_SelectVoice_ComboBox->move(8, 24);
    form2_SelectVoice_ComboBox->setFixedWidth(281);
    // Item heights come from the items themselves, not from the style's menu metrics.
    form2_SelectVoice_ComboBox->setItemDelegate(
        new QStyledItemDelegate(form2_SelectVoice_ComboBox));
    // A scrolling list of a few voices, not a menu as tall as the screen.
    form2_SelectVoice_ComboBox->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    form2_SelectVoice_ComboBox->setMaxVisibleItems(16);
    // Picking with the mouse, the arrow keys or the wheel tries the voice.
    connect(form2_SelectVoice_ComboBox, &QComboBox::activated, this,
            &TForm2::form2_SelectVoice_ComboBoxChange);

    form2_Memo_Test = MakeNote(form2_SelectVoice_Panel, "form2_Memo_Test", {124, 52, 145, 17});
    form2_Memo_Test->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    form2_Memo_Test->setFocusPolicy(Qt::NoFocus);
    form2_Memo_Test->setPlainText(TestSentence());
    FitFontToBox(form2_Memo_Test, {TestSentence()});

    form2_Memo_Help = MakeNote(this, "form2_Memo_Help", {18, 104, 297, 207});
    form2_Memo_Help->setPlainText(HelpLines().join(QLatin1Char('\n')));
    FitFontToBox(form2_Memo_Help, HelpLines());

    d_bOK = MakeButton(this, "d_bOK", QStringLiteral("OK"), 191);
    d_bOK->setDefault(true);
    d_bCancel = MakeButton(this, "d_bCancel", QStringLiteral("ｷｬﾝｾﾙ"), 255);
    connect(d_bOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(d_bCancel, &QPushButton::clicked, this, &QDialog::reject);

    setTabOrder(form2_SelectVoice_ComboBox, d_bOK);
    setTabOrder(d_bOK, d_bCancel);
    setTabOrder(d_bCancel, form2_Memo_Help);
    form2_SelectVoice_ComboBox->setFocus();
}

QString TForm2::NoVoiceText(NoVoice reason) {
    switch (reason) {
    case NoVoice::NoDataFolder:
        return QStringLiteral("espeak-ng の音声データがありません");
    case NoVoice::EmptyList:
        return QStringLiteral("音声が 1 つも登録されていません");
    case NoVoice::Unreadable:
        return QStringLiteral("音声の一覧を読み出せません");
    case NoVoice::NoSpeech:
        break;
    }
    return QStringLiteral("espeak-ng を起動できません");
}

TForm2::NoVoice TForm2::Reason(SpeechComponent *speech, std::optional<int> count) const {
    if (speech)
        return count && *count == 0 ? NoVoice::EmptyList : NoVoice::Unreadable;
    const QDir data(dataFolder_);
    if (!data.exists(QStringLiteral("voices")) && !data.exists(QStringLiteral("lang")))
        return NoVoice::NoDataFolder;
    return NoVoice::NoSpeech;
}

QString TForm2::TestSentence() {
    return QStringLiteral("Hello! I can speak English.");
}

QStringList TForm2::HelpLines() {
    const QString voices = QStringLiteral("　" KARDEON_ESPEAK_DATA_FOLDER);
    return {
        QStringLiteral("　正しく再生されない場合、音声の選択を見直してみてく"),
        QStringLiteral("ださい。コンピューターに登録されている音声のリストは、"),
        QStringLiteral("ポップアップメニューから選択できます。"),
        QString(),
        QStringLiteral("　音声が登録されていない場合、再生できません。以下の"),
        QStringLiteral("手順で espeak-ng と音声データをインストールしてくださ"),
        QStringLiteral("い。尚、音声再生は、Debian 12 で動作確認を行ってい"),
        QStringLiteral("ます。"),
        QStringLiteral("　インストールの手順は、端末で次を実行します。"),
        QStringLiteral("　sudo apt install espeak-ng espeak-ng-data"),
        QStringLiteral("インストールすると、次のフォルダに音声ができます。"),
        voices + QStringLiteral("/lang"),
        voices + QStringLiteral("/voices"),
        QStringLiteral("音声の一覧は「espeak-ng --voices」で見られます。"),
    };
}

void TForm2::AddVoice(const QString &name) {
    form2_SelectVoice_ComboBox->addItem(name);
    const int row = form2_SelectVoice_ComboBox->count() - 1;
    form2_SelectVoice_ComboBox->setItemData(row, QSize(0, ItemHeight), Qt::SizeHintRole);
}

void TForm2::FillVoices(SpeechComponent *speech) {
    speech_ = nullptr;
    form2_SelectVoice_ComboBox->clear();
    const std::optional<int> count = speech ? speech->VoiceCount() : std::nullopt;
    const std::optional<int> current = speech ? speech->CurrentVoice() : std::nullopt;
    if (count && current && *count > 0) {
        QStringList names;
        for (int i = 1; i <= *count; ++i) {
            const std::optional<QString> name = speech->VoiceName(i);
            if (!name)
                break;
            names << *name;
        }
        if (names.size() == *count) {
            for (const QString &name : names)
                AddVoice(name);
            form2_SelectVoice_ComboBox->setCurrentIndex(
                *current >= 1 && *current <= *count ? *current - 1 : 0);
            speech_ = speech;
            return;
        }
    }
    AddVoice(NoVoiceText(Reason(speech, count)));
    form2_SelectVoice_ComboBox->setCurrentIndex(0);
}

int TForm2::SelectedIndex() const {
    return form2_SelectVoice_ComboBox->currentIndex();
}

void TForm2::form2_SelectVoice_ComboBoxChange(int index) {
    if (!speech_)
        return;
    const std::optional<int> previous = speech_->CurrentVoice();
    // A memo's text ends with its line break.
    const QString sentence = form2_Memo_Test->toPlainText() + QLatin1Char('\n');
    if (previous && speech_->SelectVoice(index + 1) && speech_->Speak(sentence))
        return;
    prompts_.Confirm(this, QStringLiteral("再生できません。\n他の音声を選択してみて下さい。"),
                     {PromptButton::Yes});
    if (previous)
        form2_SelectVoice_ComboBox->setCurrentIndex(*previous - 1);
}
