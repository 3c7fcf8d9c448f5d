#include "core/AppConfig.h"
#include "core/StationRegistry.h"
#include "platform/Gbk.h"
#include "platform/Profile.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TestSupport.h"

#include <QFile>

namespace dbkeel::test {
namespace {

class ReadConfigTest : public StartupFixture {
protected:
    QString dbtoolIni() const { return programFolder() + QStringLiteral("/dbtool.ini"); }
    void writeDbtool(const QString &lines) { writeFileBytes(dbtoolIni(), toGbk(lines)); }
    void SetUp() override
    {
        StartupFixture::SetUp();
        QFile::remove(dbtoolIni());
        localStation() = StationRecord();
        stationRegistry().clear();
    }
};

TEST_F(ReadConfigTest, LocalAddressTakesTheConsoleRecordAndTheFallbackList)
{
    writeDbtool(QStringLiteral("[DATABASETOOL]\r\nDBODBCTYPE=1\r\nSERVERIP=127.0.0.1\r\nPORTID=15001\r\n"
                               "[IPSET]\r\nNUM=2\r\n[IPDATA]\r\nIPINFO0=10.0.0.5\r\n"));
    ReadConfig();
    EXPECT_EQ(ConfigFilePath(), dbtoolIni());
    EXPECT_EQ(DBODBCTYPE, 1);
    ASSERT_EQ(log.size(), 2);
    EXPECT_TRUE(log[0].plain);
    EXPECT_TRUE(log[0].text.startsWith(QStringLiteral("本机首选IP:%1,名称:").arg(localIpList().addresses.first())));
    EXPECT_TRUE(log[0].text.endsWith(QStringLiteral(",IP个数:%1").arg(localIpList().addresses.size())));
    EXPECT_EQ(log[1], (LogEntry{QStringLiteral("本系统使用的IP:127.0.0.1 端口号:15001"), true}));

    EXPECT_EQ(localStation().ip, QStringLiteral("127.0.0.1"));
    EXPECT_EQ(localStation().port, QStringLiteral("15001"));
    EXPECT_EQ(localStation().kind, 1);
    ASSERT_EQ(stationRegistry().count(), 2);
    EXPECT_EQ(stationRegistry().entry(0).station.ip, QStringLiteral("10.0.0.5"));
    EXPECT_EQ(stationRegistry().entry(1).station.ip, QStringLiteral("127.0.0.1"));  // missing key: the default
    EXPECT_EQ(stationRegistry().entry(1).station.port, QStringLiteral("15000"));    // ports keep the default
}

TEST_F(ReadConfigTest, ForeignAddressStopsWithTwoStarredLines)
{
    writeDbtool(QStringLiteral("[DATABASETOOL]\r\nSERVERIP=192.0.2.77\r\nPORTID=16000\r\n"
                               "[IPSET]\r\nNUM=3\r\n"));
    RegistryEntry earlier;
    earlier.station.ip = QStringLiteral("10.9.9.9");
    stationRegistry().add(earlier);
    ReadConfig();
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log[1], (LogEntry{QStringLiteral("错误IP:192.0.2.77"), false}));
    EXPECT_EQ(log[2], (LogEntry{QStringLiteral("系统设置IP有误,在本机所有IP中无法查询到,请重新设置!!"), false}));
    EXPECT_EQ(localStation().port, QStringLiteral("15000"));
    EXPECT_EQ(PortId(), QStringLiteral("16000"));  // the network still opens on PORTID
    EXPECT_EQ(localStation().kind, 0);
    ASSERT_EQ(stationRegistry().count(), 1);  // the fallback list is not read
}

TEST_F(ReadConfigTest, MissingFileGivesTheDefaults)
{
    ReadConfig();
    EXPECT_EQ(DBODBCTYPE, 0);
    EXPECT_EQ(log.last(), (LogEntry{QStringLiteral("本系统使用的IP:127.0.0.1 端口号:15000"), true}));
    EXPECT_EQ(stationRegistry().count(), 0);
}

TEST_F(ReadConfigTest, HandEditedCountBeyondTheRegistryIsBounded)
{
    writeDbtool(QStringLiteral("[IPSET]\r\nNUM=100000\r\n"));
    ReadConfig();
    EXPECT_EQ(stationRegistry().count(), StationRegistry::kCapacity);
}

TEST_F(ReadConfigTest, SystemConfigSavesKeepingTheRestOfTheFile)
{
    writeDbtool(QStringLiteral("; kept\r\n[DATABASETOOL]\r\nPORTID=15001\r\n[IPSET]\r\nNUM=1\r\n"));
    QString error;
    ASSERT_TRUE(saveSystemConfig({1, QStringLiteral("10.1.1.1"), QStringLiteral("16000")}, error))
        << error.toStdString();
    EXPECT_EQ(DBODBCTYPE, 1);
    const SystemConfig read = readSystemConfig();
    EXPECT_EQ(read.odbcType, 1);
    EXPECT_EQ(read.serverIp, QStringLiteral("10.1.1.1"));
    EXPECT_EQ(read.portId, QStringLiteral("16000"));
    EXPECT_EQ(fromGbk(readFileBytes(dbtoolIni())),
              QStringLiteral("; kept\r\n[DATABASETOOL]\r\nPORTID=16000\r\nDBODBCTYPE=1\r\nSERVERIP=10.1.1.1\r\n"
                             "[IPSET]\r\nNUM=1\r\n"));
}

TEST_F(ReadConfigTest, SystemConfigReportsAFolderItCannotWrite)
{
    setHostEntries({{2, demoFolder() + QStringLiteral("/no/such/folder")}});
    DBODBCTYPE = 0;
    QString error;
    EXPECT_FALSE(saveSystemConfig({1, QStringLiteral("10.1.1.1"), QStringLiteral("16000")}, error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(DBODBCTYPE, 0);
    setHostEntries({{2, programFolder()}});
}

TEST_F(ReadConfigTest, VersionFileAndLogLine)
{
    const QString versionFile = demoFolder() + QStringLiteral("/config/SystemIndex.ini");
    writeFileBytes(versionFile, toGbk(QStringLiteral("[VERSIONINFO]\r\nVERSION=old\r\n[OTHER]\r\nA=1\r\n")));
    RegisterProgramVersion();  // the program directory holds no program: the running program's version
    const QString version = QStringLiteral(DBKEEL_VERSION);
    EXPECT_EQ(log.last(), (LogEntry{QStringLiteral("版本:") + version, true}));
    EXPECT_EQ(fromGbk(readFileBytes(versionFile)),
              QStringLiteral("[VERSIONINFO]\r\nVERSION=%1\r\nDESCRIPT=数据库测试工具文件\r\n[OTHER]\r\nA=1\r\n")
                  .arg(version));
    ASSERT_TRUE(writeVersionFile(versionFile, QStringLiteral("1.2.3")));
    EXPECT_EQ(readProfileString(versionFile, QStringLiteral("VERSIONINFO"), QStringLiteral("VERSION"), {}, 100),
              QStringLiteral("1.2.3"));
}

}  // namespace
}  // namespace dbkeel::test
