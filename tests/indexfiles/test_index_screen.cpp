// IndexFileDialog opened through its menu command on the demo installation: the questions, the build
// off the window's thread, the messages; and dbkeel-cli index writing the same bytes.

#include "core/Database.h"
#include "indexfiles/IndexFileDialog.h"
#include "indexfiles/IndexFileScreens.h"
#include "platform/ScriptedPrompt.h"
#include "screens/ScreenRegistry.h"
#include "tests/indexfiles/IndexFileLines.h"
#include "tests/support/TestScreenHost.h"
#include "tests/support/TestSupport.h"

#include "core/AppState.h"
#include "core/HostLib.h"
#include "core/SharedDb.h"

#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace dbkeel::test {
namespace {

const QByteArray kOldIndex = "[VERSIONINFO]\r\nVERSION=old\r\n";

// The demo installation (scripts/make-demo-db), made anew for each test in one folder per test
// program (unixODBC reads ODBCINI once per process), opened as the program opens it.
class IndexScreen : public ::testing::Test {
protected:
    static QString demo() { return processDemoFolder(); }
    static QString indexFile() { return demo() + QStringLiteral("/config/SystemIndex.ini"); }
    static QString userFile() { return demo() + QStringLiteral("/config/UserID.dat"); }

    void SetUp() override
    {
        ASSERT_NO_FATAL_FAILURE(runMakeDemoDb({QStringLiteral("--force"), demo()}));
        const QString library = HostLib::libraryFileName(1);
        for (const QString &old : {indexFile(), userFile(), indexFile() + QStringLiteral("_Temp"),
                                   demo() + QStringLiteral("/system/") + library})
            QFile::remove(old);
        // the command line loads the host library from the system folder
        ASSERT_TRUE(QFile::copy(buildBinDir() + u'/' + library, demo() + QStringLiteral("/system/") + library));
        if (!hostLib().isLoaded()) {
            ASSERT_EQ(hostLib().load(1, buildBinDir()), 1) << hostLib().errorString().toStdString();
        }
        ASSERT_GT(hostLib().getHostCfg(hostConfig()), 0);
        QString error;
        ASSERT_EQ(OpenDb(error), 1) << error.toStdString();
        registerIndexFileScreens();
    }
    void TearDown() override
    {
        CloseDb();
        EXPECT_EQ(prompts.pendingAnswers(), 0) << "answers left unused";
    }

    // Opens the screen through its menu command; `script` drives it while it runs modally.
    void openScreen(const std::function<void(IndexFileDialog &)> &script)
    {
        prompts.answerModal([&script](QDialog &dialog) {
            auto &screen = dynamic_cast<IndexFileDialog &>(dialog);
            script(screen);
            screen.findChild<QPushButton *>(QStringLiteral("exitButton"))->click();
        });
        registeredCommand(command::IndexFileBuild)(host);
    }
    // Clicks "创建" and waits for the build it starts.
    static void create(IndexFileDialog &screen)
    {
        screen.findChild<QPushButton *>(QStringLiteral("createButton"))->click();
        ASSERT_TRUE(screen.editor().runner().wait(std::chrono::seconds(60)));
    }
    QList<PromptCall> messages() const
    {
        QList<PromptCall> shown;
        for (const PromptCall &call : prompts.calls())
            if (call.kind == PromptCall::Message)
                shown << call;
        return shown;
    }

    ScriptedPrompt prompts;
    TestScreenHost host;
};

const QString kFirst = QStringLiteral("确定要创建系统索引文件吗?确定(建立),取消");
const QString kAgain = QStringLiteral("索引文件已经建立过是否要重新建立?确定(建立),取消");

TEST_F(IndexScreen, BuildsTheDemoFilesAsTheCommandLineDoes)
{
    openScreen([this](IndexFileDialog &screen) {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("系统必须索引文件建立"));
        auto *createButton = screen.findChild<QPushButton *>(QStringLiteral("createButton"));
        auto *exitButton = screen.findChild<QPushButton *>(QStringLiteral("exitButton"));
        auto *progress = screen.findChild<QProgressBar *>(QStringLiteral("progress"));
        EXPECT_EQ(createButton->toolTip(), QStringLiteral("建立文件"));
        EXPECT_EQ(progress->maximum(), 12);

        prompts.answer(PromptButton::Cancel);
        createButton->click();  // the first question, cancelled: nothing runs
        EXPECT_FALSE(screen.editor().isRunning());

        prompts.answer(PromptButton::Ok);
        createButton->click();
        EXPECT_TRUE(screen.editor().isRunning());
        EXPECT_FALSE(createButton->isEnabled());
        EXPECT_FALSE(exitButton->isEnabled());
        screen.reject();  // refused while the build runs
        ASSERT_TRUE(screen.editor().runner().wait(std::chrono::seconds(60)));
        EXPECT_TRUE(screen.isVisible());
        EXPECT_TRUE(createButton->isEnabled());
        EXPECT_TRUE(exitButton->isEnabled());
        EXPECT_EQ(progress->value(), 0);
        EXPECT_EQ(screen.findChild<QLabel *>(QStringLiteral("status"))->text(), QStringLiteral("创建文件结束"));
        EXPECT_TRUE(screen.editor().lastResult().replaced);

        prompts.answer(PromptButton::Ok).answer(PromptButton::Cancel);
        createButton->click();  // the second question, cancelled
        EXPECT_FALSE(screen.editor().isRunning());
        prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
        create(screen);
        const QString shots = qEnvironmentVariable("DBKEEL_SCREENSHOT_DIR");
        if (!shots.isEmpty())
            screen.grab().save(shots + QStringLiteral("/IndexFileDialog.png"));
    });
    const QList<PromptCall> shown = messages();
    ASSERT_EQ(shown.size(), 6);
    for (int n : {0, 1, 2, 4})
        EXPECT_EQ(shown.at(n).text, kFirst) << n;
    for (int n : {3, 5})
        EXPECT_EQ(shown.at(n).text, kAgain) << n;
    for (const PromptCall &call : shown) {
        EXPECT_EQ(call.caption, QStringLiteral("提示"));
        EXPECT_EQ(call.icon, PromptIcon::Question);
        EXPECT_EQ(call.buttons, PromptButtons::OkCancel);
        EXPECT_EQ(call.defaultButton, PromptButton::Cancel);
    }

    // Reopened, the screen asks once again; the command line writes the very same bytes.
    openScreen([this](IndexFileDialog &screen) {
        prompts.answer(PromptButton::Ok);
        create(screen);
    });
    const QByteArray index = readFileBytes(indexFile()), users = readFileBytes(userFile());
    EXPECT_EQ(users.size(), 203204);
    QByteArray version, name, description;
    hostLib().getVers(QByteArray(), version, name, description);
    expectSameLines(gbkLines(indexFile()), fixtureLines(QStringLiteral("demo-index.ini"), fromGbk(version)));
    CloseDb();
    QFile::remove(indexFile());
    QFile::remove(userFile());
    QProcess cli;
    cli.start(buildBinDir() + QStringLiteral("/dbkeel-cli"), {QStringLiteral("index"), QStringLiteral("-q")});
    ASSERT_TRUE(cli.waitForFinished(60000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().constData();
    EXPECT_EQ(readFileBytes(indexFile()), index);
    EXPECT_EQ(readFileBytes(userFile()), users);
}

TEST_F(IndexScreen, FailedPartIsNamedAndTheOldFilesStay)
{
    sharedDb().exec(QStringLiteral("drop table tb_id_eval"));
    writeFileBytes(indexFile(), kOldIndex);
    openScreen([this](IndexFileDialog &screen) {
        prompts.answer(PromptButton::Ok).answer(PromptButton::Ok).answer(PromptButton::Ok);
        create(screen);
    });
    const QList<PromptCall> shown = messages();
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown.at(1).caption, QStringLiteral("错误"));
    EXPECT_EQ(shown.at(1).icon, PromptIcon::Exclamation);
    EXPECT_TRUE(shown.at(1).text.startsWith(QStringLiteral("[SQLite]"))) << shown.at(1).text.toStdString();
    EXPECT_EQ(shown.at(2).caption, QStringLiteral("提示"));
    EXPECT_TRUE(shown.at(2).text.startsWith(QStringLiteral("以下部分创建失败: EvalID\n")))
        << shown.at(2).text.toStdString();
    EXPECT_EQ(readFileBytes(indexFile()), kOldIndex);
    EXPECT_FALSE(QFile::exists(userFile()));
    EXPECT_TRUE(QFile::exists(indexFile() + QStringLiteral("_Temp")));
}

}  // namespace
}  // namespace dbkeel::test
