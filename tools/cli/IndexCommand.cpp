// dbkeel-cli index: the system index file and the user file, built as the screen builds them.

#include "core/Database.h"
#include "indexfiles/IndexFileBuild.h"
#include "tools/cli/CliSession.h"

namespace dbkeel::cli {

namespace {

QString outcomeText(const PartOutcome &part)
{
    switch (part.result) {
    case PartResult::Succeeded:
        return part.remark.isEmpty() ? QStringLiteral("ok") : QStringLiteral("ok (%1)").arg(part.remark);
    case PartResult::NoConnection: return QStringLiteral("no connection: %1").arg(part.error);
    case PartResult::Failed: break;
    }
    return QStringLiteral("failed: %1").arg(part.error);
}

}  // namespace

int runIndex(const QStringList &arguments)
{
    bool quiet = false;
    for (const QString &argument : arguments) {
        if (argument != QLatin1String("-q")) {
            err() << "dbkeel-cli index: unknown argument \"" << argument << "\"\n";
            return CouldNotStart;
        }
        quiet = true;
    }
    QString error;
    if (!openInstallation(error)) {
        err() << "dbkeel-cli index: " << error << '\n';
        return CouldNotStart;
    }

    IndexBuildCallbacks callbacks;
    callbacks.partFinished = [quiet](const PartOutcome &part) {
        if (!quiet || part.result != PartResult::Succeeded || !part.remark.isEmpty())
            out() << part.number << ' ' << part.name << ": " << outcomeText(part) << Qt::endl;
    };
    const IndexFileTargets targets = IndexFileTargets::fromHostConfig();
    const IndexBuildResult result = buildIndexFiles(targets, connectString(), callbacks);
    if (!result.startError.isEmpty()) {
        err() << "dbkeel-cli index: " << result.startError << '\n';
        return CouldNotStart;
    }
    if (!result.fileError.isEmpty()) {  // the new files are not there whole: nothing to point at
        if (!result.failedParts().isEmpty())
            err() << "dbkeel-cli index: failed parts: " << result.failedParts().join(QStringLiteral(", ")) << '\n';
        err() << "dbkeel-cli index: " << result.fileError << "; the old files were kept\n";
        return PartFailed;
    }
    if (!result.failedParts().isEmpty()) {
        err() << "dbkeel-cli index: failed parts: " << result.failedParts().join(QStringLiteral(", "))
              << "; the old files were kept, the new ones are in " << targets.indexTemp() << " and "
              << targets.userTemp() << '\n';
        return PartFailed;
    }
    if (!quiet)
        out() << "wrote " << targets.indexFile << " and " << targets.userFile() << '\n';
    return Succeeded;
}

}  // namespace dbkeel::cli
