#include "agent/AgentLog.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace dbkeel::agent {

bool AgentLog::open(const QString &path, qint64 maxBytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    m_file.setFileName(path);
    m_maxBytes = maxBytes;
    return m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
}

void AgentLog::write(const QString &text)
{
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray bytes =
        (QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + line + u'\n').toUtf8();
    if (m_maxBytes > 0 && m_file.size() > 0 && m_file.size() + bytes.size() > m_maxBytes)
        rotate();
    m_file.write(bytes);
    m_file.flush();
}

void AgentLog::rotate()
{
    const QString path = m_file.fileName();
    const QString older = path + QStringLiteral(".1");
    m_file.close();
    // rename(2) replaces an older "<log>.1" in one step, where QFile::rename would refuse to.
    if (std::rename(QFile::encodeName(path).constData(), QFile::encodeName(older).constData()) == 0) {
        m_file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text);
        return;
    }
    const QString why = QString::fromLocal8Bit(std::strerror(errno));
    m_file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text);
    write(QStringLiteral("the log was started over: it could not be moved to %1: %2").arg(older, why));
}

}  // namespace dbkeel::agent
