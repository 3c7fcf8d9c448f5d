#include "dictionaries/SubIdSql.h"

#include "core/SqlValue.h"
#include "dictionaries/SubIdTables.h"

namespace dbkeel {

QString subIdListQuery()
{
    return QStringLiteral("select * from tb_login_ini order by infoid , infosubid ; ");
}

QString subIdListQuery(const QString &infoId)
{
    return QStringLiteral("select * from tb_login_ini where infoid = %1 order by infosubid ").arg(sqlNumber(infoId));
}

QString fieldNameQuery(const QString &filter)
{
    if (filter.isEmpty())
        return QStringLiteral("select infoid,infoname  from tb_id_info order by infoid ;");
    return QStringLiteral("select infoid,infoname  from tb_id_info where infoname like %1 order by infoid ;")
        .arg(sqlLike(filter, LikeMatch::Contains));
}

QString subIdInsertStatement(const SubIdValue &value)
{
    return QStringLiteral("insert into tb_login_ini( infoid , infoname_about,infosubid,infovalue_about , subbyname , "
                          "subbynameid )values( %1 , %2 , %3 , %4, %5 , %6 ) ;")
        .arg(sqlNumber(value.infoId), sqlText(value.fieldName), sqlNumber(value.subId), sqlText(value.value),
             sqlText(value.mainName), sqlText(value.mainId));
}

QString subIdDeleteStatement(const QString &subId)
{
    return QStringLiteral("delete from tb_login_ini where infosubid = %1 ; ").arg(sqlNumber(subId));
}

QString mainAttributeStatement(const QString &mainName, const QString &mainId, const QString &infoId,
                               const QString &subId)
{
    return QStringLiteral("update tb_login_ini  set subbyname = %1 , subbynameid = %2 where   infoid = %3 and "
                          "infosubid = %4;")
        .arg(sqlText(mainName), sqlText(mainId), sqlNumber(infoId), sqlNumber(subId));
}

QString loginFlagStatement(bool offered, int rowId)
{
    return QStringLiteral("update tb_login_ini set sametypeid = '%1' where ID = %2 ")
        .arg(offered ? u"1" : u"0", sqlNumber(rowId));
}

QString defaultMainIdStatement(const DefaultMainId &entry)
{
    return QStringLiteral("update tb_login_ini set subbyname=%1,subbynameid='%2' where infosubid=%3 ")
        .arg(sqlText(entry.mainName), QString::number(entry.mainId), sqlNumber(entry.subId));
}

QString transInfoExportQuery(const QString &fieldName)
{
    const QString columns = QStringLiteral(
        "select infoid , infoname_about, infosubid , infovalue_about, subbyname , subbynameid from tb_login_ini ");
    if (fieldName.isEmpty())
        return columns + QStringLiteral("order by infoid ;");
    return columns
           + QStringLiteral("where infoname_about like %1 order by infoid ;")
                 .arg(sqlLike(fieldName, LikeMatch::Prefix));
}

QString transInfoImportStatement(Dialect dialect, const SubIdValue &value)
{
    const QString infoId = sqlNumber(value.infoId), subId = sqlNumber(value.subId),
                  fieldName = sqlText(value.fieldName), text = sqlText(value.value), mainName = sqlText(value.mainName),
                  mainId = sqlText(value.mainId);
    if (dialect == Dialect::Sqlite) {
        // Inserting a missing value first and setting the main attribute after gives the rows of the guarded batch.
        return QStringLiteral(
                   "INSERT INTO tb_login_ini (infoid, infoname_about, infosubid, infovalue_about, subbyname, "
                   "subbynameid) select %1, %3, %2, %4, %5, %6 where not exists (SELECT * FROM tb_login_ini "
                   "where infoid = %1 and infosubid = %2) ; update tb_login_ini set subbyname = %5, "
                   "subbynameid = %6 where infoid = %1 and infosubid = %2 ;")
            .arg(infoId, subId, fieldName, text, mainName, mainId);
    }
    return QStringLiteral("if not exists  (SELECT * FROM tb_login_ini where infoid = %1  and infosubid = %2 ) "
                          "\t\t\t\t\t\tbegin INSERT INTO tb_login_ini \t\t\t\t\t\t (infoid, infoname_about, infosubid, "
                          "infovalue_about, subbyname, subbynameid) \t\t\t\t\t\t  VALUES (%1,%3, %2, %4, %5, %6) "
                          "end\t\t\t\t\t else \t\t\t\t\t\tbegin update tb_login_ini set subbyname = %5, subbynameid = "
                          "%6 where infoid = %1  and infosubid = %2 end; ")
        .arg(infoId, subId, fieldName, text, mainName, mainId);
}

QStringList transInfoImportBatch(const QList<SubIdValue> &values)
{
    QStringList keys, rows;  // (info ID, sub-ID, main name, main ID) and the six inserted columns of each value
    keys.reserve(values.size());
    rows.reserve(values.size());
    for (const SubIdValue &value : values) {
        const QString infoId = sqlNumber(value.infoId), subId = sqlNumber(value.subId),
                      mainName = sqlText(value.mainName), mainId = sqlText(value.mainId);
        keys << QStringLiteral("(%1, %2, %3, %4)").arg(infoId, subId, mainName, mainId);
        rows << QStringLiteral("(%1, %2, %3, %4, %5, %6)")
                    .arg(infoId, sqlText(value.fieldName), subId, sqlText(value.value), mainName, mainId);
    }
    return {QStringLiteral("update tb_login_ini set subbyname = v.column3, subbynameid = v.column4 from (values %1) "
                           "as v where tb_login_ini.infoid = v.column1 and tb_login_ini.infosubid = v.column2")
                .arg(keys.join(u',')),
            QStringLiteral("insert into tb_login_ini (infoid, infoname_about, infosubid, infovalue_about, subbyname, "
                           "subbynameid) select * from (values %1) as v where not exists (select * from tb_login_ini "
                           "where infoid = v.column1 and infosubid = v.column3)")
                .arg(rows.join(u','))};
}

}  // namespace dbkeel
