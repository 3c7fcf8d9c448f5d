#pragma once
// What every fuzz target shares: a scratch folder for the files it parses, and a check that stops
// the run (so libFuzzer saves the input) when an invariant of the code under test does not hold.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace dbkeel::fuzz {

#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);                         \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

inline QByteArray inputBytes(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A path in a folder that lives as long as the process; in memory where the system has a place for
// it, since saving a file syncs it to disk.
inline QString scratchPath(const QString &name)
{
    static QTemporaryDir dir(QFileInfo(QStringLiteral("/dev/shm")).isWritable()
                                 ? QStringLiteral("/dev/shm/dbkeel-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/dbkeel-fuzz-XXXXXX"));
    return dir.filePath(name);
}

// Replaces the file at `path` with `bytes`.
inline void writeScratch(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    FUZZ_CHECK(file.write(bytes) == bytes.size());
}

inline QByteArray readScratch(const QString &path)
{
    QFile file(path);
    FUZZ_CHECK(file.open(QIODevice::ReadOnly));
    return file.readAll();
}

}  // namespace dbkeel::fuzz
