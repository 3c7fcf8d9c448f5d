#include "SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QThread>

namespace dbkeel {

namespace {
const QByteArray kShowRequest = "show\n";

QString userName()
{
    for (const char *variable : {"USER", "USERNAME", "LOGNAME"}) {
        const QString name = qEnvironmentVariable(variable);
        if (!name.isEmpty())
            return name;
    }
    return QStringLiteral("user");
}
}  // namespace

SingleInstance::SingleInstance(const QString &name, QObject *parent)
    : QObject(parent), key_(name + u'-' + userName())
{
    connect(&server_, &QLocalServer::newConnection, this, &SingleInstance::acceptRequests);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultName()
{
    const QString configured = qEnvironmentVariable("DBKEEL_INSTANCE");
    return configured.isEmpty() ? QStringLiteral("Dbkeel") : configured;
}

bool SingleInstance::claim()
{
    lock_ = std::make_unique<QLockFile>(QDir(QDir::tempPath()).filePath(key_ + QStringLiteral(".lock")));
    lock_->setStaleLockTime(0);  // stale only when its process is gone
    if (!lock_->tryLock(0)) {
        lock_.reset();
        return false;
    }
    QLocalServer::removeServer(key_);  // a socket left by a copy that crashed
    server_.setSocketOptions(QLocalServer::UserAccessOption);
    server_.listen(key_);  // without it later starts cannot hand over, but this copy still runs
    return true;
}

bool SingleInstance::notifyRunning(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(key_);
        if (socket.waitForConnected(200)) {
            socket.write(kShowRequest);
            if (socket.waitForBytesWritten(1000)) {
                socket.waitForDisconnected(1000);  // the running copy closes when it has read
                return true;
            }
        }
        QThread::msleep(50);
    }
    return false;
}

void SingleInstance::acceptRequests()
{
    while (QLocalSocket *socket = server_.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine())
                return;
            if (socket->readLine() == kShowRequest)
                emit activationRequested();
            socket->disconnectFromServer();
        });
    }
}

}  // namespace dbkeel
