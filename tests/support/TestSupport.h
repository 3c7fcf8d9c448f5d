#pragma once
// Helpers shared by the test programs.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <ostream>

// Readable texts in test failures.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace dbkeel::test {

// Folder with the built programs and libraries (set by ctest).
QString buildBinDir();
// The project's source folder (set by ctest; the one this was built from when run by hand).
QString sourceDir();
// The installation's schema file `name` of schema/ ("sqlite.sql": the embedded database's tables), and its text.
QString schemaFile(const QString &name = QStringLiteral("sqlite.sql"));
QString schemaText(const QString &name = QStringLiteral("sqlite.sql"));
// The SQLite driver's connect string for the database file `path`, with `options` ("Key=value;" each).
QString sqliteConnectString(const QString &path, const QString &options = QStringLiteral("StepAPI=1;"));

QByteArray readFileBytes(const QString &path);
void writeFileBytes(const QString &path, const QByteArray &bytes);

// Runs scripts/make-demo-db with `arguments`; a test failure with its error output when it fails.
void runMakeDemoDb(const QStringList &arguments);
// The one demo installation folder of this test program, with ODBCINI and DBKEEL_SYSDIR set into it
// (unixODBC reads ODBCINI once per process).
QString processDemoFolder();

}  // namespace dbkeel::test
