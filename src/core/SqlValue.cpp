#include "core/SqlValue.h"

#include "core/SharedDb.h"

#include <QRegularExpression>

namespace dbkeel {

QString sqlText(const QString &value)
{
    QString doubled = value;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString sqlNumber(const QString &value)
{
    static const QRegularExpression decimal(QStringLiteral("^[+-]?[0-9]+$"));
    const QString trimmed = value.trimmed();
    if (!decimal.match(trimmed).hasMatch())
        throw DbError(QStringLiteral("[Dbkeel]Conversion failed when converting the varchar value %1 to data type int.")
                          .arg(sqlText(value)));
    return trimmed;
}

QString sqlNumber(long long value)
{
    return QString::number(value);
}

}  // namespace dbkeel
