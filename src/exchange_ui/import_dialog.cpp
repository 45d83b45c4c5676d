#include "exchange_ui/import_dialog.h"

#include "deck/card.h"
#include "deck/sjis_codec.h"
#include "edit/store_edit.h"
#include "settings/settings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

// What the offer to limit new cards proposes: a common pace for a word list.
constexpr int kOfferedNewCards = 20;

using exchange::SourceEncoding;

constexpr SourceEncoding kEncodings[] = {SourceEncoding::Utf8, SourceEncoding::Utf16LE,
                                         SourceEncoding::Utf16BE, SourceEncoding::ShiftJis};

struct NamedSeparator {
    char separator;
    const char16_t *name;
};
constexpr NamedSeparator kSeparators[] = {{',', u"カンマ (,)"},     {'\t', u"タブ"},
                                          {';', u"セミコロン (;)"}, {'|', u"縦線 (|)"},
                                          {':', u"コロン (:)"},     {' ', u"空白"}};

const QString kCardTexts[] = {QStringLiteral("問題"), QStringLiteral("解答"),
                              QStringLiteral("参考")};

// A card text in one table row: its line breaks as a visible mark.
QString PreviewText(const QByteArray &stored) {
    return sjis::ToQString(DisplayForm(stored))
        .replace(QStringLiteral("\r\n"), QStringLiteral(" ↵ "));
}

QComboBox *NamedCombo(QWidget *parent, const char *name) {
    auto *box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

} // namespace

ImportDialog::ImportDialog(QByteArray fileBytes, const QString &fileName, bool canAppend,
                           QWidget *parent)
    : QDialog(parent), fileBytes_(std::move(fileBytes)),
      options_(exchange::DetectImportOptions(fileBytes_)), wantedColumns_(options_.columns) {
    setObjectName(QStringLiteral("ImportDialog"));
    setWindowTitle(QStringLiteral("取り込み - %1").arg(fileName));
    BuildControls(fileName, canAppend);
    ShowOptions();
    Reload();
}

ImportDialog::~ImportDialog() = default;

void ImportDialog::BuildControls(const QString &fileName, bool canAppend) {
    auto *layout = new QVBoxLayout(this);
    auto *source = new QGroupBox(QStringLiteral("ファイル: %1").arg(fileName), this);
    auto *sourceForm = new QFormLayout(source);
    encodingBox_ = NamedCombo(source, "import_Encoding");
    for (const SourceEncoding encoding : kEncodings)
        encodingBox_->addItem(exchange::EncodingName(encoding), int(encoding));
    separatorBox_ = NamedCombo(source, "import_Separator");
    for (const NamedSeparator &named : kSeparators)
        separatorBox_->addItem(QString::fromUtf16(named.name), int(named.separator));
    headerCheck_ = new QCheckBox(QStringLiteral("1 行目は列の名前"), source);
    headerCheck_->setObjectName(QStringLiteral("import_HeaderRow"));
    htmlCheck_ = new QCheckBox(QStringLiteral("HTML を文字に直す"), source);
    htmlCheck_->setObjectName(QStringLiteral("import_Html"));
    sourceForm->addRow(QStringLiteral("文字コード(&C):"), encodingBox_);
    sourceForm->addRow(QStringLiteral("区切り文字(&D):"), separatorBox_);
    auto *checks = new QHBoxLayout;
    checks->addWidget(headerCheck_);
    checks->addWidget(htmlCheck_);
    checks->addStretch();
    sourceForm->addRow(checks);
    layout->addWidget(source);

    auto *mapping = new QGroupBox(QStringLiteral("列の割り当て"), this);
    auto *mappingRow = new QHBoxLayout(mapping);
    const char *names[] = {"import_QuestionColumn", "import_AnswerColumn",
                           "import_ReferenceColumn"};
    for (int i = 0; i < 3; ++i) {
        columnBoxes_[i] = NamedCombo(mapping, names[i]);
        auto *label = new QLabel(kCardTexts[i] + QStringLiteral(":"), mapping);
        label->setBuddy(columnBoxes_[i]);
        mappingRow->addWidget(label);
        mappingRow->addWidget(columnBoxes_[i], 1);
    }
    layout->addWidget(mapping);

    preview_ = new QTableWidget(0, 3, this);
    preview_->setObjectName(QStringLiteral("import_Preview"));
    preview_->setHorizontalHeaderLabels({kCardTexts[0], kCardTexts[1], kCardTexts[2]});
    preview_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    preview_->setWordWrap(false);
    layout->addWidget(preview_, 1);

    countLabel_ = new QLabel(this);
    countLabel_->setObjectName(QStringLiteral("import_Count"));
    noteLabel_ = new QLabel(this);
    noteLabel_->setObjectName(QStringLiteral("import_Note"));
    noteLabel_->setWordWrap(true);
    noteLabel_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(countLabel_);
    layout->addWidget(noteLabel_);

    auto *target = new QHBoxLayout;
    newDeckButton_ = new QRadioButton(QStringLiteral("新しいデッキにする(&N)"), this);
    newDeckButton_->setObjectName(QStringLiteral("import_NewDeck"));
    appendButton_ = new QRadioButton(QStringLiteral("開いているデッキの最後に追加する(&L)"), this);
    appendButton_->setObjectName(QStringLiteral("import_Append"));
    newDeckButton_->setChecked(true);
    appendButton_->setEnabled(canAppend);
    target->addWidget(newDeckButton_);
    target->addWidget(appendButton_);
    target->addStretch();
    layout->addLayout(target);

    auto *limit = new QHBoxLayout;
    limitCheck_ = new QCheckBox(QStringLiteral("1日の新しいカードを制限する(&D)"), this);
    limitCheck_->setObjectName(QStringLiteral("import_LimitNew"));
    limitBox_ = new QSpinBox(this);
    limitBox_->setObjectName(QStringLiteral("import_LimitNewCount"));
    limitBox_->setRange(1, AppSettings::MaxNewCardsPerDay);
    limitBox_->setValue(kOfferedNewCards);
    limitBox_->setSuffix(QStringLiteral(" 枚まで"));
    limitBox_->setEnabled(false);
    connect(limitCheck_, &QCheckBox::toggled, limitBox_, &QWidget::setEnabled);
    limit->addWidget(limitCheck_);
    limit->addWidget(limitBox_);
    limit->addStretch();
    layout->addLayout(limit);
    limitCheck_->hide();
    limitBox_->hide();

    auto *buttons = new QDialogButtonBox(this);
    okButton_ = buttons->addButton(QStringLiteral("取り込む(&I)"), QDialogButtonBox::AcceptRole);
    okButton_->setObjectName(QStringLiteral("import_OK"));
    buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("import_Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    const auto changed = [this] {
        if (filling_)
            return;
        ReadControls();
        Reload();
    };
    connect(encodingBox_, &QComboBox::currentIndexChanged, this, changed);
    connect(separatorBox_, &QComboBox::currentIndexChanged, this, changed);
    connect(headerCheck_, &QCheckBox::toggled, this, changed);
    connect(htmlCheck_, &QCheckBox::toggled, this, changed);
    const auto columnChosen = [this, changed] {
        if (filling_)
            return;
        for (int i = 0; i < 3; ++i)
            wantedColumns_[i] = columnBoxes_[i]->currentData().toInt();
        changed();
    };
    for (QComboBox *box : columnBoxes_)
        connect(box, &QComboBox::currentIndexChanged, this, columnChosen);
    resize(760, 520);
}

void ImportDialog::SetOptions(const exchange::ImportOptions &options) {
    options_ = options;
    wantedColumns_ = options.columns;
    ShowOptions();
    Reload();
}

bool ImportDialog::AppendToDeck() const {
    return appendButton_->isEnabled() && appendButton_->isChecked();
}

void ImportDialog::ShowOptions() {
    filling_ = true;
    encodingBox_->setCurrentIndex(encodingBox_->findData(int(options_.encoding)));
    separatorBox_->setCurrentIndex(separatorBox_->findData(int(options_.separator)));
    headerCheck_->setChecked(options_.headerRow);
    htmlCheck_->setChecked(options_.html);
    filling_ = false;
}

void ImportDialog::ReadControls() {
    options_.encoding = SourceEncoding(encodingBox_->currentData().toInt());
    options_.separator = char(separatorBox_->currentData().toInt());
    options_.headerRow = headerCheck_->isChecked();
    options_.html = htmlCheck_->isChecked();
}

void ImportDialog::Reload() {
    // The columns the user chose, as far as the file read this way has them.
    for (int i = 0; i < 3; ++i)
        options_.columns[i] = wantedColumns_[i];
    result_ = exchange::ImportCards(fileBytes_, options_);
    FillColumnBoxes();
    FillPreview();
    ShowNotes();
}

// The columns found, with the choice kept where it still exists; a choice a narrower reading
// cannot show comes back when the reading widens again.
void ImportDialog::FillColumnBoxes() {
    filling_ = true;
    const int count = int(result_.columnNames.size());
    for (int i = 0; i < 3; ++i) {
        QComboBox *box = columnBoxes_[i];
        box->clear();
        box->addItem(QStringLiteral("（なし）"), exchange::kNoColumn);
        for (int column = 0; column < count; ++column)
            box->addItem(QStringLiteral("%1: %2").arg(column + 1).arg(result_.columnNames[column]),
                         column);
        const int wanted = wantedColumns_[i] < count ? wantedColumns_[i] : exchange::kNoColumn;
        options_.columns[i] = wanted;
        box->setCurrentIndex(box->findData(wanted));
    }
    filling_ = false;
}

void ImportDialog::FillPreview() {
    const int rows = int(std::min<size_t>(result_.cards.size(), kPreviewRows));
    preview_->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const TMondaiSet &card = *result_.cards[size_t(row)];
        const QByteArray texts[] = {card.Mondai(), card.Kaitou(), card.Sankou()};
        for (int column = 0; column < 3; ++column)
            preview_->setItem(row, column, new QTableWidgetItem(PreviewText(texts[column])));
    }
}

void ImportDialog::ShowNotes() {
    countLabel_->setText(QStringLiteral("カード数: %1 枚").arg(result_.cards.size()));
    QStringList notes;
    if (!result_.ok())
        notes << result_.ErrorMessage();
    if (!result_.unencodable.isEmpty())
        notes << UnencodableMessage(result_.unencodable);
    if (result_.quoteCommaSeparated)
        notes << QuoteCommaMessage();
    noteLabel_->setText(notes.join(u'\n'));
    noteLabel_->setStyleSheet(result_.ok() ? QString() : QStringLiteral("color: #c00000;"));
    okButton_->setEnabled(result_.ok());
    if (limitOffered_) {
        const bool many = qsizetype(result_.cards.size()) > kLimitOfferCards;
        limitCheck_->setVisible(many);
        limitBox_->setVisible(many);
    }
}

void ImportDialog::OfferNewCardLimit(int current) {
    // A limit already set stays the user's own; the offer is for the first large import.
    limitOffered_ = current <= 0;
    ShowNotes();
}

int ImportDialog::ChosenNewCardLimit() const {
    const bool offered = limitOffered_ && !limitCheck_->isHidden();
    return offered && limitCheck_->isChecked() ? limitBox_->value() : 0;
}
