#include "overview/parameter_fitting.h"

#include <QEventLoop>
#include <QFile>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <memory>

namespace {

constexpr int kProgressSteps = 1000;
constexpr int kPollMs = 100;

QString Score(const fsrs::FitScore &score) {
    return QStringLiteral("対数損失 %1、RMSE %2")
        .arg(QString::number(score.logLoss, 'f', 4), QString::number(score.rmse, 'f', 4));
}

} // namespace

ParameterFitting::Result ParameterFitting::Run(const QString &logPath, QWidget *parent) {
    // Shared with the thread, which may outlive a cancelled wait by one step.
    struct Shared {
        std::atomic<int> done{0};
        std::atomic<bool> cancel{false};
        Result result;
    };
    auto shared = std::make_shared<Shared>();
    QThread *thread = QThread::create([shared, logPath] {
        fsrs::FitData data;
        QFile file(logPath);
        if (file.open(QIODevice::ReadOnly)) {
            const QByteArray text = file.read(MaxReviewLogBytes);
            ParseReviewLog(text, [&data](const ReviewEntry &entry) { data.Add(entry); });
        }
        shared->result.reviews = data.TrainReviews();
        if (shared->result.reviews < fsrs::kMinFitReviews) {
            shared->result.outcome = Outcome::TooFewReviews;
            return;
        }
        const std::optional<fsrs::FitReport> report =
            fsrs::FitParameters(data, fsrs::DefaultParameters(), [&shared](double done) {
                shared->done = int(done * kProgressSteps);
                return !shared->cancel;
            });
        if (report) {
            shared->result.report = *report;
            shared->result.outcome = Outcome::Fitted;
        }
    });
    QProgressDialog progress(QStringLiteral("学習の記録に記憶モデルを合わせています..."),
                             QStringLiteral("キャンセル"), 0, kProgressSteps, parent);
    progress.setObjectName(QStringLiteral("FitProgress"));
    progress.setWindowTitle(QStringLiteral("最適化"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    QObject::connect(&progress, &QProgressDialog::canceled, [shared] { shared->cancel = true; });
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, [&] { progress.setValue(shared->done); });
    QEventLoop loop;
    QObject::connect(thread, &QThread::finished, &loop, &QEventLoop::quit);
    poll.start(kPollMs);
    thread->start();
    loop.exec();
    poll.stop();
    thread->wait();
    delete thread;
    return shared->cancel ? Result{} : shared->result;
}

QString ParameterFitting::Describe(const Result &result) {
    switch (result.outcome) {
    case Outcome::TooFewReviews:
        return QStringLiteral("前回の回答があるカードへの回答が %1 件しかありません。"
                              "最適化には %2 件以上が必要です。")
            .arg(result.reviews)
            .arg(fsrs::kMinFitReviews);
    case Outcome::Cancelled:
        return QStringLiteral("最適化を取り消しました。パラメータは変わりません。");
    case Outcome::Fitted:
        break;
    }
    const fsrs::FitReport &r = result.report;
    return QStringLiteral("検証用の 1/5（%1 件）で 既定: %2 ／ 最適化後: %3。%4")
        .arg(r.fitted.reviews)
        .arg(Score(r.defaults), Score(r.fitted),
             r.Better() ? QStringLiteral("予測がよくなったので、このデッキに採用しました。")
                        : QStringLiteral("予測がよくならなかったので、既定のままにします。"));
}
