#include "dictionaries/DictionarySql.h"

#include "core/SqlValue.h"

#include <QStringList>

namespace dbkeel {

QString dictionaryInsertStatement(const DictionaryVariant &v, const DictionaryRow &row)
{
    QStringList columns{v.codeColumn, v.nameColumn};
    QStringList values{sqlNumber(row.code), sqlText(row.name)};
    if (v.hasKey()) {
        columns << v.keyColumn;
        values << sqlText(row.key);
    }
    columns << QStringLiteral("res") << QStringLiteral("remark");
    values << sqlText(row.state) << sqlText(row.remark);
    return QStringLiteral("insert into %1( %2)values(%3 ) ;").arg(v.table, columns.join(u','), values.join(u','));
}

QString dictionaryDeleteStatement(const DictionaryVariant &v, const DictionaryRow &row)
{
    return QStringLiteral("delete from %1 where ID = %2 and %3 = %4 ; ")
        .arg(v.table, sqlNumber(row.id), v.codeColumn, sqlNumber(row.code));
}

QString dictionaryUpdateStatement(const DictionaryVariant &v, const DictionaryRow &row)
{
    const QString key = v.hasKey() ? QStringLiteral(" ,%1 = %2").arg(v.keyColumn, sqlText(row.key))
                                   : QStringLiteral(" ");
    return QStringLiteral("update %1 set %2 =%3%4 , res = %5 , remark = %6 where ID = %7 and %8 = %9 ; ")
        .arg(v.table, v.nameColumn, sqlText(row.name), key, sqlText(row.state), sqlText(row.remark), sqlNumber(row.id),
             v.codeColumn, sqlNumber(row.code));
}

QString dictionaryImportStatement(Dialect dialect, const DictionaryVariant &v, const ImportRecord &record, bool forced)
{
    const QString code = sqlNumber(record.code);
    QStringList columns{v.codeColumn, v.nameColumn};
    QStringList values{code, sqlText(record.name)};
    if (v.hasKey()) {
        columns << v.keyColumn;
        values << sqlText(record.key);
    }
    if (v.importsStateAndTime) {
        columns << QStringLiteral("res") << QStringLiteral("insertdate");
        values << sqlText(record.state) << sqlText(record.time);
    }
    const QString missing = QStringLiteral("SELECT * FROM %1 where %2 = %3").arg(v.table, v.codeColumn, code);
    const QString rename = QStringLiteral("update %1 set %2 = %3 where %4 = %5")
                               .arg(v.table, v.nameColumn, sqlText(record.name), v.codeColumn, code);
    if (dialect == Dialect::SqlServer) {
        QString text = QStringLiteral("if not exists( %1 ) \t\t\tbegin insert into %2(%3)values(%4) End")
                           .arg(missing, v.table, columns.join(u','), values.join(u','));
        if (forced)
            text += QStringLiteral(" ELSE begin \t\t\t%1 End").arg(rename);
        return text;
    }
    // Inserting first and renaming after gives the same rows as the guarded batch.
    QString text = QStringLiteral("insert into %1(%2) select %3 where not exists( %4 )")
                       .arg(v.table, columns.join(u','), values.join(u','), missing);
    if (forced)
        text += QStringLiteral(" ; ") + rename;
    return text;
}

}  // namespace dbkeel
