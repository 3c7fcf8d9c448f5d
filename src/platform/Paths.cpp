#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>

namespace dbkeel {
namespace {

bool isSeparator(QChar c)
{
    return c == QDir::separator() || c == u'/';
}

}  // namespace

QString systemDirectory()
{
    const QString configured = qEnvironmentVariable("DBKEEL_SYSDIR");
    if (!configured.isEmpty())
        return configured;
    return QDir::homePath() + QStringLiteral("/.local/share/dbkeel/system");
}

QString installedLibraryDirectory()
{
    if (!QCoreApplication::instance())
        return {};
    return QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../lib/dbkeel"));
}

QString joinPath(const QString &a, const QString &b)
{
    if (a.isEmpty())
        return b;
    QString head = a;
    if (isSeparator(head.back()))
        head.chop(1);
    const qsizetype skip = !b.isEmpty() && isSeparator(b.front()) ? 1 : 0;
    return head + QDir::separator() + b.mid(skip);
}

}  // namespace dbkeel
