#include "core/StationRegistry.h"

#include <QMutexLocker>

namespace dbkeel {

void StationRegistry::clear()
{
    QMutexLocker lock(&m_mutex);
    m_entries.clear();
    m_allConnected = false;
}

int StationRegistry::count() const
{
    QMutexLocker lock(&m_mutex);
    return int(m_entries.size());
}

bool StationRegistry::add(const RegistryEntry &entry)
{
    QMutexLocker lock(&m_mutex);
    if (m_entries.size() >= kCapacity)
        return false;
    m_entries.append(entry);
    return true;
}

RegistryEntry StationRegistry::entry(int i) const
{
    QMutexLocker lock(&m_mutex);
    return i >= 0 && i < m_entries.size() ? m_entries.at(i) : RegistryEntry{};
}

QList<RegistryEntry> StationRegistry::entries() const
{
    QMutexLocker lock(&m_mutex);
    return m_entries;
}

int StationRegistry::indexOfNode(quintptr treeNode) const
{
    QMutexLocker lock(&m_mutex);
    for (int i = 0; i < m_entries.size(); ++i) {
        if (m_entries.at(i).treeNode == treeNode)
            return i;
    }
    return -1;
}

void StationRegistry::setAddress(int i, const QString &ip, const QString &port)
{
    QMutexLocker lock(&m_mutex);
    if (i < 0 || i >= m_entries.size())
        return;
    m_entries[i].station.ip = ip;
    m_entries[i].station.port = port;
}

bool StationRegistry::markConnected(const QString &ip, const QString &port)
{
    QMutexLocker lock(&m_mutex);
    m_allConnected = true;
    for (RegistryEntry &e : m_entries) {
        if (e.station.ip.compare(ip, Qt::CaseInsensitive) == 0
            && e.station.port.compare(port, Qt::CaseInsensitive) == 0)
            e.connected = true;
        if (!e.connected)
            m_allConnected = false;
    }
    return m_allConnected;
}

bool StationRegistry::allConnected() const
{
    QMutexLocker lock(&m_mutex);
    return m_allConnected;
}

StationRegistry &stationRegistry()
{
    static StationRegistry registry;
    return registry;
}

StationRecord &localStation()
{
    static StationRecord record;
    return record;
}

namespace {
QMutex lastReplyMutex;
StationRecord lastReplyRecord;
}  // namespace

StationRecord lastReply()
{
    QMutexLocker lock(&lastReplyMutex);
    return lastReplyRecord;
}

void setLastReply(const StationRecord &record)
{
    QMutexLocker lock(&lastReplyMutex);
    lastReplyRecord = record;
}

}  // namespace dbkeel
