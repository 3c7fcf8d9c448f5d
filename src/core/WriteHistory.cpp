#include "core/WriteHistory.h"

#include "core/AppLog.h"
#include "core/Database.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "core/SqlDialect.h"
#include "core/SqlValue.h"
#include "platform/FileWrite.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Text.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStorageInfo>

#include <algorithm>

namespace dbkeel {

namespace {

const QString kSection = QStringLiteral("HISTORY");
const QString kSuffix = QStringLiteral(".json");
const QString kTimeFormat = QStringLiteral("yyyyMMdd-HHmmss-zzz");
constexpr qint64 kMegabyte = 1024 * 1024;
constexpr qint64 kFreeSpaceLeft = 64 * kMegabyte;  // a history entry never takes the disk's last space

// Table and column names come from the catalogue or from a history file: only plain names are used.
bool isPlainName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,127}$"));
    return plain.match(name).hasMatch();
}

QString fileNamePart(const QString &text)
{
    QString part = text;
    part.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    return part.isEmpty() ? QStringLiteral("_") : part;
}

QString accountName()
{
    const QString user = qEnvironmentVariable("USER", qEnvironmentVariable("USERNAME"));
    return user.isEmpty() ? QStringLiteral("unknown") : user;
}

// Every history file is written here, whole or not at all.
bool writeHistoryFile(const QString &path, const QByteArray &bytes, QString &error)
{
    error = writeFileWhole(path, bytes);
    return error.isEmpty();
}

// The table's rows; nothing for a table that does not exist (a write creates nothing it would replace).
std::optional<HistoryTable> readTable(SharedDb &db, const QString &table)
{
    if (!isPlainName(table))
        throw DbError(QStringLiteral("历史记录: 表名无效 %1").arg(table));
    if (!db.exists(tableExistsQuery(db.dialect(), table)))
        return std::nullopt;
    HistoryTable kept{table, {}, {}};
    SqlCursor cursor = db.query(QStringLiteral("select * from %1").arg(table));
    kept.columns = cursor.columnNames();
    while (cursor.next()) {
        QJsonArray row;
        for (int column = 0; column < kept.columns.size(); ++column)
            row.append(cursor.isNull(column) ? QJsonValue() : QJsonValue(cursor.text(column)));
        kept.rows.append(row);
    }
    return kept;
}

QJsonObject toJson(const HistoryEntry &entry)
{
    QJsonArray tables;
    for (const HistoryTable &table : entry.tables)
        tables.append(QJsonObject{{QStringLiteral("name"), table.name},
                                  {QStringLiteral("columns"), QJsonArray::fromStringList(table.columns)},
                                  {QStringLiteral("rows"), table.rows}});
    return {{QStringLiteral("time"), entry.time.toString(Qt::ISODateWithMs)},
            {QStringLiteral("user"), entry.user},
            {QStringLiteral("action"), entry.action},
            {QStringLiteral("version"), entry.version},
            {QStringLiteral("counts"), entry.rowCounts()},
            {QStringLiteral("tables"), tables}};
}

std::optional<HistoryEntry> fromJson(const QString &path, QString &error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QJsonParseError parse;
    const QJsonObject object = QJsonDocument::fromJson(file.readAll(), &parse).object();
    if (parse.error != QJsonParseError::NoError || !object.value(QStringLiteral("tables")).isArray()) {
        error = QStringLiteral("%1: 不是历史记录文件 (%2)").arg(path, parse.errorString());
        return std::nullopt;
    }
    HistoryEntry entry;
    entry.id = QFileInfo(path).completeBaseName();
    entry.path = path;
    entry.time = QDateTime::fromString(object.value(QStringLiteral("time")).toString(), Qt::ISODateWithMs);
    entry.user = object.value(QStringLiteral("user")).toString();
    entry.action = object.value(QStringLiteral("action")).toString();
    entry.version = object.value(QStringLiteral("version")).toString();
    for (const QJsonValue &value : object.value(QStringLiteral("tables")).toArray()) {
        const QJsonObject table = value.toObject();
        QStringList columns;
        for (const QJsonValue &column : table.value(QStringLiteral("columns")).toArray())
            columns << column.toString();
        entry.tables.append(
            {table.value(QStringLiteral("name")).toString(), columns, table.value(QStringLiteral("rows")).toArray()});
    }
    return entry;
}

QFileInfoList historyFiles(const QString &folder)
{
    return QDir(folder).entryInfoList({QLatin1Char('*') + kSuffix}, QDir::Files, QDir::Name);
}

// The oldest entries removed until the newest keepEntries within keepMegabytes remain (the newest always).
void pruneHistory(const HistorySettings &settings)
{
    QFileInfoList files = historyFiles(settings.resolvedFolder());
    qint64 total = 0;
    for (const QFileInfo &file : files)
        total += file.size();
    while (files.size() > 1
           && (files.size() > std::max(1, settings.keepEntries) || total > settings.keepMegabytes * kMegabyte)) {
        total -= files.first().size();
        QFile::remove(files.first().filePath());
        files.removeFirst();
    }
}

// The current time, moved on by a millisecond while an entry of the folder has it, so that the names sort
// in the order the entries were kept.
QDateTime freeEntryTime(const QString &folder)
{
    QDateTime time = QDateTime::currentDateTime();
    while (!QDir(folder).entryList({time.toString(kTimeFormat) + QStringLiteral("_*")}, QDir::Files).isEmpty())
        time = time.addMSecs(1);
    return time;
}

QString insertStatement(const HistoryTable &table, const QJsonArray &row)
{
    QStringList values;
    for (const QJsonValue &value : row)
        values << (value.isNull() ? QStringLiteral("NULL") : sqlText(value.toString()));
    return QStringLiteral("insert into %1(%2) values(%3)").arg(table.name, table.columns.join(u','), values.join(u','));
}

void checkRestorable(const HistoryTable &table)
{
    const bool plain = isPlainName(table.name) && std::all_of(table.columns.begin(), table.columns.end(), isPlainName);
    if (!plain || table.columns.isEmpty())
        throw DbError(QStringLiteral("历史记录中的表 %1 无法恢复: 表名或列名无效").arg(table.name));
    for (const QJsonValue &row : table.rows)
        if (row.toArray().size() != table.columns.size())
            throw DbError(QStringLiteral("历史记录中的表 %1 无法恢复: 行的列数不符").arg(table.name));
}

// SQL Server refuses values for an identity column unless the table allows them for the session.
void allowIdentityValues(SharedDb &db, const QString &table, bool allow)
{
    if (db.dialect() == Dialect::SqlServer)
        db.exec(QStringLiteral("IF OBJECTPROPERTY(OBJECT_ID(N'%1'), 'TableHasIdentity') = 1 SET IDENTITY_INSERT %1 %2")
                    .arg(table, allow ? QStringLiteral("ON") : QStringLiteral("OFF")));
}

QMutex watchesMutex;
QList<HistoryWatch *> watches;

}  // namespace

QString historyNote(const QString &path)
{
    return QStringLiteral("历史记录: %1").arg(QDir::toNativeSeparators(path));
}

HistoryWatch::HistoryWatch()
{
    QMutexLocker lock(&watchesMutex);
    watches.append(this);
}

HistoryWatch::~HistoryWatch()
{
    QMutexLocker lock(&watchesMutex);
    watches.removeOne(this);
}

QStringList HistoryWatch::keptPaths() const
{
    QMutexLocker lock(&m_mutex);
    return m_paths;
}

void HistoryWatch::heard(const QString &path)
{
    QMutexLocker lock(&m_mutex);
    m_paths.append(path);
}

QString HistorySettings::resolvedFolder() const
{
    if (!folder.isEmpty())
        return folder;
    const QString configDir = databaseEntryField(hostEntry::ConfigDir, 0);
    return joinPath(configDir.isEmpty() ? systemDirectory() : configDir, QStringLiteral("history"));
}

HistorySettings readHistorySettings(const QString &dbtoolIni)
{
    const ProfileFile file(dbtoolIni);
    HistorySettings settings;
    settings.enabled = file.readInt(kSection, QStringLiteral("ENABLED"), 1) != 0;
    settings.keepEntries = std::max(1,
                                    file.readInt(kSection, QStringLiteral("KEEP"), HistorySettings::kDefaultEntries));
    settings.keepMegabytes = std::max(1, file.readInt(kSection, QStringLiteral("MAXMB"),
                                                      HistorySettings::kDefaultMegabytes));
    settings.folder = file.readString(kSection, QStringLiteral("FOLDER"), QString(), 300);
    return settings;
}

HistorySettings &historySettings()
{
    static HistorySettings settings = readHistorySettings(
        joinPath(databaseEntryField(hostEntry::ProgramDir, 0), QStringLiteral("dbtool.ini")));
    return settings;
}

QStringList HistoryEntry::tableNames() const
{
    QStringList names;
    for (const HistoryTable &table : tables)
        names << table.name;
    return names;
}

QString HistoryEntry::rowCounts() const
{
    QStringList counts;
    for (const HistoryTable &table : tables)
        counts << QStringLiteral("%1 %2").arg(table.name, QString::number(table.rows.size()));
    return counts.join(QStringLiteral(", "));
}

QString keepHistory(SharedDb &db, const QString &action, const QStringList &tables)
{
    const HistorySettings settings = historySettings();
    if (!settings.enabled)
        return {};
    const QString folder = settings.resolvedFolder();
    QString error;
    if (!QDir().mkpath(folder))
        error = QStringLiteral("无法建立目录");
    HistoryEntry entry;
    entry.time = freeEntryTime(folder);
    entry.user = accountName();
    entry.action = action;
    entry.version = QStringLiteral(DBKEEL_VERSION);
    for (const QString &table : tables)
        if (std::optional<HistoryTable> kept = readTable(db, table))
            entry.tables.append(*kept);
    const QByteArray bytes = QJsonDocument(toJson(entry)).toJson(QJsonDocument::Compact);

    if (error.isEmpty() && QStorageInfo(folder).bytesAvailable() < bytes.size() + kFreeSpaceLeft)
        error = QStringLiteral("磁盘空间不足");
    const QString path = QDir(folder).filePath(
        QStringLiteral("%1_%2_%3%4")
            .arg(entry.time.toString(kTimeFormat), fileNamePart(action), fileNamePart(entry.user), kSuffix));
    if (error.isEmpty() && writeHistoryFile(path, bytes, error)) {
        pruneHistory(settings);
        AddLog(historyNote(path), true);
        QMutexLocker lock(&watchesMutex);
        for (HistoryWatch *watch : std::as_const(watches))
            watch->heard(path);
        return path;
    }
    const QString failure = QStringLiteral("历史记录无法写入%1: %2, 未作任何修改")
                                .arg(QDir::toNativeSeparators(path), error);
    AddLog(failure, false);
    throw DbError(failure);
}

bool keepHistory(SharedDb &db, const QString &action, const QStringList &tables, QString &error)
{
    try {
        keepHistory(db, action, tables);
        return true;
    } catch (const DbError &failure) {
        error = failure.text();
        return false;
    }
}

QList<HistoryEntry> historyEntries()
{
    QList<HistoryEntry> entries;
    for (const QFileInfo &file : historyFiles(historySettings().resolvedFolder())) {
        QString error;
        if (std::optional<HistoryEntry> entry = fromJson(file.filePath(), error))
            entries.append(*entry);
    }
    return entries;
}

std::optional<HistoryEntry> readHistoryEntry(const QString &id, QString &error)
{
    const QString path = QDir(historySettings().resolvedFolder()).filePath(id + kSuffix);
    if (id.contains(u'/') || id.contains(u'\\') || id.startsWith(u'.') || !QFileInfo(path).isFile()) {
        error = QStringLiteral("没有历史记录 %1").arg(id);
        return std::nullopt;
    }
    return fromJson(path, error);
}

void restoreHistory(SharedDb &db, const HistoryEntry &entry)
{
    for (const HistoryTable &table : entry.tables)
        checkRestorable(table);
    keepHistory(db, QStringLiteral("restore"), entry.tableNames());
    SqlTransaction transaction(db);
    for (const HistoryTable &table : entry.tables) {
        db.exec(QStringLiteral("delete from %1").arg(table.name));
        allowIdentityValues(db, table.name, true);
        for (const QJsonValue &row : table.rows)
            db.exec(insertStatement(table, row.toArray()));
        allowIdentityValues(db, table.name, false);
    }
    transaction.commit();
}

HistoryRebuild rebuildAfterRestore(const QStringList &tables)
{
    static const QStringList base = {QStringLiteral("tb_id_devid"), QStringLiteral("tb_id_itemid"),
                                     QStringLiteral("tb_id_paramid"), QStringLiteral("tb_id_dev_item"),
                                     QStringLiteral("tb_id_item_param")};
    static const QStringList indexed = {QStringLiteral("tb_id_info"),   QStringLiteral("tb_login_ini"),
                                        QStringLiteral("tb_id_eval"),   QStringLiteral("tb_id_outline"),
                                        QStringLiteral("tb_line_info"), QStringLiteral("tb_login_lineindex"),
                                        QStringLiteral("tb_user"),      QStringLiteral("tb_id_linetype")};
    HistoryRebuild rebuild;
    for (const QString &table : tables) {
        const QString name = table.toLower();
        rebuild.runTables = rebuild.runTables || base.contains(name);
        rebuild.indexFiles = rebuild.indexFiles || base.contains(name) || indexed.contains(name);
    }
    return rebuild;
}

}  // namespace dbkeel
