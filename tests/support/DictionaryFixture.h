#pragma once
// The process-wide connection opened on a fresh SQLite database made from the installation's
// tables, the real host library for GetField, and a scripted prompt.

#include "core/AppState.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"
#include "core/WriteHistory.h"
#include "platform/ScriptedPrompt.h"
#include "tests/support/DbTestSupport.h"
#include "tests/support/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <ostream>

namespace dbkeel::test {

class DictionaryFixture : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedPrompt prompts;

    static void SetUpTestSuite()
    {
        if (!hostLib().isLoaded()) {
            ASSERT_EQ(hostLib().load(1, buildBinDir()), 1) << hostLib().errorString().toStdString();
        }
    }
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        historySettings() = HistorySettings{};
        historySettings().folder = dir.filePath(QStringLiteral("history"));
        openDatabase(dir.filePath(QStringLiteral("test.db")));
        run(schemaText());
        DbReady = 1;
    }
    void TearDown() override
    {
        sharedDb().close();
        EXPECT_EQ(prompts.pendingAnswers(), 0) << "answers left unused";
    }
    static void openDatabase(const QString &path)
    {
        sharedDb().close();
        sharedDb().open(sqliteConnectString(path), 10);
    }
    static void run(const QString &batch)
    {
        try {
            sharedDb().exec(batch);
        } catch (const DbError &error) {
            FAIL() << error.what();
        }
    }
    // The texts of every message shown, in order.
    QStringList messages() const
    {
        QStringList texts;
        for (const PromptCall &call : prompts.calls())
            if (call.kind == PromptCall::Message)
                texts << call.text;
        return texts;
    }
};

}  // namespace dbkeel::test
