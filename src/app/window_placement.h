#pragma once

#include "app/window_frame.h"

#include <QRect>
#include <QSize>

#include <functional>

class QWidget;

// Where the main window sits and how large it is, counted as the settings file stores it: outer
// bounds, the window manager's frame included. The frame becomes known only some time after the
// window is shown, so a stored size is fitted once it arrives.
class WindowPlacement {
public:
    // `frameChanged` lays the window out again once its frame has arrived or changed.
    WindowPlacement(QWidget &window, std::function<void()> frameChanged);

    // Moves and sizes the window to stored outer bounds, kept within the desktop and on a screen.
    void Apply(QRect outer);
    // The outer bounds to store: a minimised or maximised window's are those it returns to.
    QRect RestoredOuterBounds() const;
    // Looks at the frame again (the window was shown, moved, resized or changed state).
    void CheckFrame();
    // The window was shown: some platforms announce the frame with no event of its own, so look
    // again for a while.
    void Shown();
    QSize Outer(QSize inner) const { return frame_.Outer(inner); }

private:
    void FitOuterSize(int triesLeft);

    QWidget &window_;
    std::function<void()> frameChanged_;
    QSize wantedOuterSize_; // fitted once the window frame is known
    WindowFrame frame_;
};
