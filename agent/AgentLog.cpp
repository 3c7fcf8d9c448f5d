#include "AgentLog.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace dbkeel::agent {

bool AgentLog::open(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    m_file.setFileName(path);
    return m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
}

void AgentLog::write(const QString &text)
{
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    m_file.write((QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + line + u'\n').toUtf8());
    m_file.flush();
}

}  // namespace dbkeel::agent
