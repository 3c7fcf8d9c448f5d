#include "core/Database.h"

#include "core/AppState.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "platform/Gbk.h"

#include <QFileInfo>

#include <odbcinst.h>

#include <atomic>
#include <mutex>

namespace dbkeel {

Q_LOGGING_CATEGORY(dbTrace, "dbkeel.db", QtInfoMsg)

namespace {

std::mutex openMutex;     // one OpenDb at a time: the watchdog and the window may both call it
std::mutex connectMutex;  // guards lastConnectString
QString lastConnectString;

void setConnectString(const QString &text)
{
    std::lock_guard lock(connectMutex);
    lastConnectString = text;
}

QString dataSourceAttribute(const QString &dataSource, const char *key)
{
    char value[1024] = {};
    const QByteArray section = dataSource.toUtf8();
    SQLGetPrivateProfileString(section.constData(), key, "", value, sizeof value, "odbc.ini");
    return QString::fromUtf8(value);
}

}  // namespace

QString dataSourceDatabaseFile(const QString &dataSource)
{
    if (dataSource.isEmpty())
        return {};
    if (!dataSourceAttribute(dataSource, "Driver").contains(QLatin1String("sqlite"), Qt::CaseInsensitive))
        return {};
    return dataSourceAttribute(dataSource, "Database");
}

QString databaseEntryField(int entry, int index, int maxBytes)
{
    QByteArray field;
    if (hostLib().getField(hostConfig().entry(entry), field, index) <= 0)
        return {};
    return fromGbk(cutGbkBytes(field, maxBytes));
}

DbCredentials databaseCredentials(int type)
{
    if (type != 0 && type != 1)
        return {};
    return {databaseEntryField(type, 0, 59), databaseEntryField(type, 5, 255), databaseEntryField(type, 6, 255)};
}

QString connectStringFor(const DbCredentials &credentials)
{
    const QString text = QStringLiteral("DSN=%1;UID=%2;PWD=%3;")
                             .arg(credentials.dataSource, credentials.user, credentials.password);
    // The embedded database's driver would otherwise create an empty database in place of a missing file.
    if (!dataSourceDatabaseFile(credentials.dataSource).isEmpty())
        return text + QStringLiteral("NoCreat=1;");
    return text;
}

QString connectString()
{
    std::lock_guard lock(connectMutex);
    return lastConnectString;
}

namespace {

std::atomic<quint64> sharedConnectionOpenCount{0};

}  // namespace

quint64 sharedConnectionOpens()
{
    return sharedConnectionOpenCount.load();
}

int OpenDb(QString &error)
{
    std::lock_guard lock(openMutex);
    const DbCredentials credentials = databaseCredentials(DBODBCTYPE);
    const QString text = connectStringFor(credentials);
    setConnectString(text);
    if (sharedDb().isOpen()) {
        qCDebug(dbTrace) << "OpenDb Succeed!";
        return 1;
    }
    if (credentials.dataSource.isEmpty()) {
        // The driver manager would connect an empty name to a default data source.
        error = QStringLiteral("数据库连接失败: 主机配置中没有数据源名称");
        DbReady = 0;
        return 0;
    }
    const QString databaseFile = dataSourceDatabaseFile(credentials.dataSource);
    if (!databaseFile.isEmpty() && !QFileInfo(databaseFile).isFile()) {
        error = QStringLiteral("数据库连接失败: 数据库文件不存在 (%1)").arg(databaseFile);
        DbReady = 0;
        return 0;
    }
    try {
        sharedDb().open(text, kLoginTimeoutSeconds);
        ++sharedConnectionOpenCount;
        qCDebug(dbTrace) << "OpenDb Succeed!";
        return 1;
    } catch (const DbError &failure) {
        qCDebug(dbTrace) << "OpenDb Fail!";
        error = failure.text();
        DbReady = 0;
        return 0;
    }
}

void CloseDb()
{
    if (!sharedDb().isOpen())
        return;
    sharedDb().close();
    qCDebug(dbTrace) << "CloseDb Succeed!";
}

}  // namespace dbkeel
