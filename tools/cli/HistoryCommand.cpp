// dbkeel-cli history: the entries kept before replacing writes, one shown whole, one put back.

#include "composition/BaseBundle.h"
#include "core/Database.h"
#include "core/SharedDb.h"
#include "core/WriteHistory.h"
#include "indexfiles/IndexFileBuild.h"
#include "tools/cli/CliSession.h"

#include <QJsonArray>

namespace dbkeel::cli {

namespace {

const char kUsage[] = "usage: dbkeel-cli history list | history show ID | history restore ID [--rebuild]\n";

struct PrintingLog : BundleLog {
    bool failed = false;
    void add(const QString &line, bool failure) override
    {
        failed = failed || failure;
        (failure ? err() : out()) << line << Qt::endl;
    }
};

void printHeader(const HistoryEntry &entry)
{
    out() << entry.id << "  " << entry.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) << "  " << entry.user
          << "  " << entry.action << "  " << entry.rowCounts() << '\n';
}

void printEntry(const HistoryEntry &entry)
{
    out() << "id: " << entry.id << "\ntime: " << entry.time.toString(Qt::ISODateWithMs) << "\nuser: " << entry.user
          << "\naction: " << entry.action << "\nversion: " << entry.version << "\nfile: " << entry.path << '\n';
    for (const HistoryTable &table : entry.tables) {
        out() << "\n[" << table.name << "] " << table.rows.size() << " rows\n" << table.columns.join(u'\t') << '\n';
        for (const QJsonValue &row : table.rows) {
            QStringList values;
            for (const QJsonValue &value : row.toArray())
                values << (value.isNull() ? QStringLiteral("NULL") : value.toString());
            out() << values.join(u'\t') << '\n';
        }
    }
}

// The derived tables and index files after a restore: rebuilt, or named for the administrator.
int followRestore(const HistoryEntry &entry, bool rebuild)
{
    const HistoryRebuild needed = rebuildAfterRestore(entry.tableNames());
    if (!rebuild) {
        if (needed.runTables)
            out() << "rebuild the run tables: dbkeel-cli bundle rebuild\n";
        if (needed.indexFiles)
            out() << "rebuild the index files: dbkeel-cli index\n";
        return Succeeded;
    }
    PrintingLog log;
    if (needed.runTables && !buildRunTables(sharedDb(), log))
        return PartFailed;
    if (needed.indexFiles && !buildIndexFiles(IndexFileTargets::fromHostConfig(), connectString()).succeeded()) {
        err() << "dbkeel-cli history: the index files could not be rebuilt; run dbkeel-cli index\n";
        return PartFailed;
    }
    return Succeeded;
}

int restore(const QString &id, bool rebuild)
{
    QString error;
    const std::optional<HistoryEntry> entry = readHistoryEntry(id, error);
    if (!entry) {
        err() << "dbkeel-cli history: " << error << '\n';
        return CouldNotStart;
    }
    try {
        restoreHistory(sharedDb(), *entry);
    } catch (const DbError &failure) {
        err() << "dbkeel-cli history: nothing restored: " << failure.text() << '\n';
        return PartFailed;
    }
    out() << "restored " << entry->rowCounts() << '\n';
    return followRestore(*entry, rebuild);
}

}  // namespace

int runHistory(const QStringList &arguments)
{
    const QString action = arguments.value(0);
    const bool list = action == QLatin1String("list") && arguments.size() == 1;
    const bool show = action == QLatin1String("show") && arguments.size() == 2;
    const bool rebuild = arguments.value(2) == QLatin1String("--rebuild");
    const bool restoring = action == QLatin1String("restore")
                           && (arguments.size() == 2 || (arguments.size() == 3 && rebuild));
    if (!list && !show && !restoring) {
        err() << kUsage;
        return CouldNotStart;
    }
    QString error;
    if (!openInstallation(error)) {
        err() << "dbkeel-cli history: " << error << '\n';
        return CouldNotStart;
    }
    if (restoring)
        return restore(arguments.at(1), rebuild);
    if (list) {
        for (const HistoryEntry &entry : historyEntries())
            printHeader(entry);
        return Succeeded;
    }
    const std::optional<HistoryEntry> entry = readHistoryEntry(arguments.at(1), error);
    if (!entry) {
        err() << "dbkeel-cli history: " << error << '\n';
        return CouldNotStart;
    }
    printEntry(*entry);
    return Succeeded;
}

}  // namespace dbkeel::cli
