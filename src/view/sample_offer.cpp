#include "view/sample_offer.h"

#include "deck/user_sample.h"

#include <QEvent>

namespace {
constexpr int Gap = 6;
}

SampleOffer::SampleOffer(QWidget *hint, const QString &installedSample)
    : QPushButton(QStringLiteral("サンプルの問題ファイルで始める"), hint->parentWidget()),
      hint_(hint) {
    setObjectName(QStringLiteral("SampleOffer"));
    SetUserFolder(UserSampleFolder());
    setFocusPolicy(Qt::NoFocus);
    connect(this, &QPushButton::clicked, this, &SampleOffer::Offer);
    hint_->installEventFilter(this);
    SetInstalledSample(installedSample);
}

void SampleOffer::SetInstalledSample(const QString &path) {
    installedSample_ = path;
    Follow();
}

void SampleOffer::SetUserFolder(const QString &folder) {
    userFolder_ = folder;
    setToolTip(QStringLiteral("付属のサンプルを %1 にコピーして開きます。\n"
                              "学習の記録はそのコピーに保存されます。")
                   .arg(folder));
}

void SampleOffer::Offer() {
    const UserSampleCopy copy = CopyUserSample(installedSample_, userFolder_);
    if (copy.path.isEmpty())
        Q_EMIT failed(copy.error);
    else
        Q_EMIT openRequested(copy.path);
}

bool SampleOffer::eventFilter(QObject *watched, QEvent *event) {
    if (watched == hint_) {
        switch (event->type()) {
        // Sent even while the window is not shown yet, unlike Show and Hide.
        case QEvent::ShowToParent:
        case QEvent::HideToParent:
        case QEvent::Move:
        case QEvent::Resize:
            Follow();
            break;
        default:
            break;
        }
    }
    return QPushButton::eventFilter(watched, event);
}

void SampleOffer::Follow() {
    setVisible(!installedSample_.isEmpty() && hint_->isVisibleTo(parentWidget()));
    if (isHidden())
        return;
    adjustSize();
    const QRect note = hint_->geometry();
    move(note.center().x() - width() / 2, note.bottom() + Gap);
    raise();
}
