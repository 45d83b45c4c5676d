#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

// The picture area of a cell: the picture centred and kept in proportion, scaled down to fit
// and never enlarged beyond twice its size. Dragging on it tells the share of the pane that
// lies below the pointer, which sets how much of every cell a picture gets.
class TMyImage : public QWidget {
    Q_OBJECT
public:
    explicit TMyImage(QWidget *parent = nullptr);

    void SetPicture(const QImage &picture);
    void ClearPicture();
    bool HasPicture() const { return !picture_.isNull(); }
    // In place of a picture whose file cannot be decoded: a small box naming the file.
    void ShowUnreadable(const QString &fileName);
    // The text of that box; empty when none is shown.
    QString UnreadableNote() const { return unreadable_; }
    static QString UnreadableNote(const QString &fileName);
    // Where the picture is drawn, in this widget's coordinates.
    QRect PictureRect() const;

    // The share of `paneHeight` below `y` (pane coordinates), in percent, within 20..100.
    static int ShareBelow(int y, int paneHeight);

Q_SIGNALS:
    void shareDragged(int percent);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;

private:
    void DragTo(const QPoint &at);
    QPixmap Scaled(QSize size) const;
    void PaintUnreadable();

    QImage picture_;
    QPixmap scaled_; // the picture at the size last drawn
    QString unreadable_;
};
