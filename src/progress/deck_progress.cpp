#include "progress/deck_progress.h"

#include "deck/deck.h"
#include "drill/drill.h"
#include "progress/memory_fit.h"
#include "settings/settings.h"

#include <QFileInfo>
#include <QTimer>

DeckProgress::DeckProgress(Deck &deck, Drill &drill, ReviewRecorder::LogPathFor logPathFor)
    : deck_(deck), logPathFor_(logPathFor), drill_(drill),
      recorder_(
          deck, [&drill] { return drill.Today(); }, std::move(logPathFor)) {
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

DeckProgress::~DeckProgress() {
    drill_.SetAnswerObserver(nullptr);
    drill_.SetNewCardAllowance(nullptr);
    drill_.SetRestPlanner(nullptr);
}

void DeckProgress::ApplyStudySettings(const StudyValues &values) {
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
    Q_EMIT StudyChanged();
}

QString DeckProgress::NewCardStatus() {
    if (study_.newCardsPerDay <= 0)
        return {};
    return QStringLiteral("新規 %1/%2")
        .arg(recorder_.NewCardsShown(drill_.Today()))
        .arg(study_.newCardsPerDay);
}

QByteArray DeckProgress::DeckKey() const {
    if (deck_.FileName().isEmpty())
        return {};
    // The log's name ends in a digest of the deck's path: the same key names the deck here.
    return QFileInfo(logPathFor_(deck_.FileName())).completeBaseName().right(16).toLatin1();
}

void DeckProgress::LoadDeckParameters() {
    const QByteArray key = DeckKey();
    const std::optional<QByteArray> text =
        key.isEmpty() ? std::nullopt : ReadDeckParameters(SettingsFilePath(), key);
    const std::optional<fsrs::Parameters> kept =
        text ? fsrs::ParametersFromText(*text) : std::nullopt;
    memory_.SetParameters(kept.value_or(fsrs::DefaultParameters()));
}

QString DeckProgress::LogForFitting() {
    const QString logPath = recorder_.LogPath();
    if (!logPath.isEmpty())
        recorder_.Sync();
    return logPath;
}

bool DeckProgress::KeepParameters(const fsrs::Parameters &parameters) {
    memory_.SetParameters(parameters);
    if (study_.scheduler == 1)
        recorder_.SetMemoryModel(&memory_); // the memory again, with the new parameters
    return StoreDeckParameters(SettingsFilePath(), DeckKey(), fsrs::ParametersText(parameters));
}
