#include "tests/console/ConsoleTestSupport.h"

#include "console/ConsoleEvents.h"
#include "core/AppLog.h"

#include <QMutexLocker>
#include <QNetworkDatagram>

namespace dbkeel::test {

UdpPeer::UdpPeer(const QHostAddress &address)
{
    m_socket.bind(address, 0);
}

void UdpPeer::send(int port, const QByteArray &datagram)
{
    m_socket.writeDatagram(datagram, QHostAddress::LocalHost, quint16(port));
}

std::optional<QByteArray> UdpPeer::receive(std::chrono::milliseconds timeout)
{
    if (!m_socket.hasPendingDatagrams() && !m_socket.waitForReadyRead(int(timeout.count())))
        return std::nullopt;
    return m_socket.receiveDatagram().data();
}

QList<QByteArray> UdpPeer::receiveAll(std::chrono::milliseconds window)
{
    QList<QByteArray> all;
    const auto end = std::chrono::steady_clock::now() + window;
    while (std::chrono::steady_clock::now() < end) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (const std::optional<QByteArray> datagram = receive(std::max(left, 1ms)))
            all.append(*datagram);
    }
    return all;
}

ConsoleRecorder::ConsoleRecorder()
{
    m_connections.append(QObject::connect(
        &logHub(), &LogHub::entryAdded, &logHub(),
        [this](const QString &text, bool) {
            QMutexLocker lock(&m_mutex);
            m_log.append(text);
        },
        Qt::DirectConnection));
    m_connections.append(QObject::connect(
        &consoleEvents(), &ConsoleEvents::chatAppended, &consoleEvents(),
        [this](const QString &text, int) {
            QMutexLocker lock(&m_mutex);
            m_chat.append(text);
        },
        Qt::DirectConnection));
}

ConsoleRecorder::~ConsoleRecorder()
{
    for (const QMetaObject::Connection &connection : m_connections)
        QObject::disconnect(connection);
}

QStringList ConsoleRecorder::logEntries() const
{
    QMutexLocker lock(&m_mutex);
    return m_log;
}

QStringList ConsoleRecorder::chatLines() const
{
    QMutexLocker lock(&m_mutex);
    return m_chat;
}

bool ConsoleRecorder::waitForLog(const QString &text, std::chrono::milliseconds timeout) const
{
    return eventually([&] { return logEntries().contains(text); }, timeout);
}

}  // namespace dbkeel::test
