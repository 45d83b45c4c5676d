#include "app/single_instance.h"

#include "app/handoff_record.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QThread>
#include <QTimer>

#include <sys/stat.h>
#include <unistd.h>

namespace {
// The names every instance agrees on.
const QString BaseName = QStringLiteral("kardeon-EX_Mutex");
// A sender that has not delivered its record by then is dropped.
constexpr int ReceiveTimeoutMs = 10000;
// How often a path that arrived during a dialog looks whether the dialog has closed.
constexpr int BusyRetryMs = 100;
} // namespace

SingleInstance::SingleInstance(const QString &folder)
    : folder_(folder), receiveTimeoutMs_(ReceiveTimeoutMs) {}

SingleInstance::~SingleInstance() {
    if (server_)
        server_->close();
}

namespace {

// A folder that only `uid` can use: its own, a real folder (not a link), mode 0700.
bool IsPrivateFolder(const QByteArray &path, uid_t uid, QString *problem) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0) {
        *problem = QStringLiteral("%1 がありません。").arg(QFile::decodeName(path));
        return false;
    }
    if (!S_ISDIR(st.st_mode) || st.st_uid != uid || (st.st_mode & 07777) != 0700) {
        *problem =
            QStringLiteral("%1 は自分専用のフォルダではありません。").arg(QFile::decodeName(path));
        return false;
    }
    return true;
}

} // namespace

QString SingleInstance::UserFolder(const QString &runRoot, const QString &tmpRoot, uint uid,
                                   QString *problem) {
    QString why;
    const QByteArray run = QFile::encodeName(runRoot + u'/' + QString::number(uid));
    if (IsPrivateFolder(run, uid_t(uid), &why))
        return QFile::decodeName(run);
    const QByteArray own =
        QFile::encodeName(tmpRoot + QStringLiteral("/kardeon-") + QString::number(uid));
    // Created with nobody else's access from the start; an existing one must prove it is ours.
    if (::mkdir(own.constData(), 0700) == 0)
        ::chmod(own.constData(), 0700); // whatever the umask left
    if (IsPrivateFolder(own, uid_t(uid), &why))
        return QFile::decodeName(own);
    if (problem)
        *problem = why;
    return {};
}

QString SingleInstance::DefaultFolder(QString *problem) {
    return UserFolder(QStringLiteral("/run/user"), QStringLiteral("/tmp"), uint(::getuid()),
                      problem);
}

QString SingleInstance::NoLockMessage() {
    // Short enough for the status line beside the buttons.
    return QStringLiteral("多重起動を確認できませんでした。");
}

QString SingleInstance::ProgramFolder(QString *problem) {
    const QString forTests = qEnvironmentVariable("KARDEON_TEST_INSTANCE_DIR");
    return forTests.isEmpty() ? DefaultFolder(problem) : forTests;
}

QString SingleInstance::SocketPath() const {
    return QDir(folder_).filePath(BaseName + QStringLiteral(".socket"));
}

QString SingleInstance::LockPath() const {
    return QDir(folder_).filePath(BaseName + QStringLiteral(".lock"));
}

SingleInstance::Lead SingleInstance::Claim() {
    if (folder_.isEmpty())
        return Lead::NoLock;
    QDir().mkpath(folder_);
    lock_ = std::make_unique<QLockFile>(LockPath());
    // A live instance's lock never goes stale by age; a dead one's is taken over by its PID.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        return Lead::First;
    const bool held = lock_->error() == QLockFile::LockFailedError;
    if (held && lock_->removeStaleLockFile() && lock_->tryLock(0))
        return Lead::First;
    lock_.reset();
    return held ? Lead::Running : Lead::NoLock;
}

bool SingleInstance::TakeLead() {
    return Claim() == Lead::First;
}

void SingleInstance::SetBusyCheck(std::function<bool()> busy) {
    busy_ = std::move(busy);
}

void SingleInstance::SetReceiveTimeout(int ms) {
    receiveTimeoutMs_ = ms;
}

bool SingleInstance::Listen(std::function<void(const QString &)> open) {
    open_ = std::move(open);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::NoOptions);
    // We hold the lock, so a socket file left here belongs to a crashed instance.
    QLocalServer::removeServer(SocketPath());
    if (!server_->listen(SocketPath()))
        return false;
    QFile::setPermissions(SocketPath(), QFile::ReadOwner | QFile::WriteOwner);
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::Accept);
    return true;
}

void SingleInstance::Accept() {
    while (QLocalSocket *socket = server_->nextPendingConnection()) {
        pending_.insert(socket, {});
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { ReadFrom(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            pending_.remove(socket);
            socket->deleteLater();
        });
        // Only a sender still delivering is dropped; one that did waits for the answer, however
        // long the save prompt takes.
        QTimer::singleShot(receiveTimeoutMs_, socket, [this, socket] {
            if (pending_.contains(socket))
                socket->abort();
        });
        ReadFrom(socket);
    }
}

void SingleInstance::ReadFrom(QLocalSocket *socket) {
    auto it = pending_.find(socket);
    if (it == pending_.end())
        return;
    it.value() += socket->readAll();
    const handoff::Parsed parsed = handoff::Decode(it.value());
    if (parsed.status == handoff::Status::Incomplete)
        return;
    pending_.erase(it);
    if (parsed.status == handoff::Status::Malformed) {
        socket->abort();
        return;
    }
    // Opened from the event loop, not inside the socket's own signal: opening may show a save
    // prompt, and the sender may give up meanwhile and its socket be deleted.
    const QString path = QFile::decodeName(parsed.path);
    QPointer<QLocalSocket> guard(socket);
    // A path that is not there only gets a box in this window: the sender has nothing to wait
    // for, and would otherwise hang until the user closes that box.
    if (!QFileInfo::exists(path)) {
        Answer(guard);
        guard = nullptr;
    }
    QTimer::singleShot(0, this, [this, guard, path] { Deliver(guard, path); });
}

void SingleInstance::Answer(const QPointer<QLocalSocket> &socket) {
    if (socket && socket->state() == QLocalSocket::ConnectedState) {
        socket->write(QByteArray(1, handoff::Ack));
        socket->flush();
        socket->disconnectFromServer();
    }
}

void SingleInstance::Deliver(QPointer<QLocalSocket> socket, const QString &path) {
    if (busy_ && busy_()) {
        QTimer::singleShot(BusyRetryMs, this, [this, socket, path] { Deliver(socket, path); });
        return;
    }
    if (open_)
        open_(path);
    Answer(socket);
}

bool SingleInstance::HandOff(const QString &path, int connectTimeoutMs) const {
    QLocalSocket socket;
    // The first instance may still be starting up and not listening yet.
    QDeadlineTimer deadline(connectTimeoutMs);
    for (;;) {
        socket.connectToServer(SocketPath());
        if (socket.waitForConnected(500))
            break;
        if (deadline.hasExpired())
            return false;
        QThread::msleep(100);
    }
    socket.write(handoff::Encode(QFile::encodeName(path)));
    if (!socket.waitForBytesWritten(connectTimeoutMs))
        return false;
    while (socket.bytesAvailable() == 0) {
        if (socket.state() != QLocalSocket::ConnectedState)
            return false;
        socket.waitForReadyRead(1000);
    }
    return socket.read(1) == QByteArray(1, handoff::Ack);
}
