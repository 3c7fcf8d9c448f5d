// A statement built by chained arg calls across lines: the check must refuse it.
#include <QString>

QString insertName(const QString &name, int code)
{
    return QStringLiteral("insert into t(name, code) values('%1', %2)")
        .arg(name.left(qMin(name.size(), 49)))
        .arg(code);
}
