// The floor of the start-up benchmark: the smallest Qt Widgets program with a window of
// Japanese text, started and timed as the program is (KARDEON_STARTUP_BENCH=1 prints the time
// of its first paint and quits). Links Qt Widgets only, so it shows what Qt itself costs.
#include <QApplication>
#include <QDateTime>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>

#include <cstdio>

namespace {

class FirstPaint : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
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

int main(int argc, char **argv) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("日本語の単語カード"), &window));
    window.resize(567, 554);
    if (!qEnvironmentVariableIsEmpty("KARDEON_STARTUP_BENCH"))
        window.installEventFilter(new FirstPaint(&window));
    window.show();
    return app.exec();
}
