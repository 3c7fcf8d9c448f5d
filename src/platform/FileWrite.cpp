#include "platform/FileWrite.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <QSaveFile>
#endif

namespace dbkeel {

namespace {

QString notRegularText(const QString &path)
{
    return QStringLiteral("%1 is not a regular file (a device, FIFO, socket or folder)").arg(path);
}

// The file a write to `path` replaces: the one a symbolic link names, else `path` itself.
QString resolvedTarget(const QString &path)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        const QString canonical = info.canonicalFilePath();
        return canonical.isEmpty() ? info.symLinkTarget() : canonical;
    }
    return path;
}

}  // namespace

#ifdef Q_OS_UNIX

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

QString failure(const char *what, const QString &path, int error)
{
    return QStringLiteral("cannot %1 %2: %3").arg(QLatin1String(what), path, systemReason(error));
}

// A new file beside `target`, created exclusively; -1 with errno when none can be made.
int createTemporary(const QByteArray &target, QByteArray *name)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        *name = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36) + ".part";
        const int fd = ::open(name->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

void syncFolderOf(const QByteArray &target)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : target.left(slash);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

}  // namespace

QString nonRegularTargetError(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || S_ISREG(st.st_mode))
        return {};
    return notRegularText(path) + QStringLiteral("; nothing written");
}

struct StagedFile::Impl {
    QString path;
    QByteArray target, temporary;
    int fd = -1;
    QString error;

    bool fail(const char *what, int code)
    {
        error = failure(what, path, code);
        discard();
        return false;
    }

    void discard()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
        if (!temporary.isEmpty())
            ::unlink(temporary.constData());
        temporary.clear();
    }

    void open()
    {
        target = QFile::encodeName(resolvedTarget(path));
        error = nonRegularTargetError(path);
        if (!error.isEmpty())
            return;
        fd = createTemporary(target, &temporary);
        if (fd < 0) {
            temporary.clear();
            fail("write", errno);
            return;
        }
        struct stat st;
        if (::stat(target.constData(), &st) == 0)
            ::fchmod(fd, st.st_mode & 07777);  // the replaced file's permissions stay
    }

    bool write(const char *data, qint64 size)
    {
        while (size > 0) {
            const ssize_t written = ::write(fd, data, size_t(size));
            if (written < 0) {
                if (errno == EINTR)
                    continue;
                return fail("write", errno);
            }
            data += written;
            size -= written;
        }
        return true;
    }

    bool commit()
    {
        if (::fsync(fd) != 0)
            return fail("write", errno);
        const int closed = ::close(fd);
        fd = -1;
        if (closed != 0)
            return fail("write", errno);
        if (::rename(temporary.constData(), target.constData()) != 0)
            return fail("replace", errno);
        temporary.clear();
        syncFolderOf(target);
        return true;
    }
};

#else

struct StagedFile::Impl {
    QString path;
    QSaveFile file;
    QString error;
    bool opened = false;

    void open()
    {
        error = nonRegularTargetError(path);
        if (!error.isEmpty())
            return;
        file.setFileName(resolvedTarget(path));
        if (!(opened = file.open(QIODevice::WriteOnly)))
            error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
    }
    bool write(const char *data, qint64 size)
    {
        if (file.write(data, size) == size)
            return true;
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        file.cancelWriting();
        return false;
    }
    bool commit()
    {
        if (file.commit())
            return true;
        error = QStringLiteral("cannot write %1: %2").arg(path, file.errorString());
        return false;
    }
    void discard() { file.cancelWriting(); }
};

QString nonRegularTargetError(const QString &path)
{
    const QFileInfo info(path);
    return !info.exists() || info.isFile() ? QString() : notRegularText(path) + QStringLiteral("; nothing written");
}

#endif

StagedFile::StagedFile(const QString &path) : d(std::make_unique<Impl>())
{
    d->path = path;
    d->open();
}

StagedFile::~StagedFile()
{
    d->discard();
}

bool StagedFile::write(const QByteArray &bytes)
{
    return d->error.isEmpty() && d->write(bytes.constData(), bytes.size());
}

bool StagedFile::commit()
{
    return d->error.isEmpty() && d->commit();
}

QString StagedFile::error() const
{
    return d->error;
}

QString writeFileWhole(const QString &path, const QByteArray &bytes)
{
    StagedFile file(path);
    file.write(bytes) && file.commit();
    return file.error();
}

std::optional<QByteArray> readRegularFile(const QString &path, QString *error)
{
    QFile file(path);
#ifdef Q_OS_UNIX
    // Opened without waiting, so that a FIFO with no writer does not hold the caller.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        *error = nonRegularTargetError(path).isEmpty() ? failure("read", path, code) : notRegularText(path);
        return std::nullopt;
    }
    struct stat st;
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    if (!regular || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        *error = regular ? failure("read", path, EIO) : notRegularText(path);
        return std::nullopt;
    }
    const qint64 size = st.st_size;
#else
    const qint64 size = QFileInfo(path).size();
    if (!nonRegularTargetError(path).isEmpty() || !file.open(QIODevice::ReadOnly)) {
        *error = file.isOpen() ? notRegularText(path)
                               : QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
#endif
    QByteArray bytes = file.read(size);
    if (file.error() != QFileDevice::NoError) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    return bytes;
}

}  // namespace dbkeel
