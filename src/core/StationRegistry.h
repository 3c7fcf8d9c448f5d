#pragma once
// The computers the console addresses, the console's own record and the record of the last reply.

#include "core/StationRecord.h"

#include <QList>
#include <QMutex>
#include <QString>

namespace dbkeel {

struct RegistryEntry {
    StationRecord station;
    quintptr treeNode = 0;   // its node in the main window's line tree; 0 for none
    int lineId = 0;          // line id (kind 0) or the ID of its tb_login_ip_info row (kind 1)
    int stationId = 0;       // station id (kind 0) or PCType (kind 1)
    int kind = 0;            // 0 station of a line, 1 computer of tb_login_ip_info
    bool connected = false;  // answered a 1004 request

    QString addressKey() const { return station.ip + station.port; }
};

// Thread-safe: the user-interface thread, the receive loop and the console worker share it.
class StationRegistry {
public:
    static constexpr int kCapacity = 300;

    void clear();
    int count() const;
    bool add(const RegistryEntry &entry);  // false when full
    RegistryEntry entry(int i) const;      // a default entry when out of range
    QList<RegistryEntry> entries() const;
    // The index of the entry with that tree node, -1 when none.
    int indexOfNode(quintptr treeNode) const;
    void setAddress(int i, const QString &ip, const QString &port);
    // Marks every entry with that IP and port (letter case ignored) connected; returns allConnected.
    bool markConnected(const QString &ip, const QString &port);
    bool allConnected() const;

private:
    mutable QMutex m_mutex;
    QList<RegistryEntry> m_entries;
    bool m_allConnected = false;
};

StationRegistry &stationRegistry();

// The console's own record: ReadConfig fills ip, port and kind 1; the name stays "远程".
// Written once at start-up before the threads run; read by them afterwards.
StationRecord &localStation();

// The record of the last reply received (the receive loop's, guarded).
StationRecord lastReply();
void setLastReply(const StationRecord &record);

}  // namespace dbkeel
