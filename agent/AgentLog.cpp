#include "agent/AgentLog.h"

#include "platform/FileWrite.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace dbkeel::agent {

namespace {

constexpr QIODevice::OpenMode kAppend = QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered;

}  // namespace

bool AgentLog::open(const QString &path, qint64 maxBytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    m_file.setFileName(path);
    m_maxBytes = maxBytes;
    m_rotateAt = maxBytes;
    m_error = nonRegularTargetError(path);
    if (!m_error.isEmpty())
        return false;
    if (m_file.open(kAppend))
        return true;
    m_error = QStringLiteral("cannot write %1: %2").arg(path, m_file.errorString());
    return false;
}

bool AgentLog::write(const QString &text)
{
    QString line = text;
    line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const QByteArray bytes =
        (QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss ")) + line + u'\n').toUtf8();
    if (m_maxBytes > 0 && m_file.size() > 0 && m_file.size() + bytes.size() > m_rotateAt)
        rotate();
    return append(bytes);
}

bool AgentLog::append(const QByteArray &bytes)
{
    // Straight to the file, so that a line cut short by a full disk can be taken back.
    const int fd = m_file.handle();
    const off_t before = ::lseek(fd, 0, SEEK_END);
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            m_error = QStringLiteral("cannot write %1: %2")
                          .arg(m_file.fileName(), QString::fromLocal8Bit(std::strerror(written < 0 ? errno : EIO)));
            if (before >= 0 && ::ftruncate(fd, before) != 0)
                m_error += QStringLiteral(" (a part of the line stays)");
            return false;
        }
        done += written;
    }
    return true;
}

QString AgentLog::moveAside(const QString &older)
{
    const QString path = m_file.fileName();
    QString why = nonRegularTargetError(older);
    if (!why.isEmpty())
        return why;
    // A link named "<log>.1" stays and the file it names is replaced, as the checked writer does.
    const QFileInfo link(older);
    const QString target = link.isSymLink() && !link.canonicalFilePath().isEmpty() ? link.canonicalFilePath() : older;
    m_file.close();
    // rename(2) replaces the older file in one step and needs no room; across volumes the log is copied.
    if (std::rename(QFile::encodeName(path).constData(), QFile::encodeName(target).constData()) != 0) {
        const std::optional<QByteArray> content = readRegularFile(path, &why);
        if (content)
            why = writeFileWhole(target, *content);
        if (why.isEmpty())
            why = writeFileWhole(path, QByteArray());
    }
    if (!m_file.open(kAppend) && why.isEmpty())
        why = QStringLiteral("cannot write %1: %2").arg(path, m_file.errorString());
    return why;
}

void AgentLog::rotate()
{
    const QString older = m_file.fileName() + QStringLiteral(".1");
    const QString why = moveAside(older);
    if (why.isEmpty()) {
        m_rotateAt = m_maxBytes;
        return;
    }
    m_rotateAt = m_file.size() + m_maxBytes;
    m_error = why;
    append(QStringLiteral("%1 the log was not moved to %2 and goes on: %3\n")
               .arg(QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), older, why)
               .toUtf8());
}

}  // namespace dbkeel::agent
