#include "components/ComponentSupport.h"
#include "components/backup/BackupDialog.h"
#include "components/loginbox/LoginDialog.h"
#include "components/stationconfig/HostConfigDialog.h"
#include "core/AppState.h"
#include "core/Database.h"
#include "core/SharedDb.h"
#include "extensions/ComponentAbi.h"
#include "extensions/ExtensionComponent.h"
#include "extensions/SharedConnectionControl.h"
#include "platform/Gbk.h"
#include "platform/Profile.h"
#include "platform/ScriptedPrompt.h"
#include "tests/support/SmallDisk.h"
#include "tests/support/StartupFixture.h"
#include "tests/support/TestSupport.h"
#include "widgets/ReportListModel.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cstring>
#include <functional>
#include <sys/stat.h>

namespace dbkeel::test {
namespace {

QString component(const QString &name)
{
    return buildBinDir() + QLatin1Char('/') + name;
}

// Runs `act` on the modal dialog once it is shown (the component's own dialogs block in exec()).
void whenModalShown(std::function<void(QWidget &)> act)
{
    auto *timer = new QTimer;
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (QWidget *widget = QApplication::activeModalWidget()) {
            timer->stop();
            timer->deleteLater();
            act(*widget);
        }
    });
    timer->start(10);
}

void click(QWidget &dialog, const char *button)
{
    dialog.findChild<QPushButton *>(QLatin1String(button))->click();
}

class ComponentTest : public StartupFixture {
protected:
    void SetUp() override
    {
        StartupFixture::SetUp();
        resetDemoDatabase();
    }
    void TearDown() override
    {
        db.close();
        StartupFixture::TearDown();
    }
    SharedDb db;
    ScriptedPrompt prompts;
};

using LoginBoxTest = ComponentTest;

TEST_F(LoginBoxTest, AcceptsTheRightPasswordAndRefusesAWrongOne)
{
    LoginDialog dialog(db);
    auto enter = [&dialog](const char *user, const char *password) {
        dialog.findChild<QLineEdit *>(QStringLiteral("userName"))->setText(QString::fromUtf8(user));
        dialog.findChild<QLineEdit *>(QStringLiteral("password"))->setText(QString::fromUtf8(password));
        click(dialog, "ok");
    };
    prompts.answerModal([&](QDialog &) {
        enter("admin", "wrong");
        EXPECT_FALSE(dialog.isHidden());  // refused in the dialog, which stays open
        EXPECT_TRUE(dialog.findChild<QLineEdit *>(QStringLiteral("password"))->text().isEmpty());
        enter("nobody", "admin");
        EXPECT_FALSE(dialog.isHidden());
        enter("admin", "admin");
    });
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);  // the two refusals
    EXPECT_EQ(prompts.runModal(dialog), QDialog::Accepted);
    ASSERT_EQ(prompts.calls().size(), 3u);
    for (int i = 1; i < 3; ++i) {
        EXPECT_EQ(prompts.calls()[i].caption, QStringLiteral("提示"));
        EXPECT_EQ(prompts.calls()[i].text, QStringLiteral("用户名或密码错误,请重新输入!"));
        EXPECT_EQ(prompts.calls()[i].icon, PromptIcon::Exclamation);
    }
    EXPECT_EQ(dialog.user().userName, QStringLiteral("admin"));
    EXPECT_EQ(dialog.user().trueName, QStringLiteral("系统管理员"));
    EXPECT_EQ(dialog.user().level, 0);
}

TEST_F(LoginBoxTest, ChecksAgainstTheUserTable)
{
    QString error;
    ASSERT_TRUE(openConfiguredDatabase(db, error)) << error.toStdString();
    struct Case {
        const char *user, *password;
        LoginCheck::Result result;
        int level;
    };
    const Case cases[] = {
        {"zhangwei", "123456", LoginCheck::Accepted, 1},
        {"lina", "654321", LoginCheck::Accepted, 2},
        {"lina", "123456", LoginCheck::Refused, -1},
        {"lina", "", LoginCheck::Refused, -1},
        {"", "", LoginCheck::Refused, -1},
        {"x' or '1'='1", "x' or '1'='1", LoginCheck::Refused, -1},
    };
    for (const Case &c : cases) {
        const LoginCheck check = checkLogin(db, QString::fromUtf8(c.user), QString::fromUtf8(c.password));
        EXPECT_EQ(check.result, c.result) << c.user;
        EXPECT_EQ(check.level, c.level) << c.user;
    }
    db.exec(QStringLiteral("drop table tb_user"));
    const LoginCheck failed = checkLogin(db, QStringLiteral("admin"), QStringLiteral("admin"));
    EXPECT_EQ(failed.result, LoginCheck::DatabaseFailed);
    EXPECT_TRUE(failed.error.startsWith(QStringLiteral("[SQLite]"))) << failed.error.toStdString();
}

TEST_F(LoginBoxTest, ComponentFillsTheUserRecordOrGivesZeroOnCancel)
{
    ExtensionComponent loginBox;
    ASSERT_TRUE(loginBox.load(component(QStringLiteral("libLoginBox.so")))) << loginBox.errorString().toStdString();
    UserRecord user;
    std::memset(&user, 0, sizeof user);
    user.level = -1;

    whenModalShown([](QWidget &dialog) { click(dialog, "cancel"); });
    EXPECT_EQ(loginBox.doModal(&user), 0);
    EXPECT_EQ(user.level, -1);

    whenModalShown([](QWidget &dialog) {
        dialog.findChild<QLineEdit *>(QStringLiteral("userName"))->setText(QStringLiteral("zhangwei"));
        dialog.findChild<QLineEdit *>(QStringLiteral("password"))->setText(QStringLiteral("123456"));
        click(dialog, "ok");
    });
    EXPECT_EQ(loginBox.doModal(&user), 1);
    EXPECT_STREQ(user.userId, "zhangwei");
    EXPECT_EQ(fromGbk(user.displayText), QStringLiteral("张伟"));
    EXPECT_STREQ(user.secondText, "0102");
    EXPECT_EQ(user.level, 1);
    EXPECT_EQ(loginBox.stop(), 1);
    loginBox.unload();
}

TEST_F(ComponentTest, StationConfigurationListsEditsAndSavesTheEntries)
{
    const QString file = demoFolder() + QStringLiteral("/system/HostCfg.ini");
    const QByteArray before = readFileBytes(file);
    {
        HostConfigDialog dialog(file);
        ReportListModel &entries = dialog.entries();
        ASSERT_GE(entries.rowCount(), 8);
        EXPECT_EQ(entries.itemText(0, 0), QStringLiteral("0"));
        EXPECT_EQ(entries.itemText(0, 1), QStringLiteral("DbkeelDemo,,127.0.0.1,,,sa,secret,127.0.0.1"));
        EXPECT_EQ(entries.itemText(2, 1), programFolder());

        EXPECT_FALSE(dialog.setEntry(256, QStringLiteral("x")));
        EXPECT_FALSE(dialog.setEntry(7, QStringLiteral("two\nlines")));
        EXPECT_FALSE(dialog.status().isEmpty());
        ASSERT_TRUE(dialog.setEntry(120, QStringLiteral("/opt/登录.so")));
        ASSERT_TRUE(dialog.setEntry(3, QStringLiteral("/opt/config")));
        EXPECT_EQ(readFileBytes(file), before);  // nothing written before 保存
        ASSERT_TRUE(dialog.save()) << dialog.status().toStdString();
    }
    EXPECT_EQ(readProfileString(file, QStringLiteral("HOSTCFG"), QStringLiteral("120"), {}, 616),
              QStringLiteral("/opt/登录.so"));
    EXPECT_EQ(readProfileString(file, QStringLiteral("HOSTCFG"), QStringLiteral("3"), {}, 616),
              QStringLiteral("/opt/config"));
    EXPECT_TRUE(readFileBytes(file).contains(toGbk(QStringLiteral("120=/opt/登录.so\r\n"))));
    writeFileBytes(file, before);
}

TEST_F(ComponentTest, StationConfigurationComponentShowsOverItsOwner)
{
    ExtensionComponent manager;
    ASSERT_TRUE(manager.load(component(QStringLiteral("libStationConfig.so")))) << manager.errorString().toStdString();
    QWidget owner;
    QByteArray record = initRecord(QRect(0, 0, 800, 600), &owner, 2, 1);
    EXPECT_EQ(manager.init(record.data()), 1);
    QString shownTitle;
    whenModalShown([&shownTitle](QWidget &dialog) {
        shownTitle = dialog.windowTitle();
        static_cast<QDialog &>(dialog).reject();
    });
    EXPECT_EQ(manager.show(1, 0, 0, 800, 600), 1);
    EXPECT_EQ(shownTitle, QStringLiteral("工位配置管理器"));
    EXPECT_EQ(manager.stop(), 1);
    EXPECT_EQ(manager.release(), 1);
}

class BackupTest : public ComponentTest {
protected:
    void SetUp() override
    {
        ComponentTest::SetUp();
        QString error;
        ASSERT_EQ(OpenDb(error), 1) << error.toStdString();  // the program's connection, as at run time
        DbReady = 1;
        ASSERT_TRUE(configuredBackupSource(source, error)) << error.toStdString();
    }
    int userCount()
    {
        SqlCursor cursor = sharedDb().query(QStringLiteral("select count(*) from tb_user"));
        return cursor.next() ? cursor.toInt(0) : -1;
    }
    BackupSource source;
    QString backupFile = demoFolder() + QStringLiteral("/backup/备份 1.bak");
};

TEST_F(BackupTest, BackUpThenRestoreIntoTheRunningProgram)
{
    EXPECT_EQ(source.dataSource, QStringLiteral("DbkeelDemo"));
    EXPECT_EQ(source.databaseFile, databasePath());
    const DbkeelConnectionControl control = sharedConnectionControl(nullptr);
    BackupDialog dialog(source, &control);

    prompts.answerFile(backupFile);
    click(dialog, "backUp");
    EXPECT_EQ(dialog.status(), QStringLiteral("备份完成:") + backupFile);
    EXPECT_EQ(prompts.lastCall().file.mode, FileRequest::Save);

    sharedDb().exec(QStringLiteral("delete from tb_user where UserName <> 'admin'"));
    ASSERT_EQ(userCount(), 1);

    // Cancel at the confirmation: nothing happens.
    prompts.answerFile(backupFile).answer(PromptButton::Cancel);
    click(dialog, "restore");
    EXPECT_EQ(prompts.lastCall().icon, PromptIcon::Question);
    EXPECT_EQ(prompts.lastCall().defaultButton, PromptButton::Cancel);
    EXPECT_EQ(userCount(), 1);

    prompts.answerFile(backupFile).answer(PromptButton::Ok);
    click(dialog, "restore");
    EXPECT_EQ(dialog.status(), QStringLiteral("还原完成:") + backupFile);
    // The program's connection was closed for the restore and is open again on the restored data.
    ASSERT_TRUE(sharedDb().isOpen());
    EXPECT_EQ(DbReady, 1);
    EXPECT_EQ(userCount(), 3);
    sharedDb().exec(QStringLiteral("insert into tb_user (UserName) values ('new')"));
    EXPECT_EQ(userCount(), 4);
}

TEST_F(BackupTest, RestoreRefusesAFileThatIsNoDatabase)
{
    const QString notABackup = demoFolder() + QStringLiteral("/backup/notes.bak");
    writeFileBytes(notABackup, QByteArray(8192, 'x'));
    const DbkeelConnectionControl control = sharedConnectionControl(nullptr);
    BackupDialog dialog(source, &control);
    prompts.answerFile(notABackup).answer(PromptButton::Ok);
    click(dialog, "restore");
    EXPECT_TRUE(dialog.status().startsWith(QStringLiteral("还原失败:"))) << dialog.status().toStdString();
    ASSERT_TRUE(sharedDb().isOpen());
    EXPECT_EQ(userCount(), 3);

    // A backup into a folder that does not exist fails and leaves nothing behind.
    const QString nowhere = demoFolder() + QStringLiteral("/no/such/dir/a.bak");
    prompts.answerFile(nowhere);
    click(dialog, "backUp");
    EXPECT_TRUE(dialog.status().startsWith(QStringLiteral("备份失败:"))) << dialog.status().toStdString();
    EXPECT_FALSE(QFile::exists(nowhere + QStringLiteral(".partial")));
}

// A backup replaces its file only whole: on a disk without room, or on a name that is no regular file,
// it fails with the system's reason and the file there stays as it was.
TEST_F(BackupTest, ABackupIsWrittenWholeOrNotAtAll)
{
    SmallDisk disk(8 * 1024);
    ASSERT_GT(QFileInfo(source.databaseFile).size(), 8 * 1024);
    const QString full = disk.filePath(QStringLiteral("a.bak")), fifo = disk.filePath(QStringLiteral("fifo.bak"));
    writeFileBytes(full, "the older backup");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const struct {
        QString target;
        QString reason;
    } cases[] = {
        {full, disk.fullReason()},
        {fifo, QStringLiteral("is not a regular file")},
    };
    for (const auto &c : cases) {
        QString error;
        EXPECT_FALSE(backupSqliteFile(source.databaseFile, c.target, error)) << c.target.toStdString();
        EXPECT_TRUE(error.contains(c.reason)) << error.toStdString();
    }
    EXPECT_EQ(readFileBytes(full), "the older backup");
    EXPECT_TRUE(QFileInfo(fifo).exists() && !QFileInfo(fifo).isFile());
    EXPECT_EQ(disk.entries(), QStringList{QStringLiteral("a.bak")}) << "a file left behind (the FIFO is not listed)";
}

TEST(SqlServerBackup, StatementsQuoteTheirNames)
{
    EXPECT_EQ(sqlServerBackupStatement(QStringLiteral("zetra"), QStringLiteral("D:\\bak\\o'k.bak")),
              QStringLiteral("BACKUP DATABASE [zetra] TO DISK = N'D:\\bak\\o''k.bak' WITH INIT"));
    EXPECT_EQ(sqlServerRestoreStatement(QStringLiteral("a]b"), QStringLiteral("x.bak")),
              QStringLiteral("RESTORE DATABASE [a]]b] FROM DISK = N'x.bak' WITH REPLACE"));
}

}  // namespace
}  // namespace dbkeel::test
