#include "overview/learning_progress.h"

#include "drill/drill.h"
#include "overview/parameter_fitting.h"
#include "settings/settings.h"

#include <QFileInfo>
#include <QTimer>

LearningProgress::LearningProgress(Deck &deck, Drill &drill,
                                   OverviewWindow::SaveNameAsker askSaveName, QWidget *mainWindow)
    : deck_(deck), drill_(drill), recorder_(deck, [&drill] { return drill.Today(); }),
      askSaveName_(std::move(askSaveName)), mainWindow_(mainWindow) {
    drill_.SetAnswerObserver(&recorder_);
    drill_.SetNewCardAllowance(&recorder_);
    recorder_.SetNotice(
        [this](const QString &text, const QString &details) { Q_EMIT Notice(text, details); });
    recorder_.SetDeckStarting([this] { LoadDeckParameters(); });
    // The log reaches the disk right after the answer's redraw, well before any save.
    recorder_.SetRecorded([this] {
        if (syncQueued_)
            return;
        syncQueued_ = true;
        QTimer::singleShot(0, this, [this] {
            syncQueued_ = false;
            recorder_.Sync();
        });
    });
}

LearningProgress::~LearningProgress() {
    drill_.SetAnswerObserver(nullptr);
    drill_.SetNewCardAllowance(nullptr);
    drill_.SetRestPlanner(nullptr);
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
    const qint32 today = drill_.Today();
    const DeckFigures figures = ComputeDeckFigures(deck_.Cards(), today);
    const HistoryFigures history = ComputeHistoryFigures(recorder_.History(), today);
    const OverviewWindow::Pass pass{recorder_.SessionAnswers(), qint64(drill_.Queue().size())};
    const QString name =
        deck_.FileName().isEmpty() ? QString() : QFileInfo(deck_.FileName()).fileName();
    window_->ShowFigures(figures, history, pass, name);
    OverviewWindow::Study study;
    study.newShown = study_.newCardsPerDay > 0 ? recorder_.NewCardsShown(today) : 0;
    study.newLimit = study_.newCardsPerDay;
    study.model = study_.scheduler == 1;
    if (study.model)
        study.recall = ComputeRecallFigures(deck_.Cards(), memory_, today);
    window_->ShowStudy(study);
}

void LearningProgress::ApplyStudySettings(const StudySettingsDialog::Values &values) {
    const bool modelWasOn = study_.scheduler == 1;
    study_ = values;
    recorder_.SetNewCardsPerDay(values.newCardsPerDay);
    memory_.SetRetention(values.retention / 100.0);
    const bool modelOn = values.scheduler == 1;
    if (modelOn != modelWasOn) {
        recorder_.SetMemoryModel(modelOn ? &memory_ : nullptr);
        drill_.SetRestPlanner(modelOn ? static_cast<RestPlanner *>(&recorder_) : nullptr);
        if (!modelOn)
            memory_.Clear();
    }
    DrillChanged();
}

QString LearningProgress::NewCardStatus() {
    if (study_.newCardsPerDay <= 0)
        return {};
    return QStringLiteral("新規 %1/%2")
        .arg(recorder_.NewCardsShown(drill_.Today()))
        .arg(study_.newCardsPerDay);
}

void LearningProgress::ChooseCard(const TMondaiSet *card) {
    // The list was drawn from an earlier state; the card may since have moved or gone.
    const qsizetype number = drill_.CardNumber(card);
    if (number > 0)
        Q_EMIT CardChosen(number - 1);
}

QByteArray LearningProgress::DeckKey() const {
    if (deck_.FileName().isEmpty())
        return {};
    // The log's name ends in a digest of the deck's path: the same key names the deck here.
    return QFileInfo(ReviewLog::PathForDeck(deck_.FileName()))
        .completeBaseName()
        .right(16)
        .toLatin1();
}

void LearningProgress::LoadDeckParameters() {
    const QByteArray key = DeckKey();
    const std::optional<QByteArray> text =
        key.isEmpty() ? std::nullopt : ReadDeckParameters(SettingsFilePath(), key);
    const std::optional<fsrs::Parameters> kept =
        text ? fsrs::ParametersFromText(*text) : std::nullopt;
    memory_.SetParameters(kept.value_or(fsrs::DefaultParameters()));
}

QString LearningProgress::FitToLog(QWidget *parent) {
    const QString logPath = recorder_.LogPath();
    if (logPath.isEmpty())
        return QStringLiteral("デッキを開いてから最適化してください。");
    recorder_.Sync();
    const ParameterFitting::Result result = ParameterFitting::Run(logPath, parent);
    QString text = ParameterFitting::Describe(result);
    if (result.outcome == ParameterFitting::Outcome::Fitted && result.report.Better()) {
        memory_.SetParameters(result.report.parameters);
        if (study_.scheduler == 1)
            recorder_.SetMemoryModel(&memory_); // the memory again, with the new parameters
        if (!StoreDeckParameters(SettingsFilePath(), DeckKey(),
                                 fsrs::ParametersText(result.report.parameters)))
            text += QStringLiteral(
                "\n（設定ファイルに書き込めなかったため、次に開いたときは既定に戻ります）");
    }
    return text;
}
