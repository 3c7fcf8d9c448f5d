#include "core/AppConfig.h"

#include "core/AppLog.h"
#include "core/Database.h"
#include "core/StationRegistry.h"
#include "platform/Gbk.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"

namespace dbkeel {

namespace {

#ifdef Q_OS_WIN
const QString kExecutableName = QStringLiteral("Dbkeel.exe");
#else
const QString kExecutableName = QStringLiteral("Dbkeel");
#endif

qint16 odbcTypeFrom(const ProfileFile &file)
{
    return static_cast<qint16>(
        toInt(file.readString(dbtool::Section, dbtool::OdbcType, dbtool::OdbcTypeDefault, dbtool::WideWidth)));
}

void readFallbackStations(const ProfileFile &file)
{
    const int count = toInt(
        file.readString(dbtool::IpSetSection, dbtool::IpCount, QStringLiteral("0"), dbtool::WideWidth));
    StationRegistry &registry = stationRegistry();
    registry.clear();
    for (int n = 0; n < count; ++n) {
        RegistryEntry entry;
        entry.station.ip = file.readString(dbtool::IpDataSection, dbtool::IpInfo.arg(n), dbtool::ServerIpDefault,
                                           dbtool::FallbackWidth);
        if (!registry.add(entry))
            break;  // the registry's capacity bounds a hand-edited NUM
    }
}

}  // namespace

QString &ProgramVersion()
{
    static QString version;
    return version;
}

QString &ConfigFilePath()
{
    static QString path;
    return path;
}

QString &PortId()
{
    static QString port = dbtool::PortIdDefault;
    return port;
}

LocalIpList &localIpList()
{
    static LocalIpList list;
    return list;
}

QString hostEntryPath(int entry)
{
    return databaseEntryField(entry, 0);
}

QString configFilePathFromHost()
{
    return joinPath(hostEntryPath(hostEntry::ProgramDir), QStringLiteral("dbtool.ini"));
}

bool writeVersionFile(const QString &path, const QString &version)
{
    if (path.isEmpty())
        return false;
    ProfileFile file(path);
    const QString section = QStringLiteral("VERSIONINFO");
    return file.writeString(section, QStringLiteral("VERSION"), version)
           && file.writeString(section, QStringLiteral("DESCRIPT"), QStringLiteral("数据库测试工具文件"))
           && file.save();
}

void RegisterProgramVersion()
{
    ProgramVersion() = versionText(joinPath(hostEntryPath(hostEntry::ProgramDir), kExecutableName));
    writeVersionFile(hostEntryPath(hostEntry::SystemIndexFile), ProgramVersion());
    AddLog(QStringLiteral("版本:%1").arg(ProgramVersion()), true);
}

void ReadConfig()
{
    ConfigFilePath() = configFilePathFromHost();
    const ProfileFile file(ConfigFilePath());
    DBODBCTYPE = odbcTypeFrom(file);

    LocalIpList &local = localIpList();
    // A missing host library answers -1000 with an empty list: nothing to report then.
    if (hostLib().getHostIP(local) > 0 && !local.addresses.isEmpty())
        AddLog(QStringLiteral("本机首选IP:%1,名称:%2,IP个数:%3")
                   .arg(local.addresses.first(), local.computerName, QString::number(local.addresses.size())),
               true);

    const QString serverIp = file.readString(dbtool::Section, dbtool::ServerIp, dbtool::ServerIpDefault,
                                             dbtool::AddressWidth);
    const QString portId = file.readString(dbtool::Section, dbtool::PortId, dbtool::PortIdDefault,
                                           dbtool::AddressWidth);
    PortId() = portId;
    if (!local.addresses.contains(serverIp)) {
        AddLog(QStringLiteral("错误IP:%1").arg(serverIp), false);
        AddLog(QStringLiteral("系统设置IP有误,在本机所有IP中无法查询到,请重新设置!!"), false);
        return;
    }
    AddLog(QStringLiteral("本系统使用的IP:%1 端口号:%2").arg(serverIp, portId), true);
    StationRecord &station = localStation();
    station.ip = serverIp;
    station.port = portId;
    station.kind = 1;
    readFallbackStations(file);
}

SystemConfig readSystemConfig()
{
    const ProfileFile file(configFilePathFromHost());
    return {odbcTypeFrom(file),
            file.readString(dbtool::Section, dbtool::ServerIp, dbtool::ServerIpDefault, dbtool::AddressWidth),
            file.readString(dbtool::Section, dbtool::PortId, dbtool::PortIdDefault, dbtool::AddressWidth)};
}

bool saveSystemConfig(const SystemConfig &config, QString &error)
{
    const QString path = configFilePathFromHost();
    if (hostEntryPath(hostEntry::ProgramDir).isEmpty()) {
        error = QStringLiteral("主机配置中没有程序目录,无法保存dbtool.ini");
        return false;
    }
    ProfileFile file(path);
    const QString odbcType = config.odbcType == 1 ? QStringLiteral("1") : QStringLiteral("0");
    if (!file.writeString(dbtool::Section, dbtool::OdbcType, odbcType)
        || !file.writeString(dbtool::Section, dbtool::ServerIp, config.serverIp)
        || !file.writeString(dbtool::Section, dbtool::PortId, config.portId) || !file.save()) {
        error = file.lastError();
        return false;
    }
    DBODBCTYPE = odbcType.toInt();
    return true;
}

}  // namespace dbkeel
