#pragma once

#include <QLabel>

// A short note over the card area, shown while no deck is open, that says how to open one.
// It lets every click and drop through to what lies below it.
class NoDeckHint : public QLabel {
    Q_OBJECT
public:
    explicit NoDeckHint(QWidget *parent);
    static QString Text();
};
