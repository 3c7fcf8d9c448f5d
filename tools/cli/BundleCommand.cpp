#include "tools/cli/BundleCommand.h"

#include "composition/BaseBundle.h"
#include "core/SharedDb.h"
#include "tools/cli/CliSession.h"

#include <QFileInfo>

namespace dbkeel::cli {

namespace {

const char kUsage[] = "usage: dbkeel-cli bundle export FILE | bundle import FILE | bundle rebuild\n";

// Each step on its own line, in the order they happen.
struct PrintingLog : BundleLog {
    void add(const QString &line, bool failure) override
    {
        if (failure)
            err() << "★ " << line << Qt::endl;
        else
            out() << line << Qt::endl;
    }
};

}  // namespace

int runBundle(const QStringList &arguments)
{
    const QString action = arguments.value(0);
    const bool withFile = action == QLatin1String("export") || action == QLatin1String("import");
    if (withFile ? arguments.size() != 2 : (action != QLatin1String("rebuild") || arguments.size() != 1)) {
        err() << kUsage;
        return CouldNotStart;
    }
    const QString path = arguments.value(1);
    if (action == QLatin1String("import") && !QFileInfo(path).isFile()) {
        err() << "dbkeel-cli: no such file: " << path << Qt::endl;
        return CouldNotStart;
    }
    QString error;
    if (!openInstallation(error)) {
        err() << "dbkeel-cli: " << error << Qt::endl;
        return CouldNotStart;
    }
    PrintingLog log;
    bool done = false;
    if (action == QLatin1String("export"))
        done = exportBundle(sharedDb(), path, log);
    else if (action == QLatin1String("import"))
        done = importBundle(sharedDb(), path, log);
    else
        done = buildRunTables(sharedDb(), log);
    sharedDb().close();
    return done ? Succeeded : PartFailed;
}

}  // namespace dbkeel::cli
