#include "app/after_first_paint.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

AfterFirstPaint::AfterFirstPaint(QWidget *window) : QObject(window), window_(window) {
    setObjectName(QStringLiteral("AfterFirstPaint"));
    window_->installEventFilter(this);
}

void AfterFirstPaint::Add(std::function<void()> work) {
    work_.push_back(std::move(work));
    Schedule();
}

bool AfterFirstPaint::eventFilter(QObject *watched, QEvent *event) {
    if (watched == window_ && event->type() == QEvent::Paint && !painted_) {
        painted_ = true;
        window_->removeEventFilter(this);
        Schedule();
    }
    return QObject::eventFilter(watched, event);
}

void AfterFirstPaint::Schedule() {
    if (!painted_ || scheduled_ || work_.empty())
        return;
    scheduled_ = true;
    QTimer::singleShot(0, this, [this] { RunNext(); });
}

void AfterFirstPaint::RunNext() {
    scheduled_ = false;
    if (work_.empty())
        return;
    const std::function<void()> work = std::move(work_.front());
    work_.pop_front();
    work();
    Schedule();
}
