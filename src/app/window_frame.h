#pragma once

#include <QMargins>
#include <QSize>

class QWidget;

// The frame a window manager draws around the main window (title bar and borders). It becomes
// known only some time after the window is shown, and may change later (another theme, another
// window manager); without a window manager there is none.
class WindowFrame {
public:
    // Reads the window's frame now; true when it differs from the one seen before.
    bool Update(const QWidget &window);

    bool Framed() const { return !margins_.isNull(); }
    QMargins Margins() const { return margins_; }
    QSize Outer(QSize inner) const { return inner.grownBy(margins_); }
    QSize Inner(QSize outer) const { return outer.shrunkBy(margins_); }

private:
    QMargins margins_;
};
