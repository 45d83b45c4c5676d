#include "app/window_frame.h"

#include <QWidget>
#include <QWindow>

bool WindowFrame::Update(const QWidget &window) {
    const QWindow *handle = window.windowHandle();
    const QMargins now = handle && window.isVisible() ? handle->frameMargins() : QMargins();
    if (now == margins_)
        return false;
    margins_ = now;
    return true;
}
