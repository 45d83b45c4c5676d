#include "app/startup_probe.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace {

class FirstPaintProbe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            // Report once the paint has finished, from the next turn of the event loop.
            QTimer::singleShot(0, [] {
                std::printf("drawn_at_ns=%lld\n",
                            static_cast<long long>(QDateTime::currentMSecsSinceEpoch()) * 1000000);
                std::fflush(stdout);
                QCoreApplication::exit(0);
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    bool seen_ = false;
};

} // namespace

void WatchFirstPaintForBenchmark(QWidget *window) {
    if (qEnvironmentVariableIsEmpty("KARDEON_STARTUP_BENCH"))
        return;
    window->installEventFilter(new FirstPaintProbe(window));
}
