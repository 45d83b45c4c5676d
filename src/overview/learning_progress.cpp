#include "overview/learning_progress.h"

#include "deck/deck.h"
#include "drill/drill.h"
#include "overview/parameter_fitting.h"

#include <QFileInfo>
#include <QTimer>

LearningProgress::LearningProgress(DeckProgress &progress, const Deck &deck, const Drill &drill,
                                   OverviewWindow::SaveNameAsker askSaveName, QWidget *mainWindow)
    : progress_(progress), deck_(deck), drill_(drill), askSaveName_(std::move(askSaveName)),
      mainWindow_(mainWindow) {
    connect(&progress_, &DeckProgress::StudyChanged, this, &LearningProgress::DrillChanged);
}

LearningProgress::~LearningProgress() {
    delete window_.data();
}

void LearningProgress::ShowWindow() {
    if (!window_) {
        window_ = new OverviewWindow(mainWindow_);
        window_->SetSaveNameAsker(askSaveName_);
        connect(window_, &OverviewWindow::CardChosen, this, &LearningProgress::ChooseCard);
    }
    RefreshNow();
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void LearningProgress::DrillChanged() {
    if (!window_ || !window_->isVisible() || refreshQueued_)
        return;
    refreshQueued_ = true;
    QTimer::singleShot(0, this, [this] {
        refreshQueued_ = false;
        if (window_ && window_->isVisible())
            RefreshNow();
    });
}

void LearningProgress::RefreshNow() {
    ReviewRecorder &recorder = progress_.Recorder();
    const StudyValues &values = progress_.StudySettings();
    const qint32 today = drill_.Today();
    const DeckFigures figures = ComputeDeckFigures(deck_.Cards(), today);
    const HistoryFigures history = ComputeHistoryFigures(recorder.History(), today);
    const OverviewWindow::Pass pass{recorder.SessionAnswers(), qint64(drill_.Queue().size())};
    const QString name =
        deck_.FileName().isEmpty() ? QString() : QFileInfo(deck_.FileName()).fileName();
    window_->ShowFigures(figures, history, pass, name);
    OverviewWindow::Study study;
    study.newShown = values.newCardsPerDay > 0 ? recorder.NewCardsShown(today) : 0;
    study.newLimit = values.newCardsPerDay;
    study.model = values.scheduler == 1;
    if (study.model)
        study.recall = ComputeRecallFigures(deck_.Cards(), progress_.Memory(), today);
    window_->ShowStudy(study);
}

void LearningProgress::ChooseCard(const TMondaiSet *card) {
    // The list was drawn from an earlier state; the card may since have moved or gone.
    const qsizetype number = drill_.CardNumber(card);
    if (number > 0)
        Q_EMIT CardChosen(number - 1);
}

bool LearningProgress::EditStudySettings(QWidget *parent) {
    const StudyValues before = progress_.StudySettings();
    StudySettingsDialog dialog(before, parent);
    dialog.SetFitter([this, &dialog] { return FitToLog(&dialog); });
    if (dialog.exec() != QDialog::Accepted || dialog.Chosen() == before)
        return false;
    progress_.ApplyStudySettings(dialog.Chosen());
    return true;
}

QString LearningProgress::FitToLog(QWidget *parent) {
    const QString logPath = progress_.LogForFitting();
    if (logPath.isEmpty())
        return QStringLiteral("デッキを開いてから最適化してください。");
    const ParameterFitting::Result result = ParameterFitting::Run(logPath, parent);
    QString text = ParameterFitting::Describe(result);
    if (result.outcome == ParameterFitting::Outcome::Fitted && result.report.Better() &&
        !progress_.KeepParameters(result.report.parameters))
        text += QStringLiteral(
            "\n（設定ファイルに書き込めなかったため、次に開いたときは既定に戻ります）");
    return text;
}
