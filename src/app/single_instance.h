#pragma once

#include <QByteArray>
#include <QHash>
#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>

class QLocalServer;
class QLocalSocket;

// Only one instance runs per user: the first holds a lock file for its whole run and listens on
// a local socket beside it; later starts hand their path over and end.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // `folder` must be private to the user (the runtime folder is 0700).
    explicit SingleInstance(const QString &folder);
    ~SingleInstance() override;

    static QString DefaultFolder();

    // True when this process is the first instance; a lock or socket left by a crash is taken over.
    bool TakeLead();
    // Starts accepting hand-offs; `open` runs for each path and the sender is answered after it.
    bool Listen(std::function<void(const QString &)> open);
    // While `busy` says so (a dialog is open), a received path waits: the dialog's answer
    // belongs to the deck it was asked about.
    void SetBusyCheck(std::function<bool()> busy);
    // How long a sender may take to deliver its record.
    void SetReceiveTimeout(int ms);
    // Second instance: hands `path` to the first and waits until it was dealt with.
    // False when no instance answered.
    bool HandOff(const QString &path, int connectTimeoutMs = 5000) const;

    QString SocketPath() const;
    QString LockPath() const;

private:
    void Accept();
    void ReadFrom(QLocalSocket *socket);
    void Deliver(QPointer<QLocalSocket> socket, const QString &path);

    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer *server_ = nullptr;
    std::function<void(const QString &)> open_;
    std::function<bool()> busy_;
    int receiveTimeoutMs_;
    QHash<QLocalSocket *, QByteArray> pending_;
};
