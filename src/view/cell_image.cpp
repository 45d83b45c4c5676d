#include "view/cell_image.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPixmapCache>

#include <algorithm>

TMyImage::TMyImage(QWidget *parent) : QWidget(parent) {
    setCursor(Qt::SizeVerCursor);
    // White like the text box above it: one cell, not two boxes.
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void TMyImage::SetPicture(const QImage &picture) {
    if (picture.cacheKey() == picture_.cacheKey() && !picture.isNull())
        return;
    unreadable_.clear();
    picture_ = picture;
    scaled_ = QPixmap();
    update();
}

void TMyImage::ClearPicture() {
    if (picture_.isNull() && unreadable_.isEmpty())
        return;
    unreadable_.clear();
    picture_ = QImage();
    scaled_ = QPixmap();
    update();
}

void TMyImage::ShowUnreadable(const QString &fileName) {
    const QString note = UnreadableNote(fileName);
    if (note == unreadable_ && picture_.isNull())
        return;
    picture_ = QImage();
    scaled_ = QPixmap();
    unreadable_ = note;
    update();
}

QString TMyImage::UnreadableNote(const QString &fileName) {
    return QStringLiteral("画像を表示できません\n%1").arg(fileName);
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
    if (!unreadable_.isEmpty()) {
        PaintUnreadable();
        return;
    }
    const QRect target = PictureRect();
    if (target.isEmpty())
        return;
    if (scaled_.size() != target.size())
        scaled_ = Scaled(target.size());
    QPainter(this).drawPixmap(target.topLeft(), scaled_);
}

// A grey-framed box in the middle, no larger than the note needs, with the note in small type.
void TMyImage::PaintUnreadable() {
    QPainter painter(this);
    QFont font = painter.font();
    font.setPixelSize(std::max(9, std::min(12, height() / 3)));
    painter.setFont(font);
    const QRect room = rect().adjusted(4, 4, -4, -4);
    QRect box = painter.fontMetrics().boundingRect(room, Qt::AlignCenter | Qt::TextWrapAnywhere,
                                                   unreadable_);
    box = box.adjusted(-6, -3, 6, 3).intersected(room);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(box.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::PlaceholderText));
    painter.drawText(box, Qt::AlignCenter | Qt::TextWrapAnywhere, unreadable_);
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
