#pragma once

#include "progress/study_values.h"

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

// 学習の設定: how many new cards a day brings in, and how the rest after できた is decided.
class StudySettingsDialog : public QDialog {
    Q_OBJECT
public:
    using Values = StudyValues;

    explicit StudySettingsDialog(const Values &values, QWidget *parent = nullptr);
    Values Chosen() const;
    // 最適化: fits the model to the deck's log and answers what came of it; without one the
    // button is not offered.
    void SetFitter(std::function<QString()> fit);

private:
    void FollowScheduler();
    void ClickFit();

    QSpinBox *newCards_ = nullptr;
    QRadioButton *standard_ = nullptr;
    QRadioButton *model_ = nullptr;
    QSpinBox *retention_ = nullptr;
    QPushButton *fitButton_ = nullptr;
    QLabel *fitResult_ = nullptr;
    std::function<QString()> fit_;
};
