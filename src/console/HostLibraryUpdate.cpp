#include "console/HostLibraryUpdate.h"

#include "console/ConsoleOperations.h"
#include "console/ConsoleThreads.h"
#include "console/StationCommands.h"
#include "core/HostLib.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"

#include <QFile>
#include <QFileInfo>

namespace dbkeel {

namespace {

QString hostLibrarySuffix()
{
#ifdef Q_OS_WIN
    return QStringLiteral(".dll");
#else
    return QStringLiteral(".so");
#endif
}

// Replaces `target` by a copy of `source`; the old file goes only once the copy is whole, and a
// file is never replaced by itself.
void replaceFile(const QString &source, const QString &target)
{
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath())
        return;
    const QString partial = target + QStringLiteral(".partial");
    QFile::remove(partial);
    if (!QFile::copy(source, partial))
        return;
    QFile::remove(target);
    QFile::rename(partial, target);
}

}  // namespace

void replaceHostLibrary(std::chrono::milliseconds receiveLoopWait)
{
    const QString chosen = prompt().chooseFile(ConsoleOperations::fileRequestFor(hostLibrarySuffix()));
    if (chosen.isEmpty())
        return;
    const bool receiving = consoleThreads().isReceiveLoopRunning();
    consoleThreads().stopReceiveLoop(receiveLoopWait);
    {
        // The worker's sweep and the watchdog's probe wait here and go on with the new library.
        const HostLib::Hold hold(hostLib());
        hostLib().closeNet(kStationChannel);  // the old library's socket would keep the port
        hostLib().unload();
        replaceFile(chosen, joinPath(systemDirectory(), QFileInfo(chosen).fileName()));
        hostLib().load(1, systemDirectory());
        openStationChannel();
    }
    if (receiving)
        consoleThreads().startReceiveLoop();
    prompt().message(QStringLiteral("提示"), QStringLiteral("更新成功,请重新启动本系统工具!"), PromptIcon::Information);
}

}  // namespace dbkeel
