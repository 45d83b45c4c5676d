#include "view/panel_widgets.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <QMouseEvent>

void ClickLabel::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        Q_EMIT clicked();
    QLabel::mousePressEvent(event);
}

void PopupComboBox::hidePopup() {
    QComboBox::hidePopup();
    Q_EMIT popupClosed();
}

void FittingLabel::SetFittingText(const QString &text) {
    constexpr int smallestPixelSize = 6;
    QFont f = font();
    if (basePixelSize_ == 0)
        basePixelSize_ = QFontInfo(f).pixelSize();
    int size = basePixelSize_;
    f.setPixelSize(size);
    while (size > smallestPixelSize && QFontMetrics(f).horizontalAdvance(text) > width()) {
        f.setPixelSize(--size);
    }
    setFont(f);
    setText(text);
}
