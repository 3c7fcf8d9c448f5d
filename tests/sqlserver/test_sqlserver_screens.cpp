// The screens' work on SQL Server where its behaviour differs from the embedded database's.

#include "core/SharedDb.h"
#include "dictionaries/SubIdEditor.h"
#include "platform/ScriptedPrompt.h"
#include "tests/support/RecordingServer.h"

#include <gtest/gtest.h>

namespace dbkeel::test {
namespace {

class SqlServerScreens : public ::testing::Test {
protected:
    void SetUp() override { sharedDb().open(server.connectString(), 10); }
    void TearDown() override { sharedDb().close(); }

    RecordingServer server;
    ScriptedPrompt prompts;
};

// A deadlock victim (1205) in the middle of the default main IDs: the server has rolled back the
// updates before it, so the screen stops there, commits nothing and says so instead of "已更新!!".
TEST_F(SqlServerScreens, DefaultMainIdsStopWhenTheServerRollsTheRunBack)
{
    server.setScript(QStringLiteral("on where infosubid=10060005 \n"
                                    "error 40001 1205 abort Transaction (Process ID 53) was deadlocked on lock "
                                    "resources with another process and has been chosen as the deadlock victim.\n"));
    SubIdEditor editor;
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    editor.applyDefaultMainIds();

    ASSERT_EQ(prompts.calls().size(), 2u);
    EXPECT_EQ(prompts.lastCall().caption, QStringLiteral("错误"));
    EXPECT_TRUE(prompts.lastCall().text.contains(QStringLiteral("deadlock victim")));
    EXPECT_TRUE(prompts.lastCall().text.contains(QStringLiteral("@@TRANCOUNT")));
    const QStringList log = server.log();
    EXPECT_FALSE(log.contains(QStringLiteral("commit")));
    EXPECT_EQ(log.last(), QStringLiteral("rollback"));
    EXPECT_TRUE(server.statements().filter(QStringLiteral("infosubid=10060006 ")).isEmpty());
}

}  // namespace
}  // namespace dbkeel::test
