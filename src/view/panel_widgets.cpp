#include "view/panel_widgets.h"

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
