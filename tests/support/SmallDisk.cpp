#include "tests/support/SmallDisk.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <sys/mount.h>
#include <sys/resource.h>

namespace dbkeel::test {

namespace {

constexpr qint64 kPage = 4096;

}  // namespace

SmallDisk::SmallDisk(qint64 room)
{
    const QByteArray folder = QFile::encodeName(m_folder.path());
    const qint64 size = (room + kPage - 1) / kPage * kPage;
    const QByteArray options = "size=" + QByteArray::number(size);
    m_mounted = ::mount("tmpfs", folder.constData(), "tmpfs", 0, options.constData()) == 0;
    if (m_mounted) {
        std::printf("[small disk] tmpfs of %lld bytes mounted\n", size);
        return;
    }
    std::printf("[small disk] mount refused (%s): file size limit of %lld bytes instead\n", std::strerror(errno), room);
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit;
    ::getrlimit(RLIMIT_FSIZE, &limit);
    m_oldLimit = qint64(limit.rlim_cur);
    limit.rlim_cur = rlim_t(room);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

SmallDisk::~SmallDisk()
{
    if (m_mounted) {
        ::umount(QFile::encodeName(m_folder.path()).constData());
        return;
    }
    struct rlimit limit;
    ::getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = rlim_t(m_oldLimit);
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

QString SmallDisk::fullReason() const
{
    return QString::fromLocal8Bit(std::strerror(m_mounted ? ENOSPC : EFBIG));
}

QStringList SmallDisk::entries() const
{
    return QDir(m_folder.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

}  // namespace dbkeel::test
