// dbkeel-cli check: finds the installation the way the program does and says what it found.

#include "tools/cli/CheckCommand.h"

#include "core/AppState.h"
#include "core/Database.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "platform/Paths.h"
#include "tools/cli/CliSession.h"

namespace dbkeel::cli {

int runCheck(const QStringList &arguments)
{
    if (!arguments.isEmpty()) {
        err() << "usage: dbkeel-cli check\n";
        return CouldNotStart;
    }
    out() << "system directory: " << systemDirectory() << '\n';
    QString error;
    const bool opened = openInstallation(error);
    if (hostLib().isLoaded())
        out() << "host library: " << hostLib().path() << '\n';
    if (!opened) {
        err() << "dbkeel-cli: " << error << '\n';
        return CouldNotStart;
    }
    out() << "database: " << databaseCredentials(DBODBCTYPE).dataSource
          << (sharedDb().dialect() == Dialect::SqlServer ? " (SQL Server)" : " (SQLite)") << '\n';
    out() << "server: " << sharedDb().serverVersion() << '\n';
    return Succeeded;
}

}  // namespace dbkeel::cli
