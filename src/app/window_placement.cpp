#include "app/window_placement.h"

#include "settings/settings.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace {

bool OnSomeScreen(const QRect &outer) {
    const QList<QScreen *> screens = QGuiApplication::screens();
    return std::any_of(screens.begin(), screens.end(), [&outer](const QScreen *screen) {
        return screen->geometry().intersects(outer);
    });
}

// A hand-edited size larger than every screen together would only make a window nobody can use.
QSize LimitedToDesktop(QSize size) {
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary)
        return size;
    const QSize desktop = primary->virtualGeometry().size();
    return size.boundedTo(desktop).expandedTo(
        QSize(AppSettings::MinWindowWidth, AppSettings::MinWindowHeight));
}

} // namespace

WindowPlacement::WindowPlacement(QWidget &window, std::function<void()> frameChanged)
    : window_(window), frameChanged_(std::move(frameChanged)) {}

void WindowPlacement::Apply(QRect outer) {
    outer.setSize(LimitedToDesktop(outer.size()));
    if (!OnSomeScreen(outer)) {
        if (const QScreen *primary = QGuiApplication::primaryScreen()) {
            const QRect area = primary->availableGeometry();
            outer.moveTopLeft(area.topLeft() + QPoint(100, 100));
            if (!area.contains(outer))
                outer.moveTopLeft(area.topLeft());
        }
    }
    // Position and size are the window's outer bounds; the frame is only known once shown.
    window_.move(outer.topLeft());
    window_.resize(outer.size());
    wantedOuterSize_ = outer.size();
}

QRect WindowPlacement::RestoredOuterBounds() const {
    // A minimised or maximised window is stored with the bounds it returns to.
    const bool normal = !(window_.windowState() &
                          (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    return (normal ? window_.geometry() : window_.normalGeometry()).marginsAdded(frame_.Margins());
}

void WindowPlacement::Shown() {
    QTimer::singleShot(0, &window_, [this] { FitOuterSize(10); });
}

void WindowPlacement::CheckFrame() {
    if (!frame_.Update(window_))
        return;
    // The smallest window and the stored size count the frame.
    window_.setMinimumSize(
        frame_.Inner(QSize(AppSettings::MinWindowWidth, AppSettings::MinWindowHeight)));
    if (wantedOuterSize_.isValid() && window_.size() == wantedOuterSize_ && frame_.Framed() &&
        !(window_.windowState() & ~Qt::WindowActive)) {
        wantedOuterSize_ = QSize();
        window_.resize(frame_.Inner(window_.size()));
    }
    frameChanged_();
}

// The stored size is the outer one: once the window manager has framed the window, the inside
// shrinks by the frame. The size stays wanted until the frame is known or the user resizes.
void WindowPlacement::FitOuterSize(int triesLeft) {
    CheckFrame();
    if (!wantedOuterSize_.isValid())
        return;
    if (window_.size() != wantedOuterSize_ || (window_.windowState() & ~Qt::WindowActive)) {
        wantedOuterSize_ = QSize();
        return;
    }
    if (triesLeft > 0)
        QTimer::singleShot(50, &window_, [this, triesLeft] { FitOuterSize(triesLeft - 1); });
}
