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

    // The folder of the lock and the socket: one per user, whatever the environment says, so
    // that two starts from different shells always find each other. Empty when no safe folder
    // exists; `problem` then says why.
    static QString DefaultFolder(QString *problem = nullptr);
    // The same rule on other roots, for tests: `runRoot`/<uid> when it is the user's own 0700
    // folder, else `tmpRoot`/kardeon-<uid>, created 0700, refused unless the user owns it and
    // nobody else may use it.
    static QString UserFolder(const QString &runRoot, const QString &tmpRoot, uint uid,
                              QString *problem = nullptr);
    // The folder the program uses: DefaultFolder(), unless the test suite names one in
    // KARDEON_TEST_INSTANCE_DIR so that its programs never meet the user's or each other's.
    static QString ProgramFolder(QString *problem = nullptr);
    // What the status bar says when the program runs without the lock.
    static QString NoLockMessage();

    enum class Lead {
        First,   // this process holds the lock
        Running, // another instance holds it
        NoLock,  // no lock could be taken at all: run alone, unguarded
    };
    // A lock or socket left by a crash is taken over.
    Lead Claim();
    // True when this process is the first instance (Claim() gives First).
    bool TakeLead();
    // Starts accepting hand-offs; `open` runs for each path and the sender is answered after it
    // (before it, for a path that does not exist).
    bool Listen(std::function<void(const QString &)> open);
    // While `busy` says so (a dialog is open), a received path waits: the dialog's answer
    // belongs to the deck it was asked about.
    void SetBusyCheck(std::function<bool()> busy);
    // How long a sender may take to deliver its record.
    void SetReceiveTimeout(int ms);
    // Second instance: hands `path` to the first and waits until it was dealt with (opened,
    // after any save prompt; a missing file only until it arrived). False when no instance
    // answered.
    bool HandOff(const QString &path, int connectTimeoutMs = 5000) const;

    QString SocketPath() const;
    QString LockPath() const;

private:
    void Accept();
    void ReadFrom(QLocalSocket *socket);
    void Deliver(QPointer<QLocalSocket> socket, const QString &path);
    // Tells the sender its path was dealt with; nothing when it is gone.
    static void Answer(const QPointer<QLocalSocket> &socket);

    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer *server_ = nullptr;
    std::function<void(const QString &)> open_;
    std::function<bool()> busy_;
    int receiveTimeoutMs_;
    QHash<QLocalSocket *, QByteArray> pending_;
};
