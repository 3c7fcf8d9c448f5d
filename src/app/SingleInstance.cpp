#include "app/SingleInstance.h"

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

SingleInstance::SingleInstance(const QString &name, QObject *parent) : QObject(parent), m_key(name + u'-' + userName())
{
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::acceptRequests);
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultName()
{
    const QString configured = qEnvironmentVariable("DBKEEL_INSTANCE");
    return configured.isEmpty() ? QStringLiteral("Dbkeel") : configured;
}

bool SingleInstance::claim()
{
    m_lock = std::make_unique<QLockFile>(QDir(QDir::tempPath()).filePath(m_key + QStringLiteral(".lock")));
    m_lock->setStaleLockTime(0);  // stale only when its process is gone
    if (!m_lock->tryLock(0)) {
        m_lock.reset();
        return false;
    }
    QLocalServer::removeServer(m_key);  // a socket left by a copy that crashed
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    m_server.listen(m_key);  // without it later starts cannot hand over, but this copy still runs
    return true;
}

bool SingleInstance::notifyRunning(int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(m_key);
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
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
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
