#include "agent/SystemActions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <unistd.h>

namespace dbkeel::agent {

namespace {

// The program name of a process: the file name of its first argument; empty for kernel threads
// and processes that are gone.
QString programName(const QString &pid)
{
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return {};
    const QByteArray arguments = cmdline.read(4096);
    const QByteArray first = arguments.left(arguments.indexOf('\0'));
    return QFileInfo(QString::fromLocal8Bit(first)).fileName();
}

QStringList processIds()
{
    QStringList ids;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isNumber = false;
        entry.toInt(&isNumber);
        if (isNumber)
            ids.append(entry);
    }
    return ids;
}

QString errnoText()
{
    return QString::fromLocal8Bit(std::strerror(errno));
}

bool isInside(const QString &canonicalPath, const QString &folder)
{
    QString prefix = QFileInfo(folder).canonicalFilePath();
    if (prefix.isEmpty())
        return false;
    if (!prefix.endsWith(QLatin1Char('/')))
        prefix += QLatin1Char('/');
    return canonicalPath.startsWith(prefix);
}

}  // namespace

QStringList processNames()
{
    QSet<QString> names;
    for (const QString &pid : processIds()) {
        const QString name = programName(pid);
        if (!name.isEmpty())
            names.insert(name);
    }
    QStringList sorted(names.begin(), names.end());
    sorted.sort();
    return sorted;
}

int endProcesses(const QString &name)
{
    const QString self = QString::number(::getpid());
    int asked = 0;
    for (const QString &pid : processIds()) {
        if (pid != self && !name.isEmpty() && programName(pid) == name && ::kill(pid.toInt(), SIGTERM) == 0)
            ++asked;
    }
    return asked;
}

ProgramChoice chooseProgram(const QString &requested, const QStringList &folders)
{
    const auto refuse = [](const QString &why) { return ProgramChoice{QString(), why}; };
    if (requested.isEmpty())
        return refuse(QStringLiteral("no program named"));
    if (folders.isEmpty())
        return refuse(QStringLiteral("no program folder is configured"));
    if (!QDir::isAbsolutePath(requested))
        return refuse(QStringLiteral("not an absolute path"));
    const QString path = QFileInfo(requested).canonicalFilePath();
    if (path.isEmpty())
        return refuse(QStringLiteral("no such file"));
    if (std::none_of(folders.begin(), folders.end(), [&](const QString &folder) { return isInside(path, folder); }))
        return refuse(QStringLiteral("outside the program folders"));
    if (!QFileInfo(path).isFile())
        return refuse(QStringLiteral("not a regular file"));
    if (::access(QFile::encodeName(path).constData(), X_OK) != 0)
        return refuse(QStringLiteral("not executable"));
    return {path, QString()};
}

QString startProgram(const QString &path)
{
    return QProcess::startDetached(path, {}) ? QString() : QStringLiteral("could not start %1").arg(path);
}

QString setClock(const QDateTime &localTime)
{
    if (!localTime.isValid())
        return QStringLiteral("not a time");
    const timespec when{time_t(localTime.toSecsSinceEpoch()), 0};
    return ::clock_settime(CLOCK_REALTIME, &when) == 0 ? QString() : errnoText();
}

QString shutDown(bool restart)
{
    const QStringList arguments{restart ? QStringLiteral("-r") : QStringLiteral("-h"), QStringLiteral("now")};
    return QProcess::startDetached(QStringLiteral("shutdown"), arguments) ? QString()
                                                                          : QStringLiteral("could not run shutdown");
}

}  // namespace dbkeel::agent
