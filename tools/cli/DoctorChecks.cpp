#include "tools/cli/DoctorChecks.h"

#include "core/AppState.h"
#include "core/Database.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "indexfiles/IndexFileBuild.h"
#include "platform/Paths.h"
#include "platform/Profile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>

namespace dbkeel::cli {

namespace {

// A check that finds one thing per row of its query, the row's columns put into `text` for {1}, {2}, ….
struct RowCheck {
    Severity severity;
    QString query;
    QString text;
    QString advice;
};

void findRows(SharedDb &db, const QString &check, const QList<RowCheck> &rowChecks, Findings &findings)
{
    for (const RowCheck &rowCheck : rowChecks) {
        SqlCursor cursor = db.query(rowCheck.query);
        while (cursor.next()) {
            QString line = rowCheck.text;
            for (int column = 0; column < cursor.columnCount(); ++column)
                line.replace(QStringLiteral("{%1}").arg(column + 1), cursor.text(column));
            findings.append({rowCheck.severity, check, line, rowCheck.advice});
        }
    }
}

// Codes of `table`.`column` that `dictionary`.`code` does not hold. "not in" lets the database look each
// code up once in a set instead of scanning the dictionary for every row.
QString unknownCodes(const QString &table, const QString &column, const QString &dictionary, const QString &code)
{
    return QStringLiteral("select distinct %2 from %1 where %2 is not null and %2 not in "
                          "(select %4 from %3 where %4 is not null) order by %2")
        .arg(table, column, dictionary, code);
}

// The values of a section by key (keys without regard to case; the first of a name, as a reader finds it).
QHash<QString, QString> sectionValues(const ProfileFile &file, const QString &section)
{
    const QStringList keys = file.keyNames(section);
    const QStringList values = file.readStrings(section, keys, QString(), 1 << 16);
    QHash<QString, QString> byKey;
    for (qsizetype k = 0; k < keys.size(); ++k)
        if (!byKey.contains(keys.at(k).toLower()))
            byKey.insert(keys.at(k).toLower(), values.at(k));
    return byKey;
}

// Keys of `section` whose values differ between the two files, present in one only included.
int differingKeys(const ProfileFile &installed, const ProfileFile &built, const QString &section)
{
    const QHash<QString, QString> before = sectionValues(installed, section), now = sectionValues(built, section);
    int differing = 0;
    for (auto key = before.cbegin(); key != before.cend(); ++key)
        differing += !now.contains(key.key()) || now.value(key.key()) != key.value();
    for (auto key = now.cbegin(); key != now.cend(); ++key)
        differing += !before.contains(key.key());
    return differing;
}

const QString kRebuildIndex = QStringLiteral("rebuild the index files (dbkeel-cli index, or 系统索引文件 → 创建)");

void compareIndexFile(const QString &installedPath, const QString &builtPath, Findings &findings)
{
    const ProfileFile installed(installedPath), built(builtPath);
    QStringList sections = installed.sectionNames();
    for (const QString &section : built.sectionNames())
        if (!sections.contains(section, Qt::CaseInsensitive))
            sections << section;
    for (const QString &section : sections) {
        if (section.compare(QStringLiteral("VERSIONINFO"), Qt::CaseInsensitive) == 0)
            continue;  // the program's own version, written at its start
        if (const int keys = differingKeys(installed, built, section))
            findings.append(
                {Severity::Error, QStringLiteral("index"),
                 QStringLiteral("%1 differs: %2 keys (%3)").arg(section, QString::number(keys), installedPath),
                 kRebuildIndex});
    }
}

void checkFileEntry(int entry, const QString &what, bool folder, Findings &findings)
{
    const QString path = databaseEntryField(entry, 0);
    if (path.isEmpty())
        return;
    const QFileInfo info(path);
    if (folder ? !info.isDir() : !info.isFile())
        findings.append(
            {Severity::Error, QStringLiteral("host"),
             QStringLiteral("entry %1 (%2) names %3, which is not there").arg(QString::number(entry), what, path),
             QStringLiteral("put it there, or correct entry %1 with the station configuration manager").arg(entry)});
}

}  // namespace

QString severityName(Severity severity)
{
    switch (severity) {
    case Severity::Error: return QStringLiteral("error");
    case Severity::Warning: return QStringLiteral("warning");
    case Severity::Note: break;
    }
    return QStringLiteral("note");
}

void checkRelations(SharedDb &db, Findings &findings)
{
    const QString fixRelations = QStringLiteral("add it to the dictionary, or remove its relations (关系设置)");
    QList<RowCheck> rowChecks;
    const struct {
        const char *table, *column, *dictionary, *code, *what;
    } references[] = {
        {"tb_id_dev_item", "devid", "tb_id_devid", "devid", "device"},
        {"tb_id_dev_item", "itemid", "tb_id_itemid", "itemid", "item"},
        {"tb_id_item_param", "itemid", "tb_id_itemid", "itemid", "item"},
        {"tb_id_item_param", "paramid", "tb_id_paramid", "paramid", "parameter"},
    };
    for (const auto &r : references)
        rowChecks.append({Severity::Error,
                          unknownCodes(QLatin1String(r.table), QLatin1String(r.column), QLatin1String(r.dictionary),
                                       QLatin1String(r.code)),
                          QStringLiteral("%1 names %2 {1}, which %3 does not hold")
                              .arg(QLatin1String(r.table), QLatin1String(r.what), QLatin1String(r.dictionary)),
                          fixRelations});

    const QString rebuild = QStringLiteral(
        "give it its relations and run the one-key build (dbkeel-cli bundle rebuild)");
    rowChecks << RowCheck{Severity::Error,
                          QStringLiteral("select distinct devid from tb_line_info where devid not in "
                                         "(select devId from tb_id_param where devId is not null) order by devid"),
                          QStringLiteral("placed device {1} has no items in the run tables"), rebuild}
              << RowCheck{Severity::Warning,
                          QStringLiteral(
                              "select distinct itemid, devid from tb_id_dev_item where devid in (select devid "
                              "from tb_line_info) and itemid not in (select ItemId from tb_id_param where "
                              "ItemId is not null) order by itemid, devid"),
                          QStringLiteral("item {1} of placed device {2} has no parameters in the run tables"), rebuild}
              << RowCheck{Severity::Note,
                          QStringLiteral("select ParamId, count(distinct ItemId) from tb_id_param group by ParamId "
                                         "having count(distinct ItemId) > 1 order by ParamId"),
                          QStringLiteral("parameter {1} belongs to {2} items"),
                          QStringLiteral("check that it should (维护 → 项目参数检查)")};
    findRows(db, QStringLiteral("relations"), rowChecks, findings);
}

void checkLayout(SharedDb &db, Findings &findings)
{
    const QString fixLayout = QStringLiteral("correct the layout (工位配置) and build it again");
    const QList<RowCheck> rowChecks = {
        {Severity::Error,
         unknownCodes(QStringLiteral("tb_line_info"), QStringLiteral("devid"), QStringLiteral("tb_id_devid"),
                      QStringLiteral("devid")),
         QStringLiteral("the layout places device {1}, which tb_id_devid does not hold"), fixLayout},
        {Severity::Error,
         unknownCodes(QStringLiteral("tb_line_info"), QStringLiteral("linetype"), QStringLiteral("tb_id_linetype"),
                      QStringLiteral("lintype")),
         QStringLiteral("the layout uses line type {1}, which tb_id_linetype does not hold"), fixLayout},
        {Severity::Error,
         QStringLiteral("select distinct stationid, devid from tb_line_info where lineid is null or lineid < 1 "
                        "order by stationid"),
         QStringLiteral("station {1} (device {2}) is on no line"), fixLayout},
        {Severity::Error,
         QStringLiteral("select lineid, stationid, devid from tb_line_info group by lineid, stationid, devid "
                        "having count(*) > 1 order by lineid, stationid"),
         QStringLiteral("line {1} station {2} holds device {3} twice"), fixLayout},
        {Severity::Error,
         QStringLiteral("select stationip, stationport from tb_line_info group by stationip, stationport "
                        "having count(distinct lineid * 1000 + stationid) > 1 order by stationip, stationport"),
         QStringLiteral("address {1} port {2} is given to more than one station"),
         QStringLiteral("give each station computer its own address and port (工位配置)")},
    };
    findRows(db, QStringLiteral("layout"), rowChecks, findings);
}

void checkIndexFiles(const QString &connectString, Findings &findings)
{
    const QString check = QStringLiteral("index");
    const IndexFileTargets installed = IndexFileTargets::fromHostConfig();
    for (const QString &path : {installed.indexFile, installed.userFile()}) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            findings.append(
                {Severity::Error, check, QStringLiteral("%1: %2").arg(path, file.errorString()), kRebuildIndex});
            return;
        }
    }
    QTemporaryDir scratch;
    const IndexFileTargets fresh{scratch.filePath(QFileInfo(installed.indexFile).fileName()), scratch.path()};
    const IndexBuildResult result = buildIndexFiles(fresh, connectString);
    if (!result.succeeded()) {
        const QString reason = !result.startError.isEmpty() ? result.startError
                               : !result.fileError.isEmpty()
                                   ? result.fileError
                                   : QStringLiteral("parts failed: ") + result.failedParts().join(QStringLiteral(", "));
        findings.append({Severity::Error, check, QStringLiteral("a build of the index files fails: ") + reason,
                         QStringLiteral("mend what the build names; the installed files are older than the data")});
        return;
    }
    compareIndexFile(installed.indexFile, fresh.indexFile, findings);
    QFile installedUsers(installed.userFile()), builtUsers(fresh.userFile());
    if (installedUsers.open(QIODevice::ReadOnly) && builtUsers.open(QIODevice::ReadOnly)
        && installedUsers.readAll() != builtUsers.readAll())
        findings.append({Severity::Error, check, QStringLiteral("%1 differs from tb_user").arg(installed.userFile()),
                         kRebuildIndex});
}

void checkHostConfig(SharedDb &db, Findings &findings)
{
    const QString check = QStringLiteral("host");
    if (!QFileInfo(systemDirectory()).isDir())
        findings.append({Severity::Error, check,
                         QStringLiteral("system directory %1 is not there").arg(systemDirectory()),
                         QStringLiteral("set DBKEEL_SYSDIR or --sysdir")});
    const struct {
        int entry;
        const char *what;
        bool folder;
    } entries[] = {{2, "program directory", true},
                   {3, "configuration directory", true},
                   {5, "vehicle-type backups", true},
                   {115, "components directory", true},
                   {52, "standards program", false},
                   {85, "vehicle-type library", false},
                   {86, "station configuration manager", false},
                   {120, "login component", false}};
    for (const auto &e : entries)
        checkFileEntry(e.entry, QLatin1String(e.what), e.folder, findings);
    const QString indexFile = databaseEntryField(hostEntry::SystemIndexFile, 0);
    if (indexFile.isEmpty() || !QFileInfo(QFileInfo(indexFile).absolutePath()).isDir())
        findings.append({Severity::Error, check,
                         QStringLiteral("entry 167 (system index file) names no existing folder"),
                         QStringLiteral("correct entry 167 with the station configuration manager")});
    checkDataSource(db, findings);
}

void checkDataSource(SharedDb &db, Findings &findings)
{
    const QString check = QStringLiteral("host");
    const QString dataSource = databaseCredentials(DBODBCTYPE).dataSource;
    const int major = db.sqlServerMajor();
    const QString release = major > 0 ? QStringLiteral(" (%1)").arg(sqlServerRelease(major)) : QString();
    findings.append({Severity::Note, check,
                     QStringLiteral("data source %1: %2%3").arg(dataSource, db.serverVersion(), release), QString()});
    if (db.dialect() != Dialect::SqlServer)
        return;
    if (sqlServerBefore(major, kSqlServer2000))
        findings.append({Severity::Error, check,
                         QStringLiteral("%1 is older than the oldest supported, %2")
                             .arg(sqlServerRelease(major), sqlServerRelease(kSqlServer2000)),
                         QStringLiteral("move the database to SQL Server 2000 or later (docs/database.md)")});
    const TextRoundTrip trip = chineseRoundTrip(db);
    if (trip.passed())
        findings.append({Severity::Note, check,
                         QStringLiteral("Chinese text round trip: '%1' and N'%1' come back equal").arg(trip.sent),
                         QString()});
    else
        findings.append({Severity::Error, check,
                         QStringLiteral("Chinese text round trip: '%1' came back as '%2', N'%1' as '%3'")
                             .arg(trip.sent, trip.plainBack, trip.nationalBack),
                         roundTripAdvice(trip, dataSource)});
}

}  // namespace dbkeel::cli
