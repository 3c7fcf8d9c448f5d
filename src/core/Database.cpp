#include "core/Database.h"

#include "core/AppState.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "platform/Gbk.h"

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

}  // namespace

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
    return QStringLiteral("DSN=%1;UID=%2;PWD=%3;").arg(credentials.dataSource, credentials.user, credentials.password);
}

QString connectString()
{
    std::lock_guard lock(connectMutex);
    return lastConnectString;
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
    try {
        sharedDb().open(text, kLoginTimeoutSeconds);
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
