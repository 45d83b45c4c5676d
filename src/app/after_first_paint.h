#pragma once

#include <QObject>

#include <deque>
#include <functional>

class QWidget;

// Work the window's first picture does not need. It waits until the window has been painted
// once, then runs from the event loop a piece per turn, so that a key pressed meanwhile is
// handled between two pieces rather than after all of them. Work added once the window has
// been painted runs on the next turns.
class AfterFirstPaint : public QObject {
    Q_OBJECT
public:
    explicit AfterFirstPaint(QWidget *window);

    void Add(std::function<void()> work);
    bool Pending() const { return !work_.empty(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Schedule();
    void RunNext();

    QWidget *window_;
    std::deque<std::function<void()>> work_;
    bool painted_ = false;
    bool scheduled_ = false;
};
