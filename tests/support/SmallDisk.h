#pragma once
// A folder with little room, for the tests of what happens when a write does not reach the disk.
// Where the test may mount (it runs as root in CI) it is a tmpfs of `room` bytes (whole pages of
// 4 KiB) on a temporary folder: a write past them fails with "No space left on device".
// Where mounting is refused, it is a temporary folder and the process gets a file size limit of
// `room` bytes (a write past it fails with "File too large") until the fixture goes. It prints
// which of the two ran.

#include <QString>
#include <QTemporaryDir>

namespace dbkeel::test {

class SmallDisk {
public:
    explicit SmallDisk(qint64 room);
    ~SmallDisk();
    SmallDisk(const SmallDisk &) = delete;
    SmallDisk &operator=(const SmallDisk &) = delete;

    QString path() const { return m_folder.path(); }
    QString filePath(const QString &name) const { return m_folder.filePath(name); }
    bool mounted() const { return m_mounted; }
    // The system's text for a write that found no room.
    QString fullReason() const;
    // The names in the folder.
    QStringList entries() const;

private:
    QTemporaryDir m_folder;
    bool m_mounted = false;
    qint64 m_oldLimit = -1;
};

}  // namespace dbkeel::test
