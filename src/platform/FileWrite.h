#pragma once
// The one way the program writes a file: the new content goes to a temporary file beside the
// target, every byte of it is written and synced, and only then is it renamed over the target and
// the folder synced. Any failure removes the temporary file, leaves the target as it was and gives
// the system's reason ("No space left on device"). A target that exists and is not a regular file
// (a device, a FIFO, a socket, a folder) is refused before anything is written; a symbolic link is
// followed, so the file it names is replaced and the link stays.

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>

namespace dbkeel {

// Why `path` cannot be written as a file: empty when it names no file or a regular file.
QString nonRegularTargetError(const QString &path);

// The new content of one file, written piece by piece and put in place by commit(). Several staged
// files written first and committed after give a set of files that is replaced only when all of
// them were written whole. Destroyed without a commit, it removes its temporary file.
class StagedFile {
public:
    explicit StagedFile(const QString &path);
    ~StagedFile();
    StagedFile(const StagedFile &) = delete;
    StagedFile &operator=(const StagedFile &) = delete;

    // All of `bytes` or false with error(); once false, every later call is false.
    bool write(const QByteArray &bytes);
    // Syncs the temporary file and renames it over the target, then syncs the folder.
    bool commit();
    QString error() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

// Replaces `path` by `bytes`, whole or not at all: empty on success, else the reason.
QString writeFileWhole(const QString &path, const QByteArray &bytes);

// The content of the regular file `path`, read up to the size it has when opened (a device or FIFO
// would never end); nothing with `error` when it is missing, not a regular file or unreadable.
std::optional<QByteArray> readRegularFile(const QString &path, QString *error);

}  // namespace dbkeel
