#include "core/SqlValue.h"

#include "core/SharedDb.h"

#include <algorithm>

namespace dbkeel {

QString sqlText(const QString &value)
{
    QString doubled = value;
    doubled.replace(QLatin1Char('\''), QLatin1String("''"));
    return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

namespace {

// An optional sign and at least one ASCII digit.
bool isDecimal(QStringView text)
{
    if (!text.isEmpty() && (text.front() == u'+' || text.front() == u'-'))
        text = text.sliced(1);
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

}  // namespace

QString sqlNumber(const QString &value)
{
    const QString trimmed = value.trimmed();
    if (!isDecimal(trimmed))
        throw DbError(QStringLiteral("[Dbkeel]Conversion failed when converting the varchar value %1 to data type int.")
                          .arg(sqlText(value)));
    return trimmed;
}

QString sqlNumber(long long value)
{
    return QString::number(value);
}

}  // namespace dbkeel
