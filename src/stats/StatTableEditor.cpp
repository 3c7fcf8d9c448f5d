#include "stats/StatTableEditor.h"

#include "core/AppConfig.h"
#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "platform/FileWrite.h"
#include "platform/Gbk.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"
#include "platform/Text.h"
#include "screens/DbErrorReport.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace dbkeel {

namespace {

const QString kNotice = QStringLiteral("提示");
const QString kTable = QStringLiteral("tb_stat_all");
const QString kLibraryMissing = QStringLiteral("加载统计数据生成库失败或找不到该动态库!");
const QString kBuilding = QStringLiteral("正在创建统计数据,数据量大可能会等待几分钟...");

const QString kSqlServerTableGuard = QStringLiteral(
    "if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[tb_stat_all]') and "
    "OBJECTPROPERTY(id, N'IsUserTable') = 1) \t\t\t\t   BEGIN \t\t\t\t\t  IF not exists (SELECT name "
    "FROM syscolumns WHERE (id = OBJECT_ID(N'tb_stat_all')) and  name = %1 ) \t\t\t\t\t\t BEGIN "
    "alter table tb_stat_all add %2 %3%4 \t\t\t\t\t  END\t\t\t\t   END ;");

// The attribute list with prefixes, and the table each attribute belongs to.
struct Attribute {
    const char *table;
    QString name, prefix;
};
const QList<Attribute> &attributeTable()
{
    static const QList<Attribute> attributes{
        {"tb_id_itemid", QStringLiteral("项目判定"), QStringLiteral("ITEM_JUDGE_")},
        {"tb_id_itemid", QStringLiteral("项目次数"), QStringLiteral("ITEM_SUM_")},
        {"tb_id_itemid", QStringLiteral("检测项目"), QStringLiteral("ITEM_")},
        {"tb_id_paramid", QStringLiteral("检测结果"), QStringLiteral("RESULT_")},
        {"tb_id_paramid", QStringLiteral("判定结论"), QStringLiteral("JUDGE_")},
        {"tb_id_paramid", QStringLiteral("判定等级"), QStringLiteral("JUDGE_DJ_")},
        {"tb_id_paramid", QStringLiteral("检测标准"), QStringLiteral("STD_")},
        {"tb_id_info", QStringLiteral("基本信息"), QStringLiteral("INFO_")},
    };
    return attributes;
}

// One definition of the script (the catalogue's collation, null and identity flags).
QString scriptDefinition(const ScriptColumn &c)
{
    if (c.collation == kStatCollation)
        return QStringLiteral("[%1] [%2] (%3) COLLATE Chinese_PRC_CI_AS %4 ")
            .arg(c.name, c.type, c.length, c.nullable ? QStringLiteral("NULL") : QStringLiteral("NOT NULL"));
    if (c.identity)
        return QStringLiteral("[%1] [%2] IDENTITY (1, 1) NOT NULL ").arg(c.name, c.type);
    return QStringLiteral("[%1] [%2] %3 ")
        .arg(c.name, c.type, c.nullable ? QStringLiteral("NULL") : QStringLiteral("NOT NULL"));
}

}  // namespace

const QList<QPair<QString, int>> &statTypes()
{
    static const QList<QPair<QString, int>> types{{"bigint", 8},      {"binary", 50},
                                                  {"bit", 1},         {"char", 50},
                                                  {"datetime", 8},    {"decimal", 17},
                                                  {"float", 8},       {"image", 16},
                                                  {"int", 4},         {"money", 8},
                                                  {"nchar", 50},      {"ntext", 16},
                                                  {"numeric", 17},    {"nvarchar", 50},
                                                  {"real", 4},        {"smalldatetime", 4},
                                                  {"smallint", 2},    {"smallmoney", 4},
                                                  {"text", 16},       {"timestamp", 8},
                                                  {"tinyint", 1},     {"uniqueidentifier", 16},
                                                  {"varbinary", 100}, {"varchar", 50}};
    return types;
}

QString statTypeLength(const QString &type)
{
    for (const auto &[name, length] : statTypes())
        if (name == type)
            return QString::number(length);
    return {};
}

QString statCollation(const QString &type)
{
    return type.contains(QLatin1String("char"), Qt::CaseInsensitive) ? kStatCollation : QString();
}

QString statColumnPrefix(const QString &attribute)
{
    for (const Attribute &a : attributeTable())
        if (a.name == attribute)
            return a.prefix;
    return {};
}

QStringList statAttributes(const QString &sourceTable)
{
    QStringList names;
    for (const Attribute &a : attributeTable())
        if (sourceTable == QLatin1String(a.table))
            names << a.name;
    return names;
}

int statIdentifierColumn(const QString &sourceTable)
{
    return sourceTable == QLatin1String("tb_id_info") ? 0 : 1;
}

QString statBaseTableStatement(Dialect dialect)
{
    if (dialect == Dialect::SqlServer)
        return QStringLiteral(
            "if not exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[tb_stat_all]') and "
            "OBJECTPROPERTY(id, N'IsUserTable') = 1) \t       BEGIN  CREATE TABLE [dbo].[tb_stat_all] ( [ID] [int] "
            "IDENTITY (1, 1) NOT NULL , \t\t   [DataID]    [int] NULL , \t\t   [loginid]   [varchar] (100) COLLATE "
            "Chinese_PRC_CI_AS NOT NULL , \t\t   [INFO_1001] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL , \t\t   "
            "[INFO_1004] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL , \t\t   [INFO_1012] [varchar] (50) COLLATE "
            "Chinese_PRC_CI_AS NULL , \t\t   [INFO_1120] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL , \t\t   "
            "[INFO_1122] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL , \t\t   [WriteDate] [varchar] (50) COLLATE "
            "Chinese_PRC_CI_AS NULL , \t\t   [SoftVsion] [varchar] (50) COLLATE Chinese_PRC_CI_AS NULL , \t\t   "
            "[StatRemark] [varchar] (100) COLLATE Chinese_PRC_CI_AS NULL   \t       ) ON [PRIMARY] END ;");
    return QStringLiteral("CREATE TABLE IF NOT EXISTS tb_stat_all ( ID INTEGER PRIMARY KEY , DataID INTEGER , loginid "
                          "TEXT NOT NULL , INFO_1001 TEXT , INFO_1004 TEXT , INFO_1012 TEXT , INFO_1120 TEXT , "
                          "INFO_1122 TEXT , WriteDate TEXT , SoftVsion TEXT , StatRemark TEXT ) STRICT ;");
}

GuardedStatement statColumnStatement(Dialect dialect, const QString &name, const QString &type, const QString &length,
                                     const QString &collation)
{
    if (dialect == Dialect::SqlServer) {
        const bool sized = collation == kStatCollation && type != QLatin1String("text");
        return {kSqlServerTableGuard.arg(sqlText(name), name, type,
                                         sized ? QStringLiteral("(%1)").arg(sqlNumber(length)) : QString()),
                {},
                {}};
    }
    return {QStringLiteral("ALTER TABLE tb_stat_all ADD COLUMN %1 %2").arg(name, sqliteColumnType(type)),
            tableExistsQuery(dialect, kTable), columnExistsQuery(dialect, kTable, name)};
}

QString statDropStatement(Dialect dialect)
{
    if (dialect == Dialect::SqlServer)
        return QStringLiteral("if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[tb_stat_all]') "
                              "\t\t   and OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table [dbo].[tb_stat_all]");
    return QStringLiteral("DROP TABLE IF EXISTS tb_stat_all");
}

namespace {

// A catalogue query written for SQL Server 2000, whose column descriptions are in SysProperties; from
// 2005 they are in sys.extended_properties (class 1, the column's MS_Description).
QString withColumnDescriptions(const QString &text, int sqlServerMajor)
{
    if (sqlServerBefore(sqlServerMajor, kSqlServer2005))
        return text;
    static const QRegularExpression join(
        QStringLiteral("LEFT JOIN SysProperties ON \\(Syscolumns\\.Id = Sysproperties\\.Id AND\\s+Syscolumns\\.Colid = "
                       "Sysproperties\\.Smallid\\)"));
    return QString(text)
        .replace(join, QStringLiteral("LEFT JOIN sys.extended_properties AS ColumnNotes ON (ColumnNotes.class = 1 "
                                      "AND Syscolumns.Id = ColumnNotes.major_id AND Syscolumns.Colid = "
                                      "ColumnNotes.minor_id AND ColumnNotes.name = 'MS_Description')"))
        .replace(QStringLiteral("SysProperties.Value as Remark"), QStringLiteral("ColumnNotes.value as Remark"));
}

}  // namespace

QString statColumnsQuery(Dialect dialect, int sqlServerMajor)
{
    if (dialect == Dialect::SqlServer)
        return withColumnDescriptions(
            QStringLiteral(
                "SELECT SysColumns.Name as ColumnsName,SysColumns.[collation] as Stringflag ,SysTypes.Name as "
                "DateType,SysColumns.Length as DateLength,SysProperties.Value as Remark            FROM  SysObjects , "
                "SysTypes, SysColumns LEFT JOIN SysProperties ON (Syscolumns.Id = Sysproperties.Id AND \t\t   "
                "Syscolumns.Colid = Sysproperties.Smallid)  WHERE (Sysobjects.Xtype ='u' OR Sysobjects.Xtype ='v')      "
                "     AND Sysobjects.Id  = Syscolumns.Id AND     SysTypes.XType     =     Syscolumns.XType            AND "
                "SysTypes.Name <> 'sysname' AND SysObjects.name = 'tb_stat_all' order by SysColumns.ID  "),
            sqlServerMajor);
    return QStringLiteral("SELECT name as ColumnsName, '' as Stringflag, type as DateType, '' as DateLength FROM "
                          "pragma_table_info('tb_stat_all') order by cid ;");
}

QString statScriptColumnsQuery(const QString &table, int sqlServerMajor)
{
    return withColumnDescriptions(
        QStringLiteral(
            "SELECT SysColumns.Name as ColumnsName, SysTypes.Name as DateType ,COLUMNPROPERTY( SysColumns.id "
            ",SysColumns.name,'IsIdentity') as Countflag ,\t\t\t\t SysColumns.Length as "
            "DateLength,SysColumns.[collation] as Stringflag,SysColumns.isnullable as NULLflag \t\t\t\t "
            ",SysProperties.Value as Remark FROM  SysObjects ,\t\t\t\t SysTypes, SysColumns LEFT JOIN "
            "SysProperties ON (Syscolumns.Id = Sysproperties.Id AND \t\t\t\t Syscolumns.Colid = "
            "Sysproperties.Smallid)  WHERE (Sysobjects.Xtype ='u' OR Sysobjects.Xtype ='v')\t\t\t\t AND "
            "Sysobjects.Id  = Syscolumns.Id AND SysTypes.XType = Syscolumns.XType\t\t\t\t AND SysTypes.Name <> "
            "'sysname' AND SysObjects.name = %1 order by SysColumns.ID ")
            .arg(sqlText(table)),
        sqlServerMajor);
}

QString statScriptText(const QString &table, const QList<ScriptColumn> &columns)
{
    if (columns.isEmpty())
        return {};
    QStringList definitions;
    for (const ScriptColumn &column : columns)
        definitions << scriptDefinition(column);
    return QStringLiteral("if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[%1]') and \t\t\t    "
                          "         OBJECTPROPERTY(id, N'IsUserTable') = 1) drop table [dbo].[%1] CREATE TABLE "
                          "[dbo].[%1] ( ")
               .arg(table)
           + definitions.join(QLatin1Char(',')) + QStringLiteral(" ) ON [PRIMARY] ;");
}

QString statScriptPath(const QString &folder)
{
    return joinPath(folder, QStringLiteral("tb_stat_all.mysql"));
}

QString statisticsLibraryPath()
{
#ifdef _WIN32
    const QString file = QStringLiteral("DayTally.dll");
#else
    const QString file = QStringLiteral("DayTally.so");
#endif
    return joinPath(hostEntryPath(hostEntry::ExtensionDir), file);
}

StatTableEditor::StatTableEditor(QObject *parent, int sourceClientWidth) : QObject(parent)
{
    setColumns(sourceClientWidth);
    m_type = QStringLiteral("varchar");
    m_length = QStringLiteral("50");
    connect(&m_build, &JobRunner::finished, this, [this] {
        // A failed build keeps the reason the library (or the missing library) put in the status line.
        if (*m_built)
            m_status.setLeft(QStringLiteral("创建结束"));
        else if (m_status.left() == kBuilding)
            m_status.setLeft(QStringLiteral("创建失败"));
        emit busy(false);
    });
}

void StatTableEditor::setColumns(int sourceClientWidth)
{
    m_sourceWidth = sourceClientWidth;
    const QString spec = QStringLiteral("字段名,%1;类型,%1;长度,%1;注释,0");
    m_source.setColumns(spec.arg(sourceClientWidth / 2 - 5));
    m_source.setCheckBoxes(true);
    m_fields.setColumns(spec.arg(sourceClientWidth / 3));
}

void StatTableEditor::load(const QString &libraryPath)
{
    loadSourceTables();
    loadExistingFields();
    loadLibrary(libraryPath);
}

void StatTableEditor::loadSourceTables()
{
    m_sourceTables.clear();
    if (!sharedDb().isOpen())
        return;
    const QStringList offered{QStringLiteral("tb_id_itemid"), QStringLiteral("tb_id_paramid"),
                              QStringLiteral("tb_id_info")};
    try {
        SqlCursor cursor = sharedDb().query(userTablesQuery(sharedDb().dialect(), QStringLiteral("tb_%")));
        while (cursor.next())
            if (offered.contains(cursor.text(0)))
                m_sourceTables << cursor.text(0);
    } catch (const DbError &error) {
        reportDbError(kNotice, QStringLiteral("查询线异常"), error);
    }
}

void StatTableEditor::loadExistingFields()
{
    if (!sharedDb().isOpen())
        return;
    try {
        SqlCursor cursor = sharedDb().query(statColumnsQuery(sharedDb().dialect(), sharedDb().sqlServerMajor()));
        while (cursor.next()) {
            const int row = m_fields.appendRow(cursor.text(QStringLiteral("ColumnsName")));
            m_fields.setItemText(row, TypeColumn, cursor.text(QStringLiteral("DateType")));
            m_fields.setItemText(row, LengthColumn, cursor.text(QStringLiteral("DateLength")));
            m_fields.setItemText(row, CollationColumn, cursor.text(QStringLiteral("Stringflag")));
            m_fields.setTextColor(row, -1, listcolor::Red);
        }
    } catch (const DbError &error) {
        reportDbError(kNotice, QStringLiteral("获取统计表字段失败"), error);
    }
}

void StatTableEditor::loadLibrary(const QString &path)
{
    if (!m_library.load(path)) {
        prompt().message(kNotice, QStringLiteral("加载统计数据生成库失败或找不到该动态库[DayTally.dll]!"),
                         PromptIcon::Exclamation);
        return;
    }
    m_library.init(&m_statusLine);
}

void StatTableEditor::chooseSourceTable(const QString &table)
{
    if (table.isEmpty() || table == m_loadedTable || !sharedDb().isOpen())
        return;
    m_loadedTable = table;
    m_source.deleteAllColumns();
    try {
        QStringList names;
        SqlCursor columns = sharedDb().query(tableColumnsQuery(sharedDb().dialect(), table));
        while (columns.next())
            names << columns.text(0) + QStringLiteral(",%1").arg(m_sourceWidth / 3);
        columns.close();
        m_source.setColumns(names.join(QLatin1Char(';')));
        m_source.setCheckBoxes(true);
        SqlCursor rows = sharedDb().query(QStringLiteral("select * from %1 order by 1 ;").arg(table));
        while (rows.next()) {
            const int row = m_source.appendRow(QString());
            for (int column = 0; column < names.size(); ++column) {
                m_source.setItemText(row, column, listedValue(trimBoth(rows.text(column))));
            }
            m_status.setLeft(QStringLiteral("查询中...[%1]").arg(row));
        }
        m_status.setLeft(QStringLiteral("共查询到[%1]条记录").arg(m_source.rowCount()));
    } catch (const DbError &error) {
        m_status.setLeft(QStringLiteral("查询异常"));
        reportDbError(kNotice, QStringLiteral("查询线异常"), error);
    }
    m_attributes = statAttributes(table);
    emit attributesChanged(m_attributes);
}

void StatTableEditor::chooseType(const QString &type)
{
    m_type = type;
    m_length = statTypeLength(type);
    emit lengthChanged(m_length);
}

bool StatTableEditor::addField(const QString &name, const QString &type, const QString &length, ListColor color)
{
    for (int row = 0; row < m_fields.rowCount(); ++row)
        if (m_fields.itemText(row, NameColumn) == name && m_fields.itemText(row, TypeColumn) == type)
            return false;
    const int row = m_fields.appendRow(name);
    m_fields.setItemText(row, TypeColumn, type);
    m_fields.setItemText(row, LengthColumn, length);
    m_fields.setItemText(row, CollationColumn, statCollation(type));
    m_fields.setTextColor(row, -1, color);
    return true;
}

void StatTableEditor::addSourceRows(bool onlyChecked, const QString &attribute)
{
    const int column = statIdentifierColumn(m_loadedTable);
    const QString prefix = statColumnPrefix(attribute);
    for (int row = 0; row < m_source.rowCount(); ++row)
        if (!onlyChecked || m_source.isChecked(row))
            addField(prefix + m_source.itemText(row, column), m_type, m_length, listcolor::Blue);
}

void StatTableEditor::addChecked()
{
    if (m_attribute.isEmpty()) {
        prompt().message(kNotice, QStringLiteral("请选择字段属性!"), PromptIcon::Exclamation);
        return;
    }
    addSourceRows(true, m_attribute);
}

void StatTableEditor::addAll()
{
    addSourceRows(false, m_attribute);
}

void StatTableEditor::create()
{
    if (m_fields.rowCount() == 0) {
        prompt().message(kNotice, QStringLiteral("请选择要创建的字段内容!!"), PromptIcon::Information);
        return;
    }
    if (!sharedDb().isOpen())
        return;
    emit busy(true);
    const Dialect dialect = sharedDb().dialect();
    bool created = true;
    try {
        m_status.setLeft(QStringLiteral("正在初始化数据表..."));
        sharedDb().exec(statBaseTableStatement(dialect));
        for (int row = 0; row < m_fields.rowCount(); ++row) {
            const QString name = m_fields.itemText(row, NameColumn);
            m_status.setLeft(QStringLiteral("正在创建数据表字段[%1]...").arg(name));
            runGuarded(sharedDb(), statColumnStatement(dialect, name, m_fields.itemText(row, TypeColumn),
                                                       m_fields.itemText(row, LengthColumn),
                                                       m_fields.itemText(row, CollationColumn)));
        }
    } catch (const DbError &error) {
        reportDbError(QStringLiteral("异常"), QString(), error);
        created = false;
    }
    m_status.setLeft(created ? QStringLiteral("创建成功") : QStringLiteral("创建失败"));
    if (created)
        prompt().message(kNotice, QStringLiteral("创建成功!!"), PromptIcon::Information);
    else
        prompt().message(kNotice, QStringLiteral("创建失败"), PromptIcon::Exclamation);
    emit busy(false);
}

void StatTableEditor::dropTable()
{
    if (!sharedDb().isOpen())
        return;
    if (prompt().message(QStringLiteral("询问"),
                         QStringLiteral(
                             "确定要删除统计表,重新建立吗?\r\n声明 : 若一旦删除将无法恢复\r\n确定(删除),取消"),
                         PromptIcon::Question, PromptButtons::OkCancel, PromptButton::Cancel)
        != PromptButton::Ok)
        return;
    try {
        sharedDb().exec(statDropStatement(sharedDb().dialect()));
        prompt().message(kNotice, QStringLiteral("删除成功,请根据自定义字段内容再次建立该表!"),
                         PromptIcon::Information);
    } catch (const DbError &error) {
        reportDbError(QStringLiteral("异常"), QString(), error);
    }
}

QString StatTableEditor::scriptText(SharedDb &db)
{
    if (db.dialect() == Dialect::Sqlite) {
        SqlCursor cursor = db.query(
            QStringLiteral("select sql from sqlite_master where type = 'table' and name = %1 ;").arg(sqlText(kTable)));
        if (!cursor.next())
            return {};
        QString create = cursor.text(0).simplified();  // one line, as the script file is
        return QStringLiteral("DROP TABLE IF EXISTS %1 ; %2 ;").arg(kTable, create);
    }
    QList<ScriptColumn> columns;
    SqlCursor cursor = db.query(statScriptColumnsQuery(kTable, db.sqlServerMajor()));
    while (cursor.next())
        columns.append({cursor.text(QStringLiteral("ColumnsName")), cursor.text(QStringLiteral("DateType")),
                        cursor.text(QStringLiteral("DateLength")), cursor.text(QStringLiteral("Stringflag")),
                        cursor.text(QStringLiteral("NULLflag")) == QLatin1String("1"),
                        cursor.text(QStringLiteral("Countflag")) == QLatin1String("1")});
    return statScriptText(kTable, columns);
}

void StatTableEditor::exportScript()
{
    const QString folder = prompt().chooseFolder(QStringLiteral("请选择导出文件保存路径..."));
    if (folder.isEmpty() || !sharedDb().isOpen())
        return;
    const QString path = statScriptPath(folder);
    QString script;
    try {
        script = scriptText(sharedDb());
    } catch (const DbError &error) {
        reportDbError(kNotice, QStringLiteral("建立脚本失败:"), error);
        return;
    }
    if (script.isEmpty()) {
        prompt().message(kNotice, QStringLiteral("没有找到%1数据表!").arg(kTable), PromptIcon::Exclamation);
        return;
    }
    const QString written = writeFileWhole(path, toGbk(script));
    if (!written.isEmpty()) {
        prompt().message(kNotice, QStringLiteral("建立脚本失败:") + written, PromptIcon::Exclamation);
        return;
    }
    prompt().message(kNotice, QStringLiteral("建立脚本成功,文件路径[%1]").arg(path), PromptIcon::Information);
}

void StatTableEditor::importScript()
{
    FileRequest request;
    request.filter = QStringLiteral("open files (*.mysql)|*.txt|ALL files (*.*)|*.*||");
    request.defaultExtension = QStringLiteral("txt");
    request.initialPath = QStringLiteral("*.mysql");
    const QString path = prompt().chooseFile(request);
    if (path.isEmpty())
        return;
    const QString name = QFileInfo(path).fileName();
    if (prompt().message(kNotice, QStringLiteral("确定要建立数据表->") + name, PromptIcon::Question,
                         PromptButtons::OkCancel, PromptButton::Cancel)
        != PromptButton::Ok)
        return;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QString script = fromGbk(file.readAll());
    if (script.trimmed().isEmpty() || !sharedDb().isOpen())
        return;
    try {
        sharedDb().exec(script);
        prompt().message(kNotice, name + QStringLiteral("数据表建立成功!"), PromptIcon::Information);
    } catch (const DbError &error) {
        reportDbError(kNotice, QStringLiteral("建立数据表失败:"), error);
    }
}

void StatTableEditor::buildStatistics()
{
    if (m_build.isRunning())
        return;
    StatisticsLibrary *library = &m_library;
    StatusLineRelay *statusLine = &m_statusLine;
    emit busy(true);
    m_status.setLeft(kBuilding);
    m_built = std::make_shared<bool>(false);
    // The library opens its own connection; the job needs none.
    m_build.start(
        [library, statusLine, built = m_built](JobContext &) {
            if (!library->canBuild()) {
                QMetaObject::invokeMethod(statusLine, "setText", Qt::QueuedConnection, Q_ARG(QString, kLibraryMissing));
                return;
            }
            *built = library->build() > 0;  // the number of rows built; 0 on failure
        },
        QString());
}

bool StatTableEditor::close()
{
    if (m_build.isRunning() && !m_build.wait(kCloseWait))
        return false;  // the library is never unloaded under a running build
    if (m_library.isLoaded()) {
        m_library.release();
        m_library.unload();
    }
    return true;
}

}  // namespace dbkeel
