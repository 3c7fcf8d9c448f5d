#include "core/Database.h"

#include "core/AppState.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "core/SqlValue.h"
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

QString odbcValue(const QString &value)
{
    if (!value.contains(u';') && !value.contains(u'}') && !value.startsWith(u'{'))
        return value;
    return u'{' + QString(value).replace(u'}', QLatin1String("}}")) + u'}';
}

QString connectStringFor(const DbCredentials &credentials)
{
    const QString dsn = QStringLiteral("DSN=%1;").arg(odbcValue(credentials.dataSource));
    if (dataSourceDatabaseFile(credentials.dataSource).isEmpty())
        return dsn + QStringLiteral("UID=%1;PWD=%2;").arg(odbcValue(credentials.user), odbcValue(credentials.password));
    // The embedded database's driver knows no braces and no users: a user or password that would need
    // them is left out, as "x;Database=other.db" would choose another file. NoCreat=1: a missing
    // database file is never created in place of the real one.
    QString text = dsn;
    for (const auto &[key, value] : {std::pair{"UID", credentials.user}, std::pair{"PWD", credentials.password}})
        if (odbcValue(value) == value)
            text += QStringLiteral("%1=%2;").arg(QLatin1String(key), value);
    return text + QStringLiteral("NoCreat=1;");
}

QString connectString()
{
    std::lock_guard lock(connectMutex);
    return lastConnectString;
}

TextRoundTrip chineseRoundTrip(SharedDb &db)
{
    TextRoundTrip trip{QStringLiteral("机动车安全技术检验"), {}, {}};
    trip.plainBack = trip.nationalBack = trip.sent;
    if (db.dialect() != Dialect::SqlServer)
        return trip;
    const QString literal = sqlText(trip.sent);
    SqlCursor cursor = db.query(QStringLiteral("select %1 , N%1").arg(literal));
    if (!cursor.next())
        throw DbError(QStringLiteral("[Dbkeel]the text check returned no row"));
    trip.plainBack = cursor.text(0);
    trip.nationalBack = cursor.text(1);
    return trip;
}

QString roundTripAdvice(const TextRoundTrip &trip, const QString &dataSource)
{
    QStringList fixes;
    if (!trip.nationalEqual())
        fixes << QStringLiteral("在 odbc.ini 的数据源[%1]中设置 ClientCharset = UTF-8 (FreeTDS)").arg(dataSource);
    if (!trip.plainEqual())
        fixes << QStringLiteral("把数据库的排序规则(collation)设为中文(如 Chinese_PRC_CI_AS)");
    return fixes.isEmpty() ? QString() : QStringLiteral("请") + fixes.join(QStringLiteral(",并"));
}

QString roundTripFault(const TextRoundTrip &trip, const QString &dataSource)
{
    if (trip.passed())
        return {};
    return QStringLiteral("数据库连接失败: 中文文本往返不一致('%1'读回为'%2', N'%1'读回为'%3')。%4。")
        .arg(trip.sent, trip.plainBack, trip.nationalBack, roundTripAdvice(trip, dataSource));
}

namespace {

// A reason not to connect that shows before the driver is asked; empty when there is none.
QString refusalBeforeConnect(const DbCredentials &credentials)
{
    if (credentials.dataSource.isEmpty())  // the driver manager would connect to a default data source
        return QStringLiteral("数据库连接失败: 主机配置中没有数据源名称");
    const QString databaseFile = dataSourceDatabaseFile(credentials.dataSource);
    if (databaseFile.isEmpty())
        return {};
    if (odbcValue(credentials.dataSource) != credentials.dataSource)
        return QStringLiteral("数据库连接失败: 嵌入式数据库的驱动程序读不了含有 ; 或 } 的数据源名称 (%1)")
            .arg(credentials.dataSource);
    if (!QFileInfo(databaseFile).isFile())
        return QStringLiteral("数据库连接失败: 数据库文件不存在 (%1)").arg(databaseFile);
    return {};
}

std::atomic<quint64> sharedConnectionOpenCount{0};

}  // namespace

quint64 sharedConnectionOpens()
{
    return sharedConnectionOpenCount.load();
}

int OpenDb(QString &error, TextCheck check)
{
    std::lock_guard lock(openMutex);
    const DbCredentials credentials = databaseCredentials(DBODBCTYPE);
    const QString text = connectStringFor(credentials);
    setConnectString(text);
    if (sharedDb().isOpen()) {
        qCDebug(dbTrace) << "OpenDb Succeed!";
        return 1;
    }
    const QString refusal = refusalBeforeConnect(credentials);
    if (!refusal.isEmpty()) {
        error = refusal;
        DbReady = 0;
        return 0;
    }
    try {
        sharedDb().open(text, kLoginTimeoutSeconds);
        const QString fault = check == TextCheck::Refuse
                                  ? roundTripFault(chineseRoundTrip(sharedDb()), credentials.dataSource)
                                  : QString();
        if (!fault.isEmpty())
            throw DbError(fault);
        ++sharedConnectionOpenCount;
        qCDebug(dbTrace) << "OpenDb Succeed!" << credentials.dataSource << sharedDb().serverVersion();
        return 1;
    } catch (const DbError &failure) {
        qCDebug(dbTrace) << "OpenDb Fail!";
        sharedDb().close();
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
