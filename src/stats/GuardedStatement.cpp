#include "stats/GuardedStatement.h"

#include "core/SharedDb.h"

namespace dbkeel {

void runGuarded(SharedDb &db, const GuardedStatement &statement)
{
    if (!statement.onlyIfRow.isEmpty() && !db.exists(statement.onlyIfRow))
        return;
    if (!statement.onlyIfNoRow.isEmpty() && db.exists(statement.onlyIfNoRow))
        return;
    db.exec(statement.text);
}

QString sqliteColumnType(const QString &sqlServerType)
{
    const QString type = sqlServerType.trimmed().toLower();
    static const QStringList integers{"bigint", "bit", "int", "integer", "smallint", "tinyint", "timestamp"};
    static const QStringList reals{"decimal", "float", "money", "numeric", "real", "smallmoney"};
    static const QStringList blobs{"binary", "image", "varbinary", "blob"};
    if (integers.contains(type))
        return QStringLiteral("INTEGER");
    if (reals.contains(type))
        return QStringLiteral("REAL");
    if (blobs.contains(type))
        return QStringLiteral("BLOB");
    return QStringLiteral("TEXT");  // the char family, text, dates, identifiers
}

}  // namespace dbkeel
