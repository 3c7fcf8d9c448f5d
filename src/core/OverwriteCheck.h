#pragma once
// Telling a database file written over in place (`cp other.db db`: same file, other content) from
// the checkpoints of every connection on it. In WAL mode page 1 of the file (the header with page
// count, schema cookie and change counter, and the schema's first entries) changes only when a
// checkpoint copies a frame of page 1 from the -wal into it, and every connection of the installation
// goes through the same -wal. So a page 1 that changed and matches no page-1 frame the -wal holds or
// held was not written by a checkpoint. A database whose page 1 is the same is not told apart.

#include "platform/FileIdentity.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <memory>
#include <optional>

namespace dbkeel {

inline constexpr int kDatabaseHeaderBytes = 100;

class OverwriteCheck {
public:
    enum class Verdict {
        Unchanged,    // the header is as last seen, or a checkpoint wrote it
        Overwritten,  // written by something else than a checkpoint: the journal is not the file's
        Unsure,       // the -wal started over or went since the last look, so a checkpoint may have written it
    };

    OverwriteCheck() = default;
    ~OverwriteCheck();
    OverwriteCheck(const OverwriteCheck &) = delete;
    OverwriteCheck &operator=(const OverwriteCheck &) = delete;

    // Opens the file the connection was just opened on and notes its header and the -wal's page-1
    // frames. The file stays open: closing any descriptor of a file drops every lock the process's
    // connections hold on it, and another process's connection could then checkpoint and delete the
    // -wal under them.
    void note(const QString &databaseFile);
    // Nothing noted any more (the file is closed when no connection of the process is on it).
    void forget();
    bool noted() const { return m_database != nullptr; }
    Verdict look();
    // The file's size is whole pages as its header says: it is not still being copied.
    bool looksComplete();
    // Holds a read lock on the bytes SQLite's readers lock, as a lock of the open file (which conflicts
    // with the connections' locks of this process too): no connection gets the exclusive lock, so
    // closing the last one neither checkpoints into the file nor deletes its -wal and -shm.
    bool blockCheckpoints();
    void allowCheckpoints();

private:
    struct Journal {
        std::optional<FileIdentity> identity;
        QByteArray generation;             // checkpoint sequence and salts of the -wal header
        qint64 scannedTo = 0;              // the end of the frames of this generation read
        QList<QByteArray> pageOneHeaders;  // every page-1 frame read, as the check keeps page 1
    };
    // The -wal's frames, from the end of those read into `since` when it is the same -wal not started over.
    Journal readJournal(const Journal *since) const;
    void remember(const Journal &journal);
    bool checkpointWrote(const QByteArray &header, const Journal &journal) const;
    QByteArray readPageOne();
    void closeFile();
    bool othersHoldFile() const;  // another descriptor of the process on the file: a connection

    std::unique_ptr<QFile> m_database;
    QString m_path;
    QByteArray m_header;  // page 1 of the file at the last look
    Journal m_journal;
    QList<QByteArray> m_seenPageOne;  // page-1 headers seen in the -wal at earlier looks
};

// True when a descriptor of this process other than `ignoredDescriptor` is open on the file.
bool processHoldsOpen(const FileIdentity &file, int ignoredDescriptor = -1);

}  // namespace dbkeel
