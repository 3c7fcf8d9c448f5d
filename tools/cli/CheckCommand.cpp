// dbkeel-cli check: finds the installation the way the program does and says what it found.

#include "CheckCommand.h"

#include "CliSession.h"
#include "AppState.h"
#include "Database.h"
#include "HostLib.h"
#include "Paths.h"
#include "SharedDb.h"

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
    return Succeeded;
}

}  // namespace dbkeel::cli
