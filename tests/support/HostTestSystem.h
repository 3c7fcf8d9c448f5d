#pragma once
// One system directory for the whole test program: a copy of the built host
// library, loaded into the process-wide hostLib(), with $DBKEEL_SYSDIR pointing at it.

#include "core/HostLib.h"

#include <QByteArray>
#include <QString>

namespace dbkeel::test {

QString hostSystemDir();
HostLib &loadedHostLib();
void writeHostCfg(const QByteArray &gbkContent);
void removeHostCfg();
// A folder of its own holding `sourceFile` (a file of the build folder) under `nameInDir`.
QString folderWithLibrary(const QString &sourceFile, const QString &nameInDir);

}  // namespace dbkeel::test
