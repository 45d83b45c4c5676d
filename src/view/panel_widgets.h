#pragma once

#include <QComboBox>
#include <QLabel>

// A label that acts on a click (the check mark beside the counters).
class ClickLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;
Q_SIGNALS:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
};

// A drop-down list that tells when its list closes, chosen or not.
class PopupComboBox : public QComboBox {
    Q_OBJECT
public:
    using QComboBox::QComboBox;
    void hidePopup() override;
Q_SIGNALS:
    void popupClosed();
};

// A label whose text shrinks to fit its width instead of running over its neighbours (the
// counters beside their captions, which must show large decks' counts whole).
class FittingLabel : public QLabel {
public:
    using QLabel::QLabel;
    void SetFittingText(const QString &text);

private:
    int basePixelSize_ = 0;
};
