#pragma once

#include <QPushButton>

// A button under the no-deck note that opens the installed sample deck as the user's own copy,
// so that a first drill can be saved. It is there only while the note is, and only when the
// sample is installed.
class SampleOffer : public QPushButton {
    Q_OBJECT
public:
    // Follows `hint` (a sibling in the same parent) in place and visibility.
    SampleOffer(QWidget *hint, const QString &installedSample);

    void SetInstalledSample(const QString &path);
    // Where the user's copy goes; the user's data folder unless set.
    void SetUserFolder(const QString &folder);

Q_SIGNALS:
    // The user's copy to open.
    void openRequested(const QString &path);
    // Why there is no copy, to show the user.
    void failed(const QString &message);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void Offer();
    void Follow();

    QWidget *hint_;
    QString installedSample_;
    QString userFolder_;
};
