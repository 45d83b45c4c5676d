#include "view/cell_image.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>

TMyImage::TMyImage(QWidget *parent) : QWidget(parent) {
    setCursor(Qt::SizeVerCursor);
    // White like the text box above it: one cell, not two boxes.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void TMyImage::SetPicture(const QImage &picture) {
    if (picture.cacheKey() == picture_.cacheKey() && !picture.isNull())
        return;
    picture_ = picture;
    scaled_ = QPixmap();
    update();
}

void TMyImage::ClearPicture() {
    if (picture_.isNull())
        return;
    picture_ = QImage();
    scaled_ = QPixmap();
    update();
}

QRect TMyImage::PictureRect() const {
    if (picture_.isNull() || width() <= 0 || height() <= 0)
        return {};
    QSize size = picture_.size().scaled(this->size(), Qt::KeepAspectRatio);
    if (size.width() > picture_.width() * 2)
        size = picture_.size() * 2;
    QRect target(QPoint(), size);
    target.moveCenter(rect().center());
    return target;
}

int TMyImage::ShareBelow(int y, int paneHeight) {
    if (paneHeight <= 0)
        return 100;
    return qBound(20, (paneHeight - y) * 100 / paneHeight, 100);
}

void TMyImage::paintEvent(QPaintEvent *) {
    const QRect target = PictureRect();
    if (target.isEmpty())
        return;
    if (scaled_.size() != target.size())
        scaled_ = Scaled(target.size());
    QPainter(this).drawPixmap(target.topLeft(), scaled_);
}

// Scaling a large picture smoothly is the costly part of showing it. In the sub pattern a picture
// moves up one row per step at the same size, so the scaled copies are shared between cells.
QPixmap TMyImage::Scaled(QSize size) const {
    const QString key = QStringLiteral("kardeon-cell-%1-%2x%3")
                            .arg(picture_.cacheKey())
                            .arg(size.width())
                            .arg(size.height());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap))
        return pixmap;
    pixmap =
        QPixmap::fromImage(picture_.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

void TMyImage::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton)
        DragTo(event->position().toPoint());
}

void TMyImage::mouseMoveEvent(QMouseEvent *event) {
    if (event->buttons() & Qt::LeftButton)
        DragTo(event->position().toPoint());
}

void TMyImage::DragTo(const QPoint &at) {
    QWidget *pane = parentWidget();
    if (!pane)
        return;
    Q_EMIT shareDragged(ShareBelow(mapTo(pane, at).y(), pane->height()));
}
