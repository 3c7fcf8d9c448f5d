// PostLog: one dated line per call in <system directory>/log/HostCfg.log.

#include "hostcfg/HostCfg.h"

#include "platform/Paths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <mutex>

namespace {

QByteArray logLine(const char *text)
{
    QByteArray line = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toLatin1();
    line += ' ';
    line += text;
    line.replace('\r', ' ').replace('\n', ' ');
    line += "\r\n";
    return line;
}

}  // namespace

extern "C" int PostLog(const char *text)
{
    if (!text)
        return -1;
    static std::mutex logMutex;
    const QByteArray line = logLine(text);
    const QString folder = dbkeel::joinPath(dbkeel::systemDirectory(), QStringLiteral("log"));
    const std::lock_guard lock(logMutex);
    if (!QDir().mkpath(folder))
        return 0;
    QFile log(dbkeel::joinPath(folder, QStringLiteral("HostCfg.log")));
    if (!log.open(QIODevice::WriteOnly | QIODevice::Append))
        return 0;
    return log.write(line) == line.size() ? 1 : 0;
}
