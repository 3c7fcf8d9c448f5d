// The one checked writer: on a disk without room, with targets that are not files, and the profile
// files that go through it.

#include "platform/FileWrite.h"
#include "platform/Profile.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

using namespace dbkeel;
using dbkeel::test::readFileBytes;
using dbkeel::test::SmallDisk;
using dbkeel::test::writeFileBytes;

namespace {

const QByteArray kOld = QByteArray("[old]\r\nkept=1\r\n");

TEST(FileWrite, WritesWholeAndKeepsPermissionsAndLinks)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("a.ini"));
    writeFileBytes(target, kOld);
    ::chmod(QFile::encodeName(target).constData(), 0640);
    const QString link = dir.filePath(QStringLiteral("link.ini"));
    ASSERT_TRUE(QFile::link(target, link));

    EXPECT_EQ(writeFileWhole(link, "new"), QString());
    EXPECT_EQ(readFileBytes(target), "new");
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(target).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

// What does not fit is an error with the system's reason; the old file stays and no temporary is left.
TEST(FileWrite, FullDiskLeavesTheTargetAndReportsTheReason)
{
    SmallDisk disk(8 * 1024);
    const QString target = disk.filePath(QStringLiteral("SystemIndex.ini"));
    writeFileBytes(target, kOld);

    const QString error = writeFileWhole(target, QByteArray(64 * 1024, 'x'));
    EXPECT_TRUE(error.contains(disk.fullReason())) << error.toStdString();
    EXPECT_TRUE(error.contains(target));
    EXPECT_EQ(readFileBytes(target), kOld);
    EXPECT_EQ(disk.entries(), QStringList{QStringLiteral("SystemIndex.ini")});

    ProfileFile profile(target);
    ASSERT_TRUE(profile.writeString(QStringLiteral("big"), QStringLiteral("k"), QString(20000, u'v')));
    EXPECT_FALSE(profile.save());
    EXPECT_TRUE(profile.lastError().contains(disk.fullReason())) << profile.lastError().toStdString();
    EXPECT_EQ(readFileBytes(target), kOld);
    EXPECT_EQ(disk.entries(), QStringList{QStringLiteral("SystemIndex.ini")});
}

// A device, a FIFO, a socket or a folder is refused before anything is written, without reading or
// waiting on it, and stays what it was.
TEST(FileWrite, TargetsThatAreNotFilesAreRefused)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(QStringLiteral("fifo")), device = dir.filePath(QStringLiteral("zero")),
                  socket = dir.filePath(QStringLiteral("socket")), folder = dir.filePath(QStringLiteral("folder"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ASSERT_EQ(::mknod(QFile::encodeName(device).constData(), S_IFCHR | 0600, makedev(1, 5)), 0) << "needs root";
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, QFile::encodeName(socket).constData(), sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);

    for (const QString &target : {fifo, device, socket, folder}) {
        SCOPED_TRACE(target.toStdString());
        const QString error = writeFileWhole(target, "x");
        EXPECT_TRUE(error.contains(QStringLiteral("not a regular file"))) << error.toStdString();
        QString readError;
        EXPECT_FALSE(readRegularFile(target, &readError));
        EXPECT_TRUE(readError.contains(QStringLiteral("not a regular file"))) << readError.toStdString();

        ProfileFile profile(target);
        ASSERT_TRUE(profile.writeString(QStringLiteral("s"), QStringLiteral("k"), QStringLiteral("v")));
        EXPECT_FALSE(profile.save());
        EXPECT_TRUE(profile.lastError().contains(QStringLiteral("not a regular file")));
    }
    ::close(fd);
    struct stat st;
    ASSERT_EQ(::stat(QFile::encodeName(device).constData(), &st), 0);
    EXPECT_TRUE(S_ISCHR(st.st_mode));
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot).size(),
              4);
}

TEST(FileWrite, StagedFilesAreLeftUnlessCommitted)
{
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("UserID.dat"));
    writeFileBytes(target, kOld);
    {
        StagedFile staged(target);
        ASSERT_TRUE(staged.write("new"));
    }
    EXPECT_EQ(readFileBytes(target), kOld);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
    StagedFile staged(target);
    ASSERT_TRUE(staged.write("ne") && staged.write("w"));
    ASSERT_TRUE(staged.commit()) << staged.error().toStdString();
    EXPECT_EQ(readFileBytes(target), "new");
}

}  // namespace
