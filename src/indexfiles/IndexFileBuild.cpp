#include "indexfiles/IndexFileBuild.h"

#include "core/Database.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "indexfiles/IndexParts.h"
#include "platform/FileWrite.h"
#include "platform/Gbk.h"
#include "platform/Paths.h"
#include "platform/Profile.h"

#include <QFile>
#include <QLoggingCategory>

#include <memory>
#include <vector>

namespace dbkeel {

namespace {

Q_LOGGING_CATEGORY(indexTrace, "dbkeel.indexfiles", QtInfoMsg)

QString missingTarget(const IndexFileTargets &targets)
{
    if (targets.indexFile.isEmpty())
        return QStringLiteral("主机配置中没有系统索引文件的路径(第%1项)").arg(hostEntry::SystemIndexFile);
    if (targets.configDir.isEmpty())
        return QStringLiteral("主机配置中没有系统配置目录(第%1项)").arg(hostEntry::ConfigDir);
    return {};
}

QString deleteTemporaryFiles(const IndexFileTargets &targets)
{
    for (const QString &temporary : {targets.indexTemp(), targets.userTemp()})
        if (QFile::exists(temporary) && !QFile::remove(temporary))
            return QStringLiteral("无法删除临时文件 %1").arg(temporary);
    return {};
}

// The temporary index file begins with VERSIONINFO, saved at once so that a folder that cannot be
// written stops the build before any database work; the reason when it cannot be written.
QString startIndexFile(IndexWriter &index, ProfileFile &file)
{
    try {
        index.write(QStringLiteral("VERSIONINFO"), QStringLiteral("VERSION"), versionText({}));
        index.write(QStringLiteral("VERSIONINFO"), QStringLiteral("DESCRIPT"), QStringLiteral("StationCtl"));
    } catch (const DbError &error) {
        return error.text();
    }
    return file.save() ? QString() : file.lastError();
}

PartOutcome runPart(int number, const IndexPart &part, const QString &connectString, IndexWriter &index,
                    const IndexFileTargets &targets)
{
    PartOutcome outcome;
    outcome.number = number;
    outcome.name = part.name;
    SharedDb db;
    try {
        db.open(connectString, kIndexConnectTimeoutSeconds, kIndexConnectTimeoutSeconds);
    } catch (const DbError &error) {
        outcome.result = PartResult::NoConnection;
        outcome.error = error.text();
        return outcome;
    }
    PartContext context{db, index, targets.userTemp(), {}};
    try {
        part.run(context);
        outcome.remark = context.remark;
        return outcome;
    } catch (const PartFailure &failure) {
        outcome.error = failure.error;
        outcome.message = failure.message;
    } catch (const DbError &error) {
        outcome.error = error.text();
        if (part.showsMessage)
            outcome.message = part.messagePrefix + error.text();
    }
    outcome.result = PartResult::Failed;
    if (outcome.message.isEmpty())
        qCDebug(indexTrace, part.trace, outcome.error.toLocal8Bit().constData());
    return outcome;
}

// Replaces each target by a whole copy of its source, all of them or none: every copy is written and
// synced beside its target before the first one is put in place. A missing source leaves its target.
QString replaceWithCopies(const QList<std::pair<QString, QString>> &sourceAndTarget)
{
    std::vector<std::unique_ptr<StagedFile>> copies;
    for (const auto &[source, target] : sourceAndTarget) {
        if (!QFile::exists(source))
            continue;
        QString error;
        const std::optional<QByteArray> bytes = readRegularFile(source, &error);
        copies.push_back(std::make_unique<StagedFile>(target));
        if (!bytes || !copies.back()->write(*bytes))
            return QStringLiteral("无法用 %1 替换 %2: %3").arg(source, target, bytes ? copies.back()->error() : error);
    }
    for (const auto &copy : copies)
        if (!copy->commit())
            return copy->error();
    return {};
}

}  // namespace

IndexFileTargets IndexFileTargets::fromHostConfig()
{
    return {databaseEntryField(hostEntry::SystemIndexFile, 0), databaseEntryField(hostEntry::ConfigDir, 0)};
}

QString IndexFileTargets::indexTemp() const
{
    return indexFile + QStringLiteral("_Temp");
}
QString IndexFileTargets::userFile() const
{
    return joinPath(configDir, QStringLiteral("UserID.dat"));
}
QString IndexFileTargets::userTemp() const
{
    return joinPath(configDir, QStringLiteral("User_Temp"));
}

QStringList IndexBuildResult::failedParts() const
{
    QStringList names;
    for (const PartOutcome &part : parts)
        if (part.result != PartResult::Succeeded)
            names << part.name;
    return names;
}

IndexBuildResult buildIndexFiles(const IndexFileTargets &targets, const QString &connectString,
                                 const IndexBuildCallbacks &callbacks)
{
    IndexBuildResult result;
    result.startError = missingTarget(targets);
    if (result.startError.isEmpty())
        result.startError = deleteTemporaryFiles(targets);
    if (!result.startError.isEmpty())
        return result;
    ProfileFile file(targets.indexTemp());
    IndexWriter index(file);
    result.startError = startIndexFile(index, file);
    if (!result.startError.isEmpty())
        return result;

    const QList<IndexPart> &parts = indexParts();
    for (int k = 0; k < parts.size(); ++k) {
        if (callbacks.partStarting)
            callbacks.partStarting(k + 1, QStringLiteral("正在创建%1...").arg(parts.at(k).name));
        result.parts << runPart(k + 1, parts.at(k), connectString, index, targets);
        if (callbacks.partFinished)
            callbacks.partFinished(result.parts.last());
    }

    if (!file.save()) {
        result.fileError = file.lastError();
        return result;
    }
    if (!result.failedParts().isEmpty())
        return result;  // the installation's files stay as they were
    result.fileError = replaceWithCopies(
        {{targets.indexTemp(), targets.indexFile}, {targets.userTemp(), targets.userFile()}});
    result.replaced = result.fileError.isEmpty();
    return result;
}

}  // namespace dbkeel
