#pragma once
// Process-wide configuration: dbtool.ini, the local addresses, the program's version and the
// logged-in user. Written on the user-interface thread at start-up and login.

#include "core/AppState.h"  // DBODBCTYPE
#include "core/HostLib.h"   // LocalIpList

#include <QString>
#include <atomic>

namespace dbkeel {

// dbtool.ini: sections, keys, defaults and the widths they are read with.
namespace dbtool {
inline const QString Section = QStringLiteral("DATABASETOOL");
inline const QString OdbcType = QStringLiteral("DBODBCTYPE"), OdbcTypeDefault = QStringLiteral("0");
inline const QString ServerIp = QStringLiteral("SERVERIP"), ServerIpDefault = QStringLiteral("127.0.0.1");
inline const QString PortId = QStringLiteral("PORTID"), PortIdDefault = QStringLiteral("15000");
inline const QString IpSetSection = QStringLiteral("IPSET"), IpCount = QStringLiteral("NUM");
inline const QString IpDataSection = QStringLiteral("IPDATA"), IpInfo = QStringLiteral("IPINFO%1");
inline constexpr int WideWidth = 300, AddressWidth = 32, FallbackWidth = 18;
}  // namespace dbtool

// The logged-in user's power level (from the login component).
inline std::atomic<qint16> UserLevel{0};
QString &ProgramVersion();
QString &ConfigFilePath();  // set by ReadConfig
// PORTID as ReadConfig read it, whether or not SERVERIP was accepted: the local port of the station
// network (channel 10), on which it is opened at start-up and reopened later.
QString &PortId();
LocalIpList &localIpList();

// Field 0 (the path) of a host configuration entry; empty when missing.
QString hostEntryPath(int entry);
// "<program directory>/dbtool.ini".
QString configFilePathFromHost();

// Reads the version of the program's executable in the program folder (the running program's own
// version when that file is missing) into ProgramVersion, writes the version file (the system index
// file's entry) and logs "版本:%s".
void RegisterProgramVersion();
// Writes VERSIONINFO (VERSION, DESCRIPT) into the version file; false when it cannot be written.
bool writeVersionFile(const QString &path, const QString &version);

// Reads dbtool.ini, checks the configured local address against this computer's addresses and, when
// it is one of them, fills localStation() and the fallback list of stationRegistry().
void ReadConfig();

// What the "系统配置" screen shows and saves.
struct SystemConfig {
    int odbcType = 0;  // 0 local database, 1 remote
    QString serverIp;
    QString portId;
};
SystemConfig readSystemConfig();
// Writes DBODBCTYPE, SERVERIP and PORTID to dbtool.ini and sets DBODBCTYPE in memory. False with the
// reason in `error` when the file cannot be written (nothing in memory changes then).
bool saveSystemConfig(const SystemConfig &config, QString &error);

}  // namespace dbkeel
