// Version texts, the log and the local address list, through the loaded library.

#include "platform/Gbk.h"
#include "tests/support/HostTestSystem.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QRegularExpression>
#include <QSysInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <thread>
#include <vector>

using namespace dbkeel;
using dbkeel::test::loadedHostLib;

namespace {

struct Version {
    int result = 0;
    QByteArray version, name, description;
};

Version versionOf(const QString &file)
{
    Version v;
    v.result = loadedHostLib().getVers(QFile::encodeName(file), v.version, v.name, v.description);
    return v;
}

// The marker assembled here so that this program holds exactly one stamp, its own.
QByteArray marker()
{
    return QByteArray("@@DBKEEL") + "-VERSION@@" + '\0';
}
QByteArray stampEnd()
{
    return QByteArray("@@END") + "@@";
}

TEST(VersionTest, ReadsTheStampOfAProgram)
{
    const Version v = versionOf(test::buildBinDir() + QStringLiteral("/test_hostcfg"));
    EXPECT_EQ(v.result, 1);
    EXPECT_EQ(v.version, "0.9.7");  // a leading 0 must not join the NUL before it
    EXPECT_EQ(v.name, toGbk(QStringLiteral("版本测试")));
    EXPECT_EQ(v.description, toGbk(QStringLiteral("主机库测试程序")));
}

TEST(VersionTest, EmptyNameGivesTheLibrarysOwnTexts)
{
    const Version own = versionOf(QString());
    const Version file = versionOf(test::hostSystemDir() + QStringLiteral("/libHostCfg.so"));
    EXPECT_EQ(own.result, 1);
    EXPECT_EQ(own.name, "HostCfg");
    EXPECT_EQ(own.version, DBKEEL_PROJECT_VERSION);
    EXPECT_EQ(own.description, toGbk(QStringLiteral("Dbkeel 主机库")));
    EXPECT_EQ(file.result, 1);
    EXPECT_EQ(file.version, own.version);
    EXPECT_EQ(file.name, own.name);
    EXPECT_EQ(file.description, own.description);
}

struct StampFileCase {
    const char *name;
    QByteArray content;
    bool found;
    QByteArray version;
};

class StampFileTest : public testing::TestWithParam<StampFileCase> {};

TEST_P(StampFileTest, FindsOnlyAWholeStamp)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("binary"));
    test::writeFileBytes(path, GetParam().content);
    const Version v = versionOf(path);
    if (GetParam().found) {
        EXPECT_EQ(v.result, 1);
    } else {
        EXPECT_LE(v.result, 0);
    }
    EXPECT_EQ(v.version, GetParam().version);
}

QByteArray stamp(const QByteArray &name, const QByteArray &version, const QByteArray &description)
{
    return marker() + name + '\0' + version + '\0' + description + '\0' + stampEnd();
}

INSTANTIATE_TEST_SUITE_P(
    Files, StampFileTest,
    testing::Values(
        StampFileCase{"noStamp", QByteArray(100000, '\x7f'), false, ""}, StampFileCase{"empty", "", false, ""},
        StampFileCase{"inTheMiddle", QByteArray(70000, 'x') + stamp("n", "1.2", "d") + QByteArray(5, 'y'), true, "1.2"},
        StampFileCase{"atTheVeryEnd", QByteArray(10, 'x') + stamp("n", "3.4", "d"), true, "3.4"},
        StampFileCase{"markerAtTheEnd", QByteArray(10, 'x') + marker(), false, ""},
        StampFileCase{"withoutEndMarker",
                      marker()
                          + QByteArray("n\0"
                                       "1.0\0"
                                       "d\0",
                                       8)
                          + QByteArray(20, 'z'),
                      false, ""},
        StampFileCase{"brokenThenWhole", marker() + QByteArray("n\0junk", 6) + stamp("n", "5.6", "d"), true, "5.6"},
        StampFileCase{"utf8TextsBecomeGbk", stamp("n", "版本 2", "d"), true, toGbk(QStringLiteral("版本 2"))},
        StampFileCase{"longVersionIsCut", stamp("n", QByteArray(300, 'v'), "d"), true, QByteArray(255, 'v')}),
    [](const testing::TestParamInfo<StampFileCase> &test) { return test.param.name; });

TEST(VersionTest, MissingFileFails)
{
    const Version v = versionOf(test::hostSystemDir() + QStringLiteral("/no-such-file.exe"));
    EXPECT_LE(v.result, 0);
    EXPECT_TRUE(v.version.isEmpty());
}

QByteArray logContent()
{
    const QString path = test::hostSystemDir() + QStringLiteral("/log/HostCfg.log");
    return QFile::exists(path) ? test::readFileBytes(path) : QByteArray();
}

TEST(PostLogTest, AppendsDatedLines)
{
    const QByteArray before = logContent();
    EXPECT_EQ(loadedHostLib().postLog("Dbkeel"), 1);
    EXPECT_EQ(loadedHostLib().postLog(toGbk(QStringLiteral("加载配置管理工具失败"))), 1);
    EXPECT_EQ(loadedHostLib().postLog("two\r\nlines"), 1);

    const QByteArray content = logContent();
    ASSERT_TRUE(content.startsWith(before));
    const QList<QByteArray> lines = content.mid(before.size()).split('\n');
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[3].isEmpty());
    const QRegularExpression dated(QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d (.*)\r$"));
    const QStringList texts{QStringLiteral("Dbkeel"), QStringLiteral("加载配置管理工具失败"),
                            QStringLiteral("two  lines")};
    for (int i = 0; i < 3; ++i) {
        const auto match = dated.match(fromGbk(lines[i]));
        ASSERT_TRUE(match.hasMatch()) << lines[i].toStdString();
        EXPECT_EQ(match.captured(1), texts[i]);
    }
}

TEST(PostLogTest, LinesFromManyThreadsStayWhole)
{
    const qsizetype before = logContent().count('\n');
    std::vector<std::thread> writers;
    for (int t = 0; t < 4; ++t)
        writers.emplace_back([t] {
            for (int i = 0; i < 100; ++i)
                loadedHostLib().postLog(QByteArray("writer ") + QByteArray::number(t) + " line "
                                        + QByteArray::number(i));
        });
    for (std::thread &writer : writers)
        writer.join();

    const QList<QByteArray> lines = logContent().split('\n');
    const QRegularExpression whole(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d writer \\d line \\d+\r$"));
    int written = 0;
    for (const QByteArray &line : lines.mid(before))
        written += whole.match(QString::fromLatin1(line)).hasMatch() ? 1 : 0;
    EXPECT_EQ(written, 400);
}

TEST(GetHostIPTest, ListsLoopbackAndTheComputerName)
{
    LocalIpList list;
    const int count = loadedHostLib().getHostIP(list);
    EXPECT_GT(count, 0);
    EXPECT_EQ(count, list.addresses.size());
    EXPECT_TRUE(list.addresses.contains(QStringLiteral("127.0.0.1")));
    EXPECT_EQ(list.addresses.count(QStringLiteral("127.0.0.1")), 1);
    EXPECT_EQ(list.computerName, QSysInfo::machineHostName());
}

}  // namespace
