#include "maintenance/VersionEditor.h"

#include "core/AppState.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "core/SqlValue.h"
#include "maintenance/MaintenanceTrace.h"
#include "platform/Gbk.h"
#include "platform/Prompt.h"

namespace dbkeel {

namespace {
const QString kVersionRow = QStringLiteral("数据库版本");
const QString kDateRow = QStringLiteral("数据库日期");
const QString kNameRow = QStringLiteral("修改人姓名");
constexpr int NameColumn = 0, TimeColumn = 1, DescriptionColumn = 2;

QString timeText(const QDateTime &time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}
}  // namespace

QString versionCleanUpStatement()
{
    return QStringLiteral("delete  from tb_version where TidyUser = '' or TidyUser is null ;");
}

QString versionLoadQuery()
{
    return QStringLiteral("select * from tb_version order by InsertDate ");
}

QStringList versionUpdateStatements(const QString &version, const QString &name, const QString &description,
                                    const std::function<QString()> &now)
{
    const auto fixedRow = [&now](const QString &value, const QString &row) {
        return QStringLiteral("update tb_version set Version = %1,InsertDate = %2 where TidyUser = '%3' ;")
            .arg(sqlText(value), sqlText(now()), row);
    };
    QStringList statements{fixedRow(version, kVersionRow)};
    statements << fixedRow(now(), kDateRow) << fixedRow(name, kNameRow);
    statements << QStringLiteral("insert into tb_version(TidyUser,Version,InsertDate)values(%1,%2,%3) ;")
                      .arg(sqlText(name), sqlText(description), sqlText(now()));
    return statements;
}

VersionEditor::VersionEditor(QObject *parent, int listClientWidth) : QObject(parent)
{
    setColumns(listClientWidth);
    m_fields.parts = QStringList(4, QString());
}

void VersionEditor::setColumns(int listClientWidth)
{
    const int w = listClientWidth / 3;
    m_list.setColumns(columnSpec({"修改操作人", "修改时间", "修改描述"}, {w - 35, w + 5, w + 200}));
}

void VersionEditor::preset(const QDateTime &today)
{
    const QDate date = today.date();
    m_fields.parts = {QStringLiteral("20"), QStringLiteral("%1").arg(date.year() - 2000, 2, 10, QLatin1Char('0')),
                      date.toString(QStringLiteral("MM")), date.toString(QStringLiteral("dd"))};
    m_fields.changeTime = timeText(today);
    emit fieldsChanged();
}

void VersionEditor::cleanUpAndLoad()
{
    if (!sharedDb().isOpen())
        return;
    try {
        sharedDb().exec(versionCleanUpStatement());
    } catch (const DbError &error) {
        DbReady = 0;
        qCDebug(maintenanceTrace).noquote() << error.text();
    }
    load();
}

void VersionEditor::readVersion(const QString &version)
{
    const QByteArray text = toGbk(version);
    m_fields.parts.resize(4);
    for (int part = 0; part < 4; ++part) {
        QByteArray field;
        if (hostLib().getField2(text, field, part, '.') > 0)
            m_fields.parts[part] = fromGbk(field);
    }
}

void VersionEditor::load()
{
    if (!sharedDb().isOpen())
        return;
    m_list.deleteAllRows();
    try {
        SqlCursor cursor = sharedDb().query(versionLoadQuery());
        while (cursor.next()) {
            const QString who = cursor.text(QStringLiteral("TidyUser"));
            const QString value = cursor.text(QStringLiteral("Version"));
            if (who == kVersionRow) {
                readVersion(value);
            } else if (who == kDateRow) {
                m_fields.changeTime = value;
            } else if (who == kNameRow) {
                m_fields.name = value;
            } else {
                const int row = m_list.appendRow(who);
                m_list.setItemText(row, TimeColumn, cursor.text(QStringLiteral("InsertDate")));
                m_list.setItemText(row, DescriptionColumn, value);
            }
        }
    } catch (const DbError &error) {
        DbReady = 0;
        qCDebug(maintenanceTrace).noquote() << error.text();
    }
    emit fieldsChanged();
}

void VersionEditor::chooseRow(int row)
{
    if (row < 0 || row >= m_list.rowCount())
        return;
    m_fields.name = m_list.itemText(row, NameColumn);
    m_fields.description = m_list.itemText(row, DescriptionColumn);
    m_fields.entryTime = m_list.itemText(row, TimeColumn);
    emit fieldsChanged();
}

bool VersionEditor::update()
{
    if (prompt().message(QStringLiteral("提示"), QStringLiteral("确定要更新当前版本信息吗？"), PromptIcon::Question,
                         PromptButtons::OkCancel, PromptButton::Cancel)
        != PromptButton::Ok)
        return false;
    const auto now = [] { return timeText(QDateTime::currentDateTime()); };
    try {
        if (!sharedDb().isOpen())
            throw DbError(QStringLiteral("the database connection is not open"));
        for (const QString &statement :
             versionUpdateStatements(m_fields.parts.join(QLatin1Char('.')), m_fields.name, m_fields.description, now))
            sharedDb().exec(statement);
    } catch (const DbError &error) {
        DbReady = 0;
        qCDebug(maintenanceTrace).noquote() << error.text();
        prompt().message(QStringLiteral("提示"), QStringLiteral("更新失败"), PromptIcon::Exclamation);
        return false;
    }
    load();
    return true;
}

}  // namespace dbkeel
