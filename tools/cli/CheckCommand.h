#pragma once

#include <QStringList>

namespace dbkeel::cli {

// Loads the host library and opens the database as every command does, printing the system
// directory, the host library and the data source; CouldNotStart when one is missing.
int runCheck(const QStringList &arguments);

}  // namespace dbkeel::cli
