#pragma once
// Helpers shared by the test programs.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace dbkeel::test {

// Folder with the built programs and libraries (set by ctest).
QString buildBinDir();
// The project's source folder (set by ctest).
QString sourceDir();

QByteArray readFileBytes(const QString &path);
void writeFileBytes(const QString &path, const QByteArray &bytes);

// Runs scripts/make-demo-db with `arguments`; a test failure with its error output when it fails.
void runMakeDemoDb(const QStringList &arguments);
// The one demo installation folder of this test program, with ODBCINI and DBKEEL_SYSDIR set into it
// (unixODBC reads ODBCINI once per process).
QString processDemoFolder();

}  // namespace dbkeel::test
