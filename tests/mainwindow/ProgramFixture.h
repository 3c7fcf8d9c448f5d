#pragma once
// The demo installation (scripts/make-demo-db) with the built host library in its system folder,
// once per test program (unixODBC reads ODBCINI once per process), and the program's main window
// started on it with scripted prompts.

#include "app/MainWindow.h"
#include "platform/ScriptedPrompt.h"

#include <QMap>
#include <QString>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace dbkeel::test {

class ProgramFixture : public ::testing::Test {
protected:
    static QString demoFolder();
    // Recreates the demo database and configuration; `entries` go on top of the demo's host configuration.
    static void makeDemo(const QMap<int, QString> &entries = {});
    // Replaces the demo database with the installation's tables without rows (schema/sqlite.sql), or
    // with a database without any table.
    static void replaceDatabase(bool withInstallationTables);
    // Sets keys of section DATABASETOOL in the program folder's dbtool.ini.
    static void writeDbtool(const QMap<QString, QString> &keys);

    void TearDown() override;

    // Creates the program's window and waits for its deferred start-up.
    void startProgram();
    // Runs the window's events until `done` holds or `ms` passed; the last value of `done`.
    static bool waitFor(const std::function<bool()> &done, int ms = 10000);
    bool isEnabled(int commandId) const;
    QStringList treeTexts() const;  // every node's text, depth first, indented by two blanks a level
    QString logText() const;

    ScriptedPrompt prompt;
    std::unique_ptr<MainWindow> window;
};

}  // namespace dbkeel::test
