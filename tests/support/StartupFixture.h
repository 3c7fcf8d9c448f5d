#pragma once
// The demo installation (scripts/make-demo-db) in one temporary folder for the whole test program:
// unixODBC reads ODBCINI once per process, so the data source and the system folder are set before
// the first connection and every test recreates the database it needs.

#include "core/AppLog.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "tests/support/TestSupport.h"

#include <QMap>
#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace dbkeel::test {

struct LogEntry {
    QString text;
    bool plain;
    bool operator==(const LogEntry &other) const { return text == other.text && plain == other.plain; }
};
std::ostream &operator<<(std::ostream &out, const LogEntry &entry);

class StartupFixture : public ::testing::Test {
protected:
    static QString demoFolder();
    static QString databasePath() { return demoFolder() + QStringLiteral("/dbkeel-demo.db"); }
    static QString programFolder() { return demoFolder() + QStringLiteral("/program"); }

    void SetUp() override;
    void TearDown() override;

    // Recreates the demo database with its data.
    void resetDemoDatabase();
    // Replaces the database with the installation's tables without any rows (schema/sqlite.sql).
    void emptyInstallation();
    void openSharedDb();
    // Sets host configuration entries (on top of the demo's) and reloads the host library.
    void setHostEntries(const QMap<int, QString> &entries);
    void loadHost();

    // Every AddLog since SetUp, oldest first.
    QList<LogEntry> log;

private:
    QMetaObject::Connection m_logConnection;
};

}  // namespace dbkeel::test
