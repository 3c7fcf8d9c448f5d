#pragma once
// A fresh SQLite database with the installation's tables as the start-up upgrade leaves them, filled
// with SQL; the index files written into a temporary folder; the real host library for GetField and
// GetVers.

#include "core/AppState.h"
#include "core/HostLib.h"
#include "core/SchemaUpgrade.h"
#include "core/SharedDb.h"
#include "indexfiles/IndexFileBuild.h"
#include "platform/Gbk.h"
#include "tests/indexfiles/IndexFileLines.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace dbkeel::test {

class IndexFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    IndexFileTargets targets;

    static void SetUpTestSuite()
    {
        if (!hostLib().isLoaded()) {
            ASSERT_EQ(hostLib().load(1, buildBinDir()), 1) << hostLib().errorString().toStdString();
        }
    }
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        sharedDb().open(connectString(), 10);
        run(schemaText());
        runUpgradeGroup2Tables(sharedDb());
        ASSERT_TRUE(runUpgradeGroup2Columns(sharedDb()));
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("config")));
        targets = {dir.filePath(QStringLiteral("config/SystemIndex.ini")), dir.filePath(QStringLiteral("config"))};
    }
    void TearDown() override { sharedDb().close(); }

    QString connectString() const { return sqliteConnectString(dir.filePath(QStringLiteral("test.db"))); }
    static void run(const QString &batch)
    {
        try {
            sharedDb().exec(batch);
        } catch (const DbError &error) {
            FAIL() << error.what();
        }
    }
    void loadSmallInstallation()
    {
        run(QString::fromUtf8(
            readFileBytes(sourceDir() + QStringLiteral("/tests/indexfiles/data/small-installation.sql"))));
    }
    IndexBuildResult build(const IndexBuildCallbacks &callbacks = {}) const
    {
        return buildIndexFiles(targets, connectString(), callbacks);
    }
    // What GetVers gives for no file: the VERSION of every index file.
    static QString hostVersion()
    {
        QByteArray version, name, description;
        hostLib().getVers(QByteArray(), version, name, description);
        return fromGbk(version);
    }
};

}  // namespace dbkeel::test
