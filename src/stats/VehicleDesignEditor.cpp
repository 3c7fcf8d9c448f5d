#include "stats/VehicleDesignEditor.h"

#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "platform/Gbk.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/Prompt.h"
#include "platform/Text.h"
#include "screens/DbErrorReport.h"
#include "screens/ExchangeFile.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace dbkeel {

namespace {

const QString kNotice = QStringLiteral("提示");
constexpr int kStructureValueWidth = 200;
constexpr int kStatusByte = 39;  // the library's state: 1 shown, 2 done

const QString kSqlServerTableGuard = QStringLiteral(
    "if exists (select * from dbo.sysobjects where id = object_id(N'[dbo].[%1]') and \t\tOBJECTPROPERTY(id, "
    "N'IsUserTable') = 1) BEGIN Alter table %1 %2 %3 END");

QString now(const char *what)
{
    return QString::fromUtf8(what) + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
}

// Trimmed, lower-cased names of a query's first column.
QStringList lowerNames(SharedDb &db, const QString &query, bool skipFirst)
{
    QStringList names;
    SqlCursor cursor = db.query(query);
    for (bool first = true; cursor.next(); first = false)
        if (!(skipFirst && first))
            names << trimBoth(cursor.text(0)).toLower();
    return names;
}

bool isColumnName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    return plain.match(name).hasMatch();
}

}  // namespace

const QList<VehicleDesign> &vehicleDesigns()
{
    static const QList<VehicleDesign> designs{{QStringLiteral("车辆型号"), QStringLiteral("tb_type_base_ini"),
                                               QStringLiteral("tb_type_vehicle"), QStringLiteral("VEHICLE")},
                                              {QStringLiteral("发动机型号"), QStringLiteral("tb_type_fdj_ini"),
                                               QStringLiteral("tb_type_fdjxh"), QStringLiteral("FDJXH")}};
    return designs;
}

const QList<QPair<int, QString>> &inputStyles()
{
    static const QList<QPair<int, QString>> styles{{-1, QStringLiteral("不使用")},
                                                   {0, QStringLiteral("无类型")},
                                                   {1, QStringLiteral("编辑框")},
                                                   {2, QStringLiteral("DropDown")},
                                                   {3, QStringLiteral("DropList")}};
    return styles;
}

const QList<QPair<int, QString>> &dataTypes()
{
    static const QList<QPair<int, QString>> types{{0, QStringLiteral("整型")},   {1, QStringLiteral("浮点型")},
                                                  {2, QStringLiteral("字符串")}, {3, QStringLiteral("字符型")},
                                                  {4, QStringLiteral("布尔型")}, {5, QStringLiteral("日期型")}};
    return types;
}

QString codeText(const QList<QPair<int, QString>> &list, int code)
{
    for (const auto &[c, text] : list)
        if (c == code)
            return text;
    return {};
}

int textCode(const QList<QPair<int, QString>> &list, const QString &text)
{
    for (const auto &[code, t] : list)
        if (t == text)
            return code;
    return 0;
}

QString definitionStoreStatement(Dialect dialect, const QString &table, const FieldDefinition &field)
{
    const QString name = sqlText(field.name), link = sqlText(field.link);
    const QString style = QString::number(textCode(inputStyles(), field.style));
    const QString type = QString::number(textCode(dataTypes(), field.type));
    if (dialect == Dialect::SqlServer)
        return QStringLiteral("if not exists(select * from %1 where ziduan = %2)BEGIN insert into %1 "
                              "\t\t(ziduan,ziduanming,ziduanleixing,itemini,datatype)values( %2 , %3 , %4 , %5 , %6 ) "
                              "\t\tEND BEGIN update %1 set itemini = %5 , ziduanleixing = %7 , datatype = %8  where "
                              "ziduan = %2 END ")
            .arg(table, name, sqlText(field.caption), style, link, type, sqlText(style), sqlText(type));
    return QStringLiteral(
               "insert into %1 (ziduan,ziduanming,ziduanleixing,itemini,datatype) select %2 , %3 , %4 , %5 , %6 "
               "where not exists (select * from %1 where ziduan = %2) ; update %1 set itemini = %5 , "
               "ziduanleixing = %4 , datatype = %6 where ziduan = %2 ;")
        .arg(table, name, sqlText(field.caption), style, link, type);
}

GuardedStatement addDataColumnStatement(Dialect dialect, const QString &table, const QString &column)
{
    const QString name = sqlIdentifier(dialect, column.toUpper());
    if (dialect == Dialect::SqlServer)
        return {kSqlServerTableGuard.arg(table, QStringLiteral("add"), name + QStringLiteral(" varchar(50)")), {}, {}};
    return {QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 TEXT").arg(table, name), tableExistsQuery(dialect, table), {}};
}

GuardedStatement dropDataColumnStatement(Dialect dialect, const QString &table, const QString &column)
{
    const QString name = sqlIdentifier(dialect, column.toUpper());
    if (dialect == Dialect::SqlServer)
        return {kSqlServerTableGuard.arg(table, QStringLiteral("drop column"), name), {}, {}};
    return {QStringLiteral("ALTER TABLE %1 DROP COLUMN %2").arg(table, name), tableExistsQuery(dialect, table), {}};
}

QString structureFilePath(const QString &folder)
{
    return joinPath(folder, QStringLiteral("TypeIni.VEHSX"));
}

VehicleDesignEditor::VehicleDesignEditor(QObject *parent, int listClientWidth) : QObject(parent)
{
    setColumns(listClientWidth);
}

void VehicleDesignEditor::setColumns(int listClientWidth)
{
    m_list.setColumns(
        QStringLiteral("ID,0;字段名,%1;字段中文,%1;使用类型,%1;数据类型,%1;关联字段,%1;注释,%1;默认内容,%1")
            .arg(listClientWidth / 7));
}

void VehicleDesignEditor::load()
{
    m_links = QStringList{QString()};
    if (!sharedDb().isOpen())
        return;
    try {
        SqlCursor cursor = sharedDb().query(QStringLiteral("SELECT infoid,infoname FROM tb_id_info  order by infoid"));
        while (cursor.next())
            m_links << QStringLiteral("%1,%2,").arg(trimBoth(cursor.text(0)), trimBoth(cursor.text(1)));
    } catch (const DbError &error) {
        prompt().message(QString(), error.text());  // the entries read so far stay
    }
}

QString VehicleDesignEditor::tableName() const
{
    return m_design < 0 ? QString() : vehicleDesigns().at(m_design).definitionTable;
}

void VehicleDesignEditor::appendRow(const QStringList &cells)
{
    const int row = m_list.appendRow(cells.value(0));
    for (int column = 1; column < cells.size(); ++column)
        m_list.setItemText(row, column, cells.at(column));
}

void VehicleDesignEditor::chooseTable(int design)
{
    if (design < 0 || design >= vehicleDesigns().size())
        return;
    m_design = design;
    m_list.deleteAllRows();
    if (sharedDb().isOpen()) {
        try {
            SqlCursor cursor = sharedDb().query(
                QStringLiteral(
                    "select ID,ziduan,ziduanming,ziduanleixing,datatype,itemini,remark,defaultdata from %1 order by ID")
                    .arg(tableName()));
            while (cursor.next())
                appendRow(
                    {cursor.text(0), trimBoth(cursor.text(1)), trimBoth(cursor.text(2)),
                     codeText(inputStyles(), cursor.isNull(QStringLiteral("ziduanleixing")) ? -2 : cursor.toInt(3)),
                     codeText(dataTypes(), cursor.isNull(QStringLiteral("datatype")) ? -2 : cursor.toInt(4)),
                     trimBoth(cursor.text(5)), trimBoth(cursor.text(6)), trimBoth(cursor.text(7))});
        } catch (const DbError &error) {
            reportDbError(kNotice, QStringLiteral("查询线异常"), error);
        }
    }
    emit tableChanged();
}

void VehicleDesignEditor::chooseLink(const QString &link)
{
    if (link.isEmpty())
        return;
    m_values.clear();
    if (!sharedDb().isOpen())
        return;
    try {
        SqlCursor cursor = sharedDb().query(
            QStringLiteral("SELECT infoid,infovalue_about FROM tb_login_ini where infoid = %1  order by infoid")
                .arg(sqlNumber(toInt(fieldOf(link, 0)))));
        while (cursor.next())
            m_values << trimBoth(cursor.text(1));
    } catch (const DbError &error) {
        prompt().message(QString(), error.text());
    }
}

FieldDefinition VehicleDesignEditor::rowDefinition(int row) const
{
    return {m_list.itemText(row, NameColumn), m_list.itemText(row, CaptionColumn), m_list.itemText(row, StyleColumn),
            m_list.itemText(row, TypeColumn), m_list.itemText(row, LinkColumn),    m_list.itemText(row, DefaultColumn)};
}

QString VehicleDesignEditor::linkEntry(const QString &infoid) const
{
    if (infoid.isEmpty())
        return {};
    for (const QString &entry : m_links)
        if (!entry.isEmpty() && entry.startsWith(infoid))
            return entry;
    return {};
}

void VehicleDesignEditor::add(const FieldDefinition &field, const QString &link)
{
    if (field.name.isEmpty())
        return;
    int found = -1;
    for (int row = 0; row < m_list.rowCount(); ++row)
        if (m_list.itemText(row, NameColumn) == field.name)
            found = row;
    const QString infoid = link.isEmpty() ? QString() : fieldOf(link, 0);
    if (found < 0) {
        appendRow({QStringLiteral("0"), field.name, field.caption, field.style, field.type, infoid, now("新增:"),
                   field.defaultValue});
        return;
    }
    m_list.setItemText(found, CaptionColumn, field.caption);
    m_list.setItemText(found, StyleColumn, field.style);
    m_list.setItemText(found, TypeColumn, field.type);
    if (!link.isEmpty())
        m_list.setItemText(found, LinkColumn, infoid);
    m_list.setItemText(found, RemarkColumn, now("修改:"));
    m_list.setItemText(found, DefaultColumn, field.defaultValue);
}

bool VehicleDesignEditor::storeAll(const QString &table, const QList<FieldDefinition> &fields)
{
    if (fields.isEmpty() || !sharedDb().isOpen())
        return false;
    try {
        for (const FieldDefinition &field : fields)
            sharedDb().exec(definitionStoreStatement(sharedDb().dialect(), table, field));
        return true;
    } catch (const DbError &) {
        return false;  // the first failing statement ends the run
    }
}

void VehicleDesignEditor::store()
{
    QList<FieldDefinition> fields;
    for (int row = 0; row < m_list.rowCount(); ++row)
        fields << rowDefinition(row);
    if (m_design < 0 || !storeAll(tableName(), fields)) {
        prompt().message(kNotice, QStringLiteral("更新失败!"));
        return;
    }
    prompt().message(kNotice, QStringLiteral("更新成功!"));
    prompt().message(kNotice, checkStructure() ? QStringLiteral("校验表成功!") : QStringLiteral("校验表失败!"));
}

void VehicleDesignEditor::deleteField(int row)
{
    if (row < 0 || row >= m_list.rowCount() || m_design < 0 || !sharedDb().isOpen())
        return;
    if (prompt().message(kNotice, QStringLiteral("是否要删除该项?请慎重考虑!"), PromptIcon::Question,
                         PromptButtons::YesNo, PromptButton::No)
        != PromptButton::Yes)
        return;
    try {
        sharedDb().exec(QStringLiteral("delete  from %1 where ziduan = %2 ")
                            .arg(tableName(), sqlText(m_list.itemText(row, NameColumn))));
        m_list.deleteRow(row);
    } catch (const DbError &error) {
        reportDbError(kNotice, QStringLiteral("删除表字段失败:"), error);
        prompt().message(kNotice, QStringLiteral("删除失败"));
    }
}

bool VehicleDesignEditor::checkDesign(const VehicleDesign &design)
{
    SharedDb &db = sharedDb();
    const Dialect dialect = db.dialect();
    QStringList columns, definitions;
    try {
        columns = lowerNames(db, tableColumnsQuery(dialect, design.dataTable), true);
        definitions = lowerNames(db, QStringLiteral("select ziduan from %1 order by ID").arg(design.definitionTable),
                                 false);
    } catch (const DbError &error) {
        reportDbError(kNotice, QStringLiteral("查询线异常"), error);
        return false;
    }
    const bool adding = definitions.size() > columns.size();
    if (definitions.size() == columns.size())
        return true;  // the same count: names that differ are a rename, not a change
    const QStringList &wanted = adding ? definitions : columns;
    const QSet<QString> present(adding ? columns.begin() : definitions.begin(),
                                adding ? columns.end() : definitions.end());
    const QString context = adding ? QStringLiteral("添加表字段失败:") : QStringLiteral("删除表字段失败:");
    for (const QString &name : wanted) {
        if (present.contains(name))
            continue;
        try {
            if (!isColumnName(name))
                throw DbError(QStringLiteral("字段名[%1]不是有效的列名").arg(name));
            runGuarded(db, adding ? addDataColumnStatement(dialect, design.dataTable, name)
                                  : dropDataColumnStatement(dialect, design.dataTable, name));
        } catch (const DbError &error) {
            reportDbError(kNotice, context, error);
            return false;
        }
    }
    return true;
}

bool VehicleDesignEditor::checkStructure()
{
    if (!sharedDb().isOpen())
        return false;
    bool checked = true;
    for (const VehicleDesign &design : vehicleDesigns())
        checked = checkDesign(design) && checked;  // both tables are always checked
    return checked;
}

void VehicleDesignEditor::exportStructure()
{
    QString folder = prompt().chooseFolder(QStringLiteral("请选择保存文件目录:"));
    if (folder.isEmpty() || !sharedDb().isOpen())
        return;
    if (folder.size() > 1 && (folder.endsWith(QLatin1Char('/')) || folder.endsWith(QLatin1Char('\\'))))
        folder.chop(1);
    const QString path = structureFilePath(folder);
    ProfileFile file(path);
    bool written = true;
    QString refused;  // a field the record cannot carry (a comma would shift the fields after it)
    try {
        for (const VehicleDesign &design : vehicleDesigns()) {
            SqlCursor cursor = sharedDb().query(
                QStringLiteral("select ziduan,ziduanming,ziduanleixing,itemini,datatype from %1 order by ID")
                    .arg(design.definitionTable));
            int count = 0;
            while (refused.isEmpty() && cursor.next()) {
                QStringList fields;
                for (int i = 0; i < 5; ++i)
                    fields << trimBoth(cursor.text(i));
                const auto field = std::find_if_not(fields.cbegin(), fields.cend(), canCarryField);
                if (field != fields.cend())
                    refused = QStringLiteral("[%1]第%2条记录的\"%3\"含有逗号、换行或无法保存的字符")
                                  .arg(design.section, QString::number(count), *field);
                written = file.writeString(design.section, QString::number(count++), exchangeRecord(fields)) && written;
            }
            written = file.writeString(design.section, QStringLiteral("SUM"), QString::number(count)) && written;
        }
        written = written && refused.isEmpty() && file.save();
        if (!written && refused.isEmpty())
            refused = file.lastError();
    } catch (const DbError &error) {
        reportDbError(kNotice, QStringLiteral("查询线异常"), error);
        written = false;
    }
    prompt().message(kNotice,
                     written ? QStringLiteral("导出成功,%1").arg(path) : QStringLiteral("导出失败!") + refused);
}

void VehicleDesignEditor::importStructure()
{
    FileRequest request;
    request.initialPath = QStringLiteral("D:\\ZETRA\\SYSTEM\\CONFIG\\*.VEHSX");
    request.filter = QStringLiteral("车型表结构文件 (*.VEHSX)|*.VEHSX|ALL files (*.*)|*.*||");
    const QString path = prompt().chooseFile(request);
    if (path.isEmpty() || !sharedDb().isOpen())
        return;
    const ProfileFile file(path);
    bool imported = true;
    for (const VehicleDesign &design : vehicleDesigns()) {
        QList<FieldDefinition> fields;
        const int sum = file.readInt(design.section, QStringLiteral("SUM"), 0);
        for (int i = 0; i < sum; ++i) {
            const QString value = file.readString(design.section, QString::number(i), QStringLiteral("-1"),
                                                  kStructureValueWidth);
            if (toInt(value) < 0)
                continue;
            fields << FieldDefinition{fieldOf(value, 0),
                                      fieldOf(value, 1),
                                      codeText(inputStyles(), toInt(fieldOf(value, 2))),
                                      codeText(dataTypes(), toInt(fieldOf(value, 4))),
                                      fieldOf(value, 3),
                                      QString()};
        }
        if (!fields.isEmpty() && !(imported = storeAll(design.definitionTable, fields)))
            break;
    }
    if (!imported) {
        prompt().message(kNotice, QStringLiteral("导入失败!"));
        return;
    }
    prompt().message(kNotice, QStringLiteral("导入成功!"));
    if (!checkStructure())
        prompt().message(kNotice, QStringLiteral("校验表失败!"));
    if (m_design >= 0)
        chooseTable(m_design);
}

void VehicleDesignEditor::openLibrary(const QString &path, QWidget *owner, const QRect &area)
{
    if (!m_library.load(path))
        return;
    QByteArray record = initRecord(area, owner, 0, 0);
    m_library.init(record.data());
    m_library.devData();
}

bool VehicleDesignEditor::showManager(const QRect &area)
{
    if (!m_library.isLoaded() || !m_library.devData())
        return false;
    if (m_library.show(1, area.left(), area.top(), area.left() + area.width(), area.top() + area.height()) <= 0)
        return false;  // no window: nothing will ever say it is done
    if (unsigned char *state = m_library.devData())
        state[kStatusByte] = 1;
    return true;
}

bool VehicleDesignEditor::managerDone()
{
    const unsigned char *state = m_library.devData();
    return !state || state[kStatusByte] == 2;
}

bool VehicleDesignEditor::close()
{
    if (!m_transfer.stopAndWait())
        return false;
    if (m_library.isLoaded()) {
        m_library.stop();
        m_library.release();
        m_library.unload();
    }
    return true;
}

}  // namespace dbkeel
