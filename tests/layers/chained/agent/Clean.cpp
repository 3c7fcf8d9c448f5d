// Calls that only look like chains: one multi-argument arg, an arg nested inside another, and ".arg("
// inside string literals. The check must accept this file.
#include <QString>

QString statusLine(const QString &name, int count)
{
    const QString inner = QStringLiteral("(%1)").arg(QStringLiteral("%1").arg(name));
    return QStringLiteral("%1: %2 \").arg(\"").arg(inner, QString::number(count)) + QStringLiteral(").arg(");
}
