// The index file build on a real database through the driver: the file's sections, keys and values
// as the inspection programs read them, the user file byte by byte, and the installation's files kept
// whenever a part fails.

#include "tests/indexfiles/IndexFixture.h"
#include "tests/support/SmallDisk.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace dbkeel::test {
namespace {

using IndexBuild = IndexFixture;

const QByteArray kOldIndex = "[VERSIONINFO]\r\nVERSION=old\r\n[OLD]\r\nkept=1\r\n";
const QByteArray kOldUsers = "old users";

TEST_F(IndexBuild, SmallInstallationGivesEveryKeyInFirstWriteOrder)
{
    loadSmallInstallation();
    run(QStringLiteral("insert into tb_user (UserName, TrueName, Password, UserType, UserWrokID) "
                       "values ('admin', '系统管理员', 'admin', 0, '0001')"));
    writeFileBytes(targets.indexFile, kOldIndex);
    QStringList started;
    IndexBuildCallbacks callbacks;
    callbacks.partStarting = [&started](int number, const QString &text) {
        started << QStringLiteral("%1 %2").arg(QString::number(number), text);
    };

    const IndexBuildResult result = build(callbacks);

    ASSERT_TRUE(result.succeeded()) << result.failedParts().join(u',').toStdString() << result.fileError.toStdString();
    EXPECT_TRUE(result.replaced);
    expectSameLines(gbkLines(targets.indexFile), fixtureLines(QStringLiteral("small-index.ini"), hostVersion()));
    EXPECT_EQ(readFileBytes(targets.indexTemp()), readFileBytes(targets.indexFile));  // the temporary stays
    EXPECT_EQ(readFileBytes(targets.userTemp()), readFileBytes(targets.userFile()));
    EXPECT_EQ(started.first(), QStringLiteral("1 正在创建SubID..."));
    EXPECT_EQ(started.last(), QStringLiteral("13 正在创建UserID..."));
    EXPECT_EQ(started.size(), kIndexPartCount);
}

// The bytes of one user record as the inspection programs read them.
void putUser(QByteArray &file, int n, const char *name, const char *trueName, qint32 type, const char *date,
             const char *workId, const char *password)
{
    char *record = file.data() + 4 + n * 1016;
    const auto put = [record](int offset, const char *text) {
        const QByteArray gbk = toGbk(QString::fromUtf8(text));
        memcpy(record + offset, gbk.constData(), size_t(gbk.size()));
    };
    put(0, name);
    put(100, trueName);
    qToLittleEndian(type, record + 200);
    put(716, date);
    put(816, workId);
    put(916, password);
}

TEST_F(IndexBuild, UserFileHoldsEveryUserAtItsOffsets)
{
    struct Case {
        QString rows;  // values of tb_user (UserName, TrueName, Password, UserType, UserWrokID, InsertDate)
        int count;
    };
    const QString longName = QString(60, QChar(0x5f20));  // 120 GBK bytes: cut to 49 characters
    const Case cases[] = {
        {QString(), 0},
        {QStringLiteral("('admin', '系统管理员', 'admin', 0, '0001', '2026-12-01 08:30:00'), "
                        "('zhangwei', '%1', '12''34', -3, '0102', '2026-12-02')")
             .arg(longName),
         2},
    };
    for (const Case &c : cases) {
        run(QStringLiteral("delete from tb_user"));
        if (!c.rows.isEmpty())
            run(QStringLiteral("insert into tb_user (UserName, TrueName, Password, UserType, UserWrokID, InsertDate) "
                               "values ")
                + c.rows);
        ASSERT_TRUE(build().succeeded());

        QByteArray expected(203204, '\0');
        qToLittleEndian<qint32>(c.count, expected.data());
        if (c.count == 2) {
            putUser(expected, 0, "admin", "系统管理员", 0, "2026-12-01 08:30:00", "0001", "admin");
            putUser(expected, 1, "zhangwei", longName.left(49).toUtf8().constData(), -3, "2026-12-02", "0102", "12'34");
        }
        EXPECT_EQ(readFileBytes(targets.userFile()), expected) << c.count << " users";
    }
}

TEST_F(IndexBuild, MoreThanTwoHundredUsersKeepTheFirstAndSaySo)
{
    run(QStringLiteral("insert into tb_user (UserName, UserType) "
                       "with recursive n(i) as (select 1 union all select i + 1 from n where i < 203) "
                       "select 'user' || i, i from n"));
    const IndexBuildResult result = build();
    ASSERT_TRUE(result.succeeded());
    const QByteArray file = readFileBytes(targets.userFile());
    ASSERT_EQ(file.size(), 203204);
    EXPECT_EQ(qFromLittleEndian<qint32>(file.constData()), 200);
    EXPECT_EQ(QByteArray(file.constData() + 4 + 199 * 1016), QByteArray("user200"));
    EXPECT_TRUE(result.parts.last().remark.contains(QStringLiteral("另外3个用户未写入")))
        << result.parts.last().remark.toStdString();
}

// A part that fails leaves the installation's files as they were and the temporary files for
// inspection; the other parts still run.
TEST_F(IndexBuild, FailedPartKeepsTheOldFiles)
{
    struct Case {
        const char *damage;
        QStringList failed;
        QStringList messages;  // the message box texts of the failed parts, by their start ("": trace only)
        const char *tempHas;   // a line the temporary index file holds despite the failure
        const char *tempLacks;
    };
    const Case cases[] = {
        {"drop table tb_id_outline", {QStringLiteral("OutLineID")}, {QStringLiteral("[SQLite]")}, "NUMB6=1", "NUMB5="},
        {"drop table tb_id_item",
         {QStringLiteral("ParamID2ItemID")},
         {QStringLiteral("ItemId [SQLite]")},
         "ParamID2Numb=0",
         "5000=200"},
        {"drop table tb_login_ini",
         {QStringLiteral("SubID"), QStringLiteral("MainID")},
         {QStringLiteral("SbuID [SQLite]"), QString()},
         "NUMB3=2",
         "NUMB4="},
        {"drop table tb_line_info",
         {QStringLiteral("LineID"), QStringLiteral("LineStationID")},
         {QStringLiteral("LineID [SQLite]"), QString()},
         "205=",
         "[IPINFO]"},
        {"drop table tb_user", {QStringLiteral("UserID")}, {QString()}, "[TRANSINFO]", "VERSION=old"},
        {"update tb_login_ini set infovalue_about = '[临时]' where infosubid = 10120001",
         {QStringLiteral("SubID")},
         {QStringLiteral("SbuID [INDEX] [临时]_1012")},
         "10120001=[临时]",
         "NUMB4="},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.damage);
        TearDown();
        QFile::remove(dir.filePath(QStringLiteral("test.db")));
        SetUp();
        loadSmallInstallation();
        run(QString::fromUtf8(c.damage));
        writeFileBytes(targets.indexFile, kOldIndex);
        writeFileBytes(targets.userFile(), kOldUsers);
        QFile::remove(targets.userTemp());

        const IndexBuildResult result = build();

        EXPECT_EQ(result.failedParts(), c.failed);
        EXPECT_FALSE(result.replaced);
        for (const PartOutcome &part : result.parts) {
            const qsizetype failed = c.failed.indexOf(part.name);
            if (failed < 0)
                continue;
            EXPECT_EQ(part.result, PartResult::Failed) << part.name.toStdString();
            const QString message = c.messages.at(failed);
            EXPECT_TRUE(message.isEmpty() ? part.message.isEmpty() : part.message.startsWith(message))
                << part.name.toStdString() << ": " << part.message.toStdString();
            EXPECT_FALSE(part.error.isEmpty());
        }
        EXPECT_EQ(readFileBytes(targets.indexFile), kOldIndex);
        EXPECT_EQ(readFileBytes(targets.userFile()), kOldUsers);
        const QStringList temporary = gbkLines(targets.indexTemp());
        EXPECT_TRUE(temporary.contains(QString::fromUtf8(c.tempHas))) << c.tempHas;
        EXPECT_FALSE(temporary.join(u'\n').contains(QString::fromUtf8(c.tempLacks))) << c.tempLacks;
        EXPECT_EQ(QFile::exists(targets.userTemp()), !c.failed.contains(QStringLiteral("UserID")));
    }
}

// A disk without room for the new files replaces neither of the installation's files and gives the
// system's reason: first with no room for the temporary index file, then with room for the temporary
// files and the new index file but not for the new user file.
TEST_F(IndexBuild, FullDiskReplacesNothing)
{
    loadSmallInstallation();
    ASSERT_TRUE(build().succeeded());
    constexpr qint64 kPage = 4096;
    const auto pages = [](const QString &path) { return (QFileInfo(path).size() + kPage - 1) / kPage * kPage; };
    const qint64 index = pages(targets.indexFile), users = pages(targets.userFile());
    ASSERT_GT(QFileInfo(targets.indexFile).size(), 2 * kOldIndex.size());

    for (const qint64 room : {3 * kPage, 2 * kPage + 2 * index + users + users - kPage}) {
        SmallDisk disk(room);
        if (room > 3 * kPage && !disk.mounted())
            GTEST_SKIP() << "a file size limit cannot leave room for one copy and not the other";
        targets = {disk.filePath(QStringLiteral("SystemIndex.ini")), disk.path()};
        writeFileBytes(targets.indexFile, kOldIndex);
        writeFileBytes(targets.userFile(), kOldUsers);

        const IndexBuildResult result = build();

        SCOPED_TRACE(result.fileError.toStdString());
        EXPECT_FALSE(result.succeeded());
        EXPECT_FALSE(result.replaced);
        EXPECT_TRUE(result.fileError.contains(disk.fullReason()));
        EXPECT_EQ(readFileBytes(targets.indexFile), kOldIndex);
        EXPECT_EQ(readFileBytes(targets.userFile()), kOldUsers);
        for (const QString &name : disk.entries())
            EXPECT_FALSE(name.endsWith(QStringLiteral(".part"))) << name.toStdString();
    }
}

TEST_F(IndexBuild, NoConnectionKeepsTheOldFiles)
{
    writeFileBytes(targets.indexFile, kOldIndex);
    writeFileBytes(targets.userFile(), kOldUsers);
    const IndexBuildResult result = buildIndexFiles(targets, QStringLiteral("DRIVER=NoSuchDriver;Database=x;"));
    ASSERT_EQ(result.parts.size(), kIndexPartCount);
    for (const PartOutcome &part : result.parts) {
        EXPECT_EQ(part.result, PartResult::NoConnection) << part.name.toStdString();
        EXPECT_TRUE(part.message.isEmpty());  // a part without a connection says nothing
    }
    EXPECT_EQ(result.failedParts().size(), kIndexPartCount);
    EXPECT_EQ(readFileBytes(targets.indexFile), kOldIndex);
    EXPECT_EQ(readFileBytes(targets.userFile()), kOldUsers);
    EXPECT_EQ(gbkLines(targets.indexTemp()),
              QStringList({QStringLiteral("[VERSIONINFO]"), QStringLiteral("VERSION=") + hostVersion(),
                           QStringLiteral("DESCRIPT=StationCtl")}));
    EXPECT_FALSE(QFile::exists(targets.userTemp()));
}

TEST_F(IndexBuild, DatabaseGoneMidBuildKeepsTheOldFiles)
{
    loadSmallInstallation();
    sharedDb().close();
    writeFileBytes(targets.indexFile, kOldIndex);
    IndexBuildCallbacks callbacks;
    callbacks.partStarting = [this](int number, const QString &) {
        if (number == 10) {
            ASSERT_TRUE(QFile::remove(dir.filePath(QStringLiteral("test.db"))));
        }
    };
    const IndexBuildResult result = build(callbacks);
    EXPECT_EQ(result.failedParts(), QStringList({QStringLiteral("LineID"), QStringLiteral("LineStationID"),
                                                 QStringLiteral("MainID"), QStringLiteral("UserID")}));
    EXPECT_EQ(readFileBytes(targets.indexFile), kOldIndex);
    EXPECT_TRUE(gbkLines(targets.indexTemp()).contains(QStringLiteral("205=")));
}

TEST_F(IndexBuild, MissingPathsDoNotStart)
{
    for (const IndexFileTargets &missing :
         {IndexFileTargets{QString(), targets.configDir}, IndexFileTargets{targets.indexFile, QString()}}) {
        const IndexBuildResult result = buildIndexFiles(missing, connectString());
        EXPECT_FALSE(result.startError.isEmpty());
        EXPECT_TRUE(result.parts.isEmpty());
    }
    const IndexBuildResult result = buildIndexFiles({dir.filePath(QStringLiteral("no/such/folder/Index.ini")),
                                                     targets.configDir},
                                                    connectString());
    EXPECT_FALSE(result.startError.isEmpty());
    EXPECT_TRUE(result.parts.isEmpty());
}

}  // namespace
}  // namespace dbkeel::test
