#include "agent/SystemActions.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSet>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>

extern char **environ;

namespace dbkeel::agent {

namespace {

// The program name of a process: the file name of its first argument; empty for kernel threads
// and processes that are gone.
QString programName(const QString &pid)
{
    QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(pid));
    if (!cmdline.open(QIODevice::ReadOnly))
        return {};
    const QByteArray arguments = cmdline.read(4096);
    const QByteArray first = arguments.left(arguments.indexOf('\0'));
    return QFileInfo(QString::fromLocal8Bit(first)).fileName();
}

QStringList processIds()
{
    QStringList ids;
    for (const QString &entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool isNumber = false;
        entry.toInt(&isNumber);
        if (isNumber)
            ids.append(entry);
    }
    return ids;
}

// The real path of `path` (links followed, "." and ".." removed); empty when it cannot be found in
// full, whatever the reason (no such file, a path longer than PATH_MAX, a loop of links).
QString realPath(const QString &path)
{
    char *resolved = ::realpath(QFile::encodeName(path).constData(), nullptr);
    if (!resolved)
        return {};
    const QString result = QFile::decodeName(resolved);
    std::free(resolved);
    return result;
}

QString descriptorPath(int descriptor)
{
    return QStringLiteral("/proc/self/fd/") + QString::number(descriptor);
}

// The real path of the file open as `descriptor`, as the kernel names it; empty when that name
// does not fit in PATH_MAX bytes, or the file is no longer reachable by a path.
QString realPathOf(int descriptor)
{
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink(QFile::encodeName(descriptorPath(descriptor)).constData(), buffer, sizeof buffer);
    if (length <= 0 || length >= ssize_t(sizeof buffer) || buffer[0] != '/')
        return {};
    const QString path = QFile::decodeName(QByteArray(buffer, length));
    return path.endsWith(QLatin1String(" (deleted)")) ? QString() : path;
}

bool isInside(const QString &realFilePath, const QString &folder)
{
    QString prefix = realPath(folder);
    if (prefix.isEmpty())
        return false;
    if (!prefix.endsWith(QLatin1Char('/')))
        prefix += QLatin1Char('/');
    return realFilePath.startsWith(prefix);
}

}  // namespace

QStringList processNames()
{
    QSet<QString> names;
    for (const QString &pid : processIds()) {
        const QString name = programName(pid);
        if (!name.isEmpty())
            names.insert(name);
    }
    QStringList sorted(names.begin(), names.end());
    sorted.sort();
    return sorted;
}

int endProcesses(const QString &name)
{
    const QString self = QString::number(::getpid());
    int asked = 0;
    for (const QString &pid : processIds()) {
        if (pid != self && !name.isEmpty() && programName(pid) == name && ::kill(pid.toInt(), SIGTERM) == 0)
            ++asked;
    }
    return asked;
}

ProgramChoice::ProgramChoice(ProgramChoice &&other) noexcept
    : path(std::move(other.path)), refusal(std::move(other.refusal)), descriptor(std::exchange(other.descriptor, -1))
{}

ProgramChoice &ProgramChoice::operator=(ProgramChoice &&other) noexcept
{
    std::swap(path, other.path);
    std::swap(refusal, other.refusal);
    std::swap(descriptor, other.descriptor);
    return *this;
}

ProgramChoice::~ProgramChoice()
{
    if (descriptor >= 0)
        ::close(descriptor);
}

ProgramChoice ProgramChoice::refused(const Reason &why)
{
    ProgramChoice choice;
    choice.refusal = why;
    return choice;
}

ProgramChoice chooseProgram(const QString &requested, const QStringList &folders)
{
    if (requested.isEmpty())
        return ProgramChoice::refused(reason(Why::NoProgramNamed));
    if (folders.isEmpty())
        return ProgramChoice::refused(reason(Why::NoProgramFolder));
    if (!QDir::isAbsolutePath(requested))
        return ProgramChoice::refused(reason(Why::NotAbsolute));
    if (requested.split(QLatin1Char('/')).contains(QLatin1String("..")))
        return ProgramChoice::refused(reason(Why::HoldsDotDot));
    ProgramChoice choice;
    choice.descriptor = ::open(QFile::encodeName(requested).constData(), O_PATH | O_CLOEXEC);
    if (choice.descriptor < 0) {
        const bool missing = errno == ENOENT || errno == ENOTDIR;
        return ProgramChoice::refused(missing ? reason(Why::NoSuchFile) : reason(Why::CannotResolve, errno));
    }
    const QString path = realPathOf(choice.descriptor);
    if (path.isEmpty())
        return ProgramChoice::refused(reason(Why::CannotResolve));
    if (std::none_of(folders.begin(), folders.end(), [&](const QString &folder) { return isInside(path, folder); }))
        return ProgramChoice::refused(reason(Why::OutsideFolders));
    struct stat status {};
    if (::fstat(choice.descriptor, &status) != 0 || !S_ISREG(status.st_mode))
        return ProgramChoice::refused(reason(Why::NotRegularFile));
    if (::access(QFile::encodeName(descriptorPath(choice.descriptor)).constData(), X_OK) != 0)
        return ProgramChoice::refused(reason(Why::NotExecutable));
    choice.path = path;
    return choice;
}

// Runs the opened file itself (never its path again) in a grandchild of its own session, so that
// it outlives the agent and leaves no zombie. The grandchild reports a failed exec through a pipe
// that closes on a successful one. Between fork and exec only async-signal-safe calls are made.
Reason startProgram(const ProgramChoice &program)
{
    const QByteArray name = QFile::encodeName(program.path);
    char *const arguments[] = {const_cast<char *>(name.constData()), nullptr};
    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0)
        return systemReason(errno);
    const pid_t child = ::fork();
    if (child == 0) {
        ::setsid();
        const pid_t grandchild = ::fork();
        if (grandchild > 0)
            ::_exit(0);
        if (grandchild == 0) {
            sigset_t none;
            sigemptyset(&none);
            ::sigprocmask(SIG_SETMASK, &none, nullptr);
            ::prctl(PR_CAP_AMBIENT, PR_CAP_AMBIENT_CLEAR_ALL, 0, 0, 0);
            // A script's interpreter reads the script through /dev/fd/N: keep it open across exec.
            ::fcntl(program.descriptor, F_SETFD, 0);
            ::fexecve(program.descriptor, arguments, environ);
        }
        const int error = errno;
        [[maybe_unused]] const ssize_t written = ::write(report[1], &error, sizeof error);
        ::_exit(127);
    }
    const int forkError = errno;
    ::close(report[1]);
    if (child < 0) {
        ::close(report[0]);
        return systemReason(forkError);
    }
    ::waitpid(child, nullptr, 0);
    int error = 0;
    const ssize_t got = ::read(report[0], &error, sizeof error);
    ::close(report[0]);
    return got == ssize_t(sizeof error) ? systemReason(error) : Reason();
}

Reason setClock(const QDateTime &localTime)
{
    if (!localTime.isValid())
        return reason(Why::NotATime);
    const timespec when{time_t(localTime.toSecsSinceEpoch()), 0};
    return ::clock_settime(CLOCK_REALTIME, &when) == 0 ? Reason() : systemReason(errno);
}

Reason shutDown(bool restart)
{
    const QStringList arguments{restart ? QStringLiteral("-r") : QStringLiteral("-h"), QStringLiteral("now")};
    return QProcess::startDetached(QStringLiteral("shutdown"), arguments) ? Reason() : reason(Why::ShutdownNotRun);
}

}  // namespace dbkeel::agent
