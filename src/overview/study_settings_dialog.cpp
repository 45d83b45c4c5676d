#include "overview/study_settings_dialog.h"

#include "settings/settings.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

StudySettingsDialog::StudySettingsDialog(const Values &values, QWidget *parent) : QDialog(parent) {
    setObjectName(QStringLiteral("StudySettingsDialog"));
    setWindowTitle(QStringLiteral("学習の設定"));

    newCards_ = new QSpinBox(this);
    newCards_->setObjectName(QStringLiteral("ss_NewCards"));
    newCards_->setRange(0, AppSettings::MaxNewCardsPerDay);
    // 0 stands for no limit, shown in words.
    newCards_->setSpecialValueText(QStringLiteral("制限なし"));
    newCards_->setSuffix(QStringLiteral(" 枚"));
    newCards_->setValue(values.newCardsPerDay);

    standard_ = new QRadioButton(QStringLiteral("標準(&S)"), this);
    standard_->setObjectName(QStringLiteral("ss_Standard"));
    model_ = new QRadioButton(QStringLiteral("記憶モデル(&M)"), this);
    model_->setObjectName(QStringLiteral("ss_Model"));
    auto *group = new QButtonGroup(this);
    group->addButton(standard_);
    group->addButton(model_);
    (values.scheduler == 1 ? model_ : standard_)->setChecked(true);
    auto *schedulers = new QHBoxLayout;
    schedulers->addWidget(standard_);
    schedulers->addWidget(model_);
    schedulers->addStretch(1);

    retention_ = new QSpinBox(this);
    retention_->setObjectName(QStringLiteral("ss_Retention"));
    retention_->setRange(AppSettings::MinRetention, AppSettings::MaxRetention);
    retention_->setSuffix(QStringLiteral(" %"));
    retention_->setValue(values.retention);
    connect(model_, &QRadioButton::toggled, this, &StudySettingsDialog::FollowScheduler);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("1日の新しいカード:"), newCards_);
    form->addRow(QStringLiteral("間隔の決め方:"), schedulers);
    form->addRow(QStringLiteral("目標の記憶率:"), retention_);
    auto *note =
        new QLabel(QStringLiteral("記憶モデルは、学習の記録からカードごとの記憶の強さを見積もり、"
                                  "思い出せる見込みが目標の記憶率まで下がる日に出題します。"
                                  "デッキのファイルの形式は変わりません。"),
                   this);
    note->setWordWrap(true);
    fitButton_ = new QPushButton(QStringLiteral("最適化(&O)..."), this);
    fitButton_->setObjectName(QStringLiteral("ss_Fit"));
    fitButton_->setToolTip(
        QStringLiteral("このデッキの学習の記録に記憶モデルのパラメータを合わせます"));
    fitButton_->hide();
    connect(fitButton_, &QPushButton::clicked, this, &StudySettingsDialog::ClickFit);
    fitResult_ = new QLabel(this);
    fitResult_->setObjectName(QStringLiteral("ss_FitResult"));
    fitResult_->setWordWrap(true);
    fitResult_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto *fitRow = new QHBoxLayout;
    fitRow->addWidget(fitButton_);
    fitRow->addStretch(1);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addLayout(fitRow);
    layout->addWidget(fitResult_);
    layout->addWidget(buttons);
    FollowScheduler();
}

void StudySettingsDialog::FollowScheduler() {
    retention_->setEnabled(model_->isChecked());
}

StudySettingsDialog::Values StudySettingsDialog::Chosen() const {
    return {newCards_->value(), model_->isChecked() ? 1 : 0, retention_->value()};
}

void StudySettingsDialog::SetFitter(std::function<QString()> fit) {
    fit_ = std::move(fit);
    fitButton_->setVisible(bool(fit_));
}

void StudySettingsDialog::ClickFit() {
    fitButton_->setEnabled(false);
    fitResult_->setText(fit_());
    fitButton_->setEnabled(true);
}
