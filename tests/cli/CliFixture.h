#pragma once
// The demo installation (scripts/make-demo-db) with the built host library in its system folder,
// and dbkeel-cli run on it as a separate process.

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace dbkeel::test {

struct CliResult {
    int exitCode = -1;
    QString out;
    QString err;
};

class CliFixture : public ::testing::Test {
protected:
    // A fresh demo installation for each test.
    void SetUp() override;
    QString demoFolder() const { return m_dir.path(); }
    QString systemFolder() const { return m_dir.filePath(QStringLiteral("system")); }
    QString databasePath() const { return m_dir.filePath(QStringLiteral("dbkeel-demo.db")); }
    // "DRIVER=SQLite3;…" for the demo database, for checking what a command wrote.
    QString databaseConnectString() const;
    // Runs dbkeel-cli with ODBCINI and DBKEEL_SYSDIR of the demo installation.
    CliResult runCli(const QStringList &arguments) const;

private:
    QTemporaryDir m_dir;
};

}  // namespace dbkeel::test
