#include "core/OverwriteCheck.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QtEndian>

#ifdef Q_OS_LINUX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace dbkeel {

namespace {

constexpr qint64 kWalHeaderBytes = 32;
constexpr qint64 kFrameHeaderBytes = 24;
constexpr int kKeptVersions = 4096;

quint32 bigEndian32(const QByteArray &bytes, int at)
{
    return bytes.size() < at + 4 ? 0 : qFromBigEndian<quint32>(bytes.constData() + at);
}

QByteArray readAt(QFile &file, qint64 offset, qint64 bytes)
{
    return file.seek(offset) ? file.read(bytes) : QByteArray();
}

// Page 1 as the check keeps it: the header as it stands, then a digest of the whole page (the header and
// the schema's first entries).
QByteArray pageOneKey(const QByteArray &page)
{
    return page.left(kDatabaseHeaderBytes) + QCryptographicHash::hash(page, QCryptographicHash::Sha1);
}

qint64 pageSize(const QByteArray &header)
{
    if (header.size() < kDatabaseHeaderBytes)
        return 0;
    const int size = qFromBigEndian<quint16>(header.constData() + 16);
    return size == 1 ? 65536 : size;
}

quint32 changeCounter(const QByteArray &header)
{
    return bigEndian32(header, 24);
}

// The header's file format versions are 2 for WAL mode.
bool walMode(const QByteArray &header)
{
    return header.size() >= kDatabaseHeaderBytes && header.at(18) == 2;
}

}  // namespace

OverwriteCheck::~OverwriteCheck()
{
    closeFile();
}

void OverwriteCheck::closeFile()
{
    if (m_database && othersHoldFile())
        (void)m_database.release();  // left open: closing it would take the connections' locks
    m_database.reset();
}

void OverwriteCheck::forget()
{
    closeFile();
    m_header.clear();
    m_journal = {};
    m_seenPageOne.clear();
}

QByteArray OverwriteCheck::readPageOne()
{
    if (!m_database || !m_database->seek(0))
        return {};
    const QByteArray header = m_database->read(kDatabaseHeaderBytes);
    const qint64 size = pageSize(header);
    return size > kDatabaseHeaderBytes ? pageOneKey(header + m_database->read(size - header.size())) : header;
}

OverwriteCheck::Journal OverwriteCheck::readJournal(const Journal *since) const
{
    Journal journal;
    const QString walPath = m_path + QStringLiteral("-wal");
    journal.identity = fileIdentity(walPath);
    QFile wal(walPath);
    if (!journal.identity || !wal.open(QIODevice::ReadOnly))
        return journal;
    const QByteArray header = wal.read(kWalHeaderBytes);
    const qint64 pageSize = bigEndian32(header, 8);
    if (header.size() < kWalHeaderBytes || pageSize < 512)
        return journal;
    journal.generation = header.mid(12, 12);
    const QByteArray salts = header.mid(16, 8);
    const bool sameGeneration = since && since->identity == journal.identity && since->generation == journal.generation;
    // A -wal started over writes its frames over the old ones from the start; those of the current
    // generation carry its salts. Read from where the last look ended, or every frame in the file,
    // also those a restart left behind.
    journal.scannedTo = sameGeneration ? since->scannedTo : kWalHeaderBytes;
    for (qint64 at = journal.scannedTo; at + kFrameHeaderBytes + pageSize <= wal.size();
         at += kFrameHeaderBytes + pageSize) {
        const QByteArray frameHeader = readAt(wal, at, kFrameHeaderBytes);
        const bool current = frameHeader.mid(8, 8) == salts;
        if (!current && since)
            break;
        if (current && at == journal.scannedTo)
            journal.scannedTo = at + kFrameHeaderBytes + pageSize;
        if (bigEndian32(frameHeader, 0) == 1)
            journal.pageOneHeaders << pageOneKey(readAt(wal, at + kFrameHeaderBytes, pageSize));
    }
    return journal;
}

void OverwriteCheck::note(const QString &databaseFile)
{
    closeFile();
    m_path = databaseFile;
    m_database = std::make_unique<QFile>(databaseFile);
    if (!m_database->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        m_database.reset();
    m_header = readPageOne();
    m_seenPageOne.clear();
    remember(readJournal(nullptr));
}

void OverwriteCheck::remember(const Journal &journal)
{
    for (const QByteArray &seen : journal.pageOneHeaders) {
        if (!m_seenPageOne.contains(seen))
            m_seenPageOne << seen;
    }
    // Versions before the file's are never copied into it again; of the others the latest are kept.
    m_seenPageOne.removeIf([&](const QByteArray &seen) { return changeCounter(seen) < changeCounter(m_header); });
    if (m_seenPageOne.size() > kKeptVersions)
        m_seenPageOne.remove(0, m_seenPageOne.size() - kKeptVersions);
    m_journal = journal;
}

bool OverwriteCheck::checkpointWrote(const QByteArray &header, const Journal &journal) const
{
    // A checkpoint copies a later version of page 1 than the one it replaces, never an earlier one.
    if (m_header.size() >= kDatabaseHeaderBytes && changeCounter(header) < changeCounter(m_header))
        return false;
    return journal.pageOneHeaders.contains(header) || m_seenPageOne.contains(header);
}

OverwriteCheck::Verdict OverwriteCheck::look()
{
    const QByteArray header = readPageOne();
    if (header == m_header) {
        // The frames added since the last look, noted before a restart of the -wal can overwrite them.
        remember(readJournal(&m_journal));
        return Verdict::Unchanged;
    }
    // The whole -wal: a transaction may have written a frame of page 1 again in place.
    const Journal journal = readJournal(nullptr);
    // Without a -wal at the last look the file was in rollback mode, where every commit writes the header.
    const bool applies = walMode(m_header) || m_journal.identity;
    if (!applies || checkpointWrote(header, journal)) {
        m_header = header;
        remember(journal);
        return Verdict::Unchanged;
    }
    const bool sameJournal = journal.identity && journal.identity == m_journal.identity && !journal.generation.isEmpty()
                             && journal.generation == m_journal.generation;
    return sameJournal ? Verdict::Overwritten : Verdict::Unsure;
}

bool OverwriteCheck::looksComplete()
{
    const QByteArray header = readPageOne();
    if (pageSize(header) == 0)
        return false;
    // The page count is valid only when written with the change counter it goes with.
    return bigEndian32(header, 92) != changeCounter(header)
           || m_database->size() == pageSize(header) * bigEndian32(header, 28);
}

#ifdef Q_OS_LINUX

// SQLite's lock bytes: readers lock 510 bytes from two past the pending byte (1 GiB).
constexpr off_t kSharedFirst = 0x40000000 + 2;
constexpr off_t kSharedSize = 510;

namespace {

bool lockReaderBytes(int fd, short type)
{
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = kSharedFirst;
    lock.l_len = kSharedSize;
    return fd >= 0 && ::fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

}  // namespace

bool OverwriteCheck::blockCheckpoints()
{
    return m_database && lockReaderBytes(m_database->handle(), F_RDLCK);
}

void OverwriteCheck::allowCheckpoints()
{
    if (m_database)
        lockReaderBytes(m_database->handle(), F_UNLCK);
}

bool OverwriteCheck::othersHoldFile() const
{
    const int own = m_database ? m_database->handle() : -1;
    struct stat opened {};
    if (own >= 0 && ::fstat(own, &opened) == 0)
        return processHoldsOpen(FileIdentity{quint64(opened.st_dev), quint64(opened.st_ino)}, own);
    return false;
}

bool processHoldsOpen(const FileIdentity &file, int ignoredDescriptor)
{
    const QStringList descriptors = QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System);
    for (const QString &name : descriptors) {
        const int fd = name.toInt();
        struct stat status {};
        if (fd != ignoredDescriptor && ::fstat(fd, &status) == 0
            && FileIdentity{quint64(status.st_dev), quint64(status.st_ino)} == file)
            return true;
    }
    return false;
}

#else

// Not available: the watchdog then stops writing instead of setting the journal aside.
bool OverwriteCheck::blockCheckpoints()
{
    return false;
}

void OverwriteCheck::allowCheckpoints() {}

bool OverwriteCheck::othersHoldFile() const
{
    return true;
}

bool processHoldsOpen(const FileIdentity &, int)
{
    return true;
}

#endif

}  // namespace dbkeel
