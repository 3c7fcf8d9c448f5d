#include "console/HostLibraryUpdate.h"

#include "console/ConsoleOperations.h"
#include "console/ConsoleThreads.h"
#include "console/StationCommands.h"
#include "core/HostLib.h"
#include "platform/FileWrite.h"
#include "platform/Paths.h"
#include "platform/Prompt.h"

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

// Replaces `target` by a whole copy of `source` (a file is never replaced by itself): empty, or the
// reason it could not.
QString replaceFile(const QString &source, const QString &target)
{
    if (QFileInfo(source).canonicalFilePath() == QFileInfo(target).canonicalFilePath())
        return {};
    QString error;
    const std::optional<QByteArray> bytes = readRegularFile(source, &error);
    return bytes ? writeFileWhole(target, *bytes) : error;
}

}  // namespace

void replaceHostLibrary(std::chrono::milliseconds receiveLoopWait)
{
    const QString chosen = prompt().chooseFile(ConsoleOperations::fileRequestFor(hostLibrarySuffix()));
    if (chosen.isEmpty())
        return;
    const bool receiving = consoleThreads().isReceiveLoopRunning();
    consoleThreads().stopReceiveLoop(receiveLoopWait);
    QString replaced;
    {
        // The worker's sweep and the watchdog's probe wait here and go on with the new library.
        const HostLib::Hold hold(hostLib());
        hostLib().closeNet(kStationChannel);  // the old library's socket would keep the port
        hostLib().unload();
        replaced = replaceFile(chosen, joinPath(systemDirectory(), QFileInfo(chosen).fileName()));
        hostLib().load(1, systemDirectory());
        openStationChannel();
    }
    if (receiving)
        consoleThreads().startReceiveLoop();
    if (!replaced.isEmpty())
        prompt().message(QStringLiteral("提示"), QStringLiteral("更新失败:") + replaced, PromptIcon::Exclamation);
    else
        prompt().message(QStringLiteral("提示"), QStringLiteral("更新成功,请重新启动本系统工具!"),
                         PromptIcon::Information);
}

}  // namespace dbkeel
