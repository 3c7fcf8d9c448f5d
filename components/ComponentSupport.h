#pragma once
// What every component of ours shares: the host configuration, read through the host library in the
// system directory as any outside program would, and a database connection of its own.

#include <QString>

class QWidget;

namespace dbkeel {

class SharedDb;

// The owner window of an initialisation block (ComponentAbi.h); null for a null block.
QWidget *initBlockOwner(const void *initBlock);

// Loads the host library from the system directory and fills the host configuration record, once
// per use of the component.
bool loadHostConfiguration(QString &error);
// Frees the component's binding when the component is stopped: the library it bound may be gone by
// the next use (the system folder replaced, or the library unloaded by its last other user), and a
// binding kept across uses would then call into unmapped code.
void releaseHostConfiguration();
// The database entry the program uses (DBODBCTYPE of dbtool.ini).
int configuredDatabaseType();
// Opens `db` on the data source of that entry; false with the driver's text in `error`.
bool openConfiguredDatabase(SharedDb &db, QString &error);
// The path of the host configuration file.
QString hostConfigurationFile();

}  // namespace dbkeel
