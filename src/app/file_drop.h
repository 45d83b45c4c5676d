#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <deque>
#include <functional>

class FileDropHost;
class QDropEvent;
class QMimeData;
class TMondaiSet;
class TMyMemo;

// Files dropped anywhere on the main window. Only the first file counts: a deck opens through
// the window's normal open; a picture or sound dropped on a card text box that shows a card adds
// its path, relative to the program's folder, as a new last line of that box. Text and remote
// addresses dragged from other programs are refused.
class FileDrop : public QObject {
    Q_OBJECT
public:
    // Watches the drops on `window`, which must outlive this.
    FileDrop(QWidget &window, FileDropHost &host);

    // The folder dropped paths are made relative to: the executable's unless changed.
    void SetProgramFolder(const QString &folder) { programFolder_ = folder; }
    // While this says so (a modal box or dialog is open), drops wait: the open question belongs
    // to what was on screen when it was asked.
    void SetBusyCheck(std::function<bool()> busy) { busy_ = std::move(busy); }

    // The first local file a drag carries, or empty.
    static QString FirstLocalFile(const QMimeData *data);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // A drop waiting to be dealt with, and what the box under it showed at the time.
    struct Pending {
        QString path;
        QPointer<TMyMemo> memo;
        const TMondaiSet *card = nullptr;
        QString boxText;
    };

    bool InThisWindow(QObject *watched) const;
    void Take(QWidget *receiver, const QDropEvent &event, const QString &path);
    void Deliver();
    void Apply(const Pending &drop);
    bool StillShowsItsCard(const Pending &drop) const;

    QWidget &form_;
    FileDropHost &host_;
    QString programFolder_;
    std::function<bool()> busy_;
    std::deque<Pending> pending_;
    QTimer deliverTimer_;
};
