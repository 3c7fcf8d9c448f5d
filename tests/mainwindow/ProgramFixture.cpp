#include "tests/mainwindow/ProgramFixture.h"

#include "app/CommandTable.h"
#include "app/MainWindowPanel.h"
#include "app/Program.h"
#include "core/AppConfig.h"
#include "core/AppState.h"
#include "core/HostLib.h"
#include "platform/Gbk.h"
#include "platform/Profile.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <QTreeWidget>

namespace dbkeel::test {

namespace {

void appendNodes(QTreeWidgetItem *item, int depth, QStringList &out)
{
    out << QString(depth * 2, u' ') + item->text(0);
    for (int i = 0; i < item->childCount(); ++i)
        appendNodes(item->child(i), depth + 1, out);
}

}  // namespace

QString ProgramFixture::demoFolder()
{
    return processDemoFolder();
}

void ProgramFixture::makeDemo(const QMap<int, QString> &entries)
{
    ASSERT_NO_FATAL_FAILURE(runMakeDemoDb({QStringLiteral("--force"), demoFolder()}));
    const QString library = demoFolder() + QStringLiteral("/system/libHostCfg.so");
    QFile::remove(library);
    ASSERT_TRUE(QFile::copy(buildBinDir() + QStringLiteral("/libHostCfg.so"), library));
    ProfileFile config(demoFolder() + QStringLiteral("/system/HostCfg.ini"));
    for (auto it = entries.begin(); it != entries.end(); ++it)
        ASSERT_TRUE(config.writeString(QStringLiteral("HOSTCFG"), QString::number(it.key()), it.value()));
    ASSERT_TRUE(config.save()) << config.lastError().toStdString();
    QFile::remove(demoFolder() + QStringLiteral("/program/dbtool.ini"));
}

void ProgramFixture::replaceDatabase(bool withInstallationTables)
{
    const QString database = demoFolder() + QStringLiteral("/dbkeel-demo.db");
    for (const char *suffix : {"", "-wal", "-shm"})
        QFile::remove(database + QLatin1String(suffix));
    QProcess sqlite;
    QStringList arguments{QStringLiteral("-bail"), database};
    if (withInstallationTables)
        sqlite.setStandardInputFile(schemaFile());
    else
        arguments << QStringLiteral("VACUUM;");  // an empty database file
    sqlite.start(QStringLiteral("sqlite3"), arguments);
    ASSERT_TRUE(sqlite.waitForFinished(60000));
    ASSERT_EQ(sqlite.exitCode(), 0) << sqlite.readAllStandardError().constData();
}

void ProgramFixture::writeDbtool(const QMap<QString, QString> &keys)
{
    ProfileFile dbtool(demoFolder() + QStringLiteral("/program/dbtool.ini"));
    for (auto it = keys.begin(); it != keys.end(); ++it)
        ASSERT_TRUE(dbtool.writeString(QStringLiteral("DATABASETOOL"), it.key(), it.value()));
    ASSERT_TRUE(dbtool.save());
}

void ProgramFixture::TearDown()
{
    if (window && !window->exited())
        window->exitProgram();
    window.reset();
    DBODBCTYPE = 0;
    UserLevel = 0;
}

void ProgramFixture::startProgram()
{
    window = createProgramWindow();
    ASSERT_TRUE(waitFor([this] { return window->startupDone(); }));
}

bool ProgramFixture::waitFor(const std::function<bool()> &done, int ms)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < ms) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        QThread::msleep(1);
    }
    return done();
}

bool ProgramFixture::isEnabled(int commandId) const
{
    const QAction *action = window->commands().action(commandId);
    return action && action->isEnabled();
}

QStringList ProgramFixture::treeTexts() const
{
    QStringList texts;
    const QTreeWidget *tree = window->panel()->lineTree();
    for (int i = 0; i < tree->topLevelItemCount(); ++i)
        appendNodes(tree->topLevelItem(i), 0, texts);
    return texts;
}

QString ProgramFixture::logText() const
{
    return window->log().text();
}

}  // namespace dbkeel::test
