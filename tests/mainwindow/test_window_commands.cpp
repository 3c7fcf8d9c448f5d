#include "tests/mainwindow/ProgramFixture.h"
#include "tests/support/DbTestSupport.h"

#include "app/CommandTable.h"
#include "app/SystemConfigDialog.h"
#include "core/AppConfig.h"
#include "core/AppState.h"
#include "core/SharedDb.h"
#include "screens/JobRunner.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

using namespace dbkeel;
using dbkeel::test::firstColumn;
using dbkeel::test::ProgramFixture;

namespace {

QString component(const QString &file)
{
    return dbkeel::test::buildBinDir() + u'/' + file;
}

// Answers the login component's own dialog once it is shown (it runs its own modal loop).
void answerLoginBox(const QString &user, const QString &password, bool cancel = false)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [=] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box || box->objectName() != QStringLiteral("LoginDialog"))
            return;
        poll->stop();
        poll->deleteLater();
        box->findChild<QLineEdit *>(QStringLiteral("userName"))->setText(user);
        box->findChild<QLineEdit *>(QStringLiteral("password"))->setText(password);
        box->findChild<QPushButton *>(cancel ? QStringLiteral("cancel") : QStringLiteral("ok"))->click();
    });
    poll->start(20);
}

}  // namespace

TEST_F(ProgramFixture, LoginEnablesTheProtectedCommandsButTheMissingManager)
{
    makeDemo({{120, component(QStringLiteral("libLoginBox.so"))}});
    startProgram();
    answerLoginBox(QStringLiteral("admin"), QStringLiteral("admin"));
    window->commands().trigger(command::Login);

    for (int id : {32789, 32778, 32785, 32772})
        EXPECT_TRUE(isEnabled(id)) << id;
    // Every other protected command follows whether its screen exists yet.
    for (int id : protectedCommands(false))
        EXPECT_EQ(isEnabled(id), window->commands().hasAction(id)) << id;
    EXPECT_FALSE(isEnabled(command::StationConfigManager));  // entry 86 names no component
    EXPECT_EQ(UserLevel.load(), 0);
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Dbkeel--admin[")))
        << window->windowTitle().toStdString();
    EXPECT_TRUE(window->windowTitle().endsWith(QStringLiteral("]0")));
}

TEST_F(ProgramFixture, LoginWithTheManagerLoadedEnablesItToo)
{
    makeDemo(
        {{120, component(QStringLiteral("libLoginBox.so"))}, {86, component(QStringLiteral("libStationConfig.so"))}});
    startProgram();
    EXPECT_FALSE(isEnabled(command::StationConfigManager));
    answerLoginBox(QStringLiteral("admin"), QStringLiteral("admin"));
    window->commands().trigger(command::Login);
    EXPECT_TRUE(isEnabled(command::StationConfigManager));
}

TEST_F(ProgramFixture, CancelledLoginLeavesTheMenusGreyed)
{
    makeDemo({{120, component(QStringLiteral("libLoginBox.so"))}});
    startProgram();
    answerLoginBox(QString(), QString(), true);
    window->commands().trigger(command::Login);
    EXPECT_FALSE(isEnabled(command::SystemConfig));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("数据库管理工具"));
}

TEST_F(ProgramFixture, SystemConfigurationSavesDbtoolAndAsksForARestart)
{
    makeDemo();
    writeDbtool({{QStringLiteral("SERVERIP"), QStringLiteral("127.0.0.1")},
                 {QStringLiteral("PORTID"), QStringLiteral("15000")}});
    startProgram();
    window->commands().enableMenus(0, true);
    prompt.answerModal([](QDialog &dialog) {
        auto &screen = static_cast<SystemConfigDialog &>(dialog);
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("系统配置"));
        EXPECT_TRUE(screen.localDatabase()->isChecked());
        EXPECT_EQ(screen.address()->currentText(), QStringLiteral("127.0.0.1"));
        EXPECT_EQ(screen.port()->text(), QStringLiteral("15000"));
        screen.remoteDatabase()->setChecked(true);
        screen.address()->setEditText(QStringLiteral("10.0.0.9"));
        screen.port()->setText(QStringLiteral("15500"));
        screen.findChild<QPushButton *>(QStringLiteral("ok"))->click();
    });
    prompt.answer(PromptButton::Ok);
    window->commands().trigger(command::SystemConfig);

    EXPECT_EQ(prompt.lastCall().text, QStringLiteral("保存成功,请重新启动程序!"));
    EXPECT_EQ(prompt.lastCall().icon, PromptIcon::Exclamation);
    const QByteArray dbtool = dbkeel::test::readFileBytes(demoFolder() + QStringLiteral("/program/dbtool.ini"));
    for (const char *line : {"DBODBCTYPE=1\r\n", "SERVERIP=10.0.0.9\r\n", "PORTID=15500\r\n"})
        EXPECT_TRUE(dbtool.contains(line)) << line;
    EXPECT_EQ(DBODBCTYPE.load(), 1);
}

TEST_F(ProgramFixture, CommandsWithoutAScreenOfTheirOwn)
{
    const QString argumentsFile = demoFolder() + QStringLiteral("/standards-arguments.txt");
    const QString standards = demoFolder() + QStringLiteral("/standards.sh");
    dbkeel::test::writeFileBytes(standards,
                                 QStringLiteral("#!/bin/sh\necho \"$@\" > '%1'\n").arg(argumentsFile).toUtf8());
    QFile::setPermissions(standards, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    makeDemo({{52, standards}});
    QFile::remove(argumentsFile);
    startProgram();
    window->commands().enableMenus(0, true);

    prompt.answer(PromptButton::Ok);
    window->commands().trigger(32785);
    EXPECT_EQ(prompt.lastCall().caption, QStringLiteral("提示"));
    EXPECT_EQ(prompt.lastCall().text, QStringLiteral("暂不支持!"));
    EXPECT_EQ(prompt.lastCall().icon, PromptIcon::Exclamation);

    const std::size_t before = prompt.calls().size();
    window->commands().trigger(command::OneKeyRelations);  // does nothing
    window->commands().trigger(command::BackupManager);    // no backup manager: nothing
    EXPECT_EQ(prompt.calls().size(), before);

    window->commands().trigger(command::StandardsProgram);
    ASSERT_TRUE(waitFor([&] { return QFile::exists(argumentsFile) && QFile(argumentsFile).size() > 0; }));
    const QRect frame = window->frameGeometry();
    EXPECT_EQ(
        QString::fromUtf8(dbkeel::test::readFileBytes(argumentsFile)).trimmed(),
        QStringLiteral("-1 %1 %2 %3 %4 0").arg(frame.left()).arg(frame.top()).arg(frame.width()).arg(frame.height()));
}

namespace {

// Drives the backup manager's own windows: "还原" on its screen, the backup file in the file dialog,
// OK on the confirmation, then closes the screen and reports its status line.
class RestoreDriver {
public:
    explicit RestoreDriver(const QString &backupFile) : m_file(backupFile)
    {
        QObject::connect(&m_poll, &QTimer::timeout, [this] { step(); });
        m_poll.start(20);
    }
    QString status;

private:
    void step()
    {
        QWidget *top = QApplication::activeModalWidget();
        if (!top)
            return;
        if (auto *files = qobject_cast<QFileDialog *>(top)) {
            files->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->setText(m_file);
            static_cast<QDialog *>(files)->accept();
        } else if (auto *box = qobject_cast<QMessageBox *>(top)) {
            for (QAbstractButton *button : box->buttons())
                if (button->text() == QStringLiteral("确定"))
                    QMetaObject::invokeMethod(button, &QAbstractButton::click, Qt::QueuedConnection);
        } else if (top->objectName() == QStringLiteral("BackupDialog")) {
            if (!m_restoreClicked) {
                m_restoreClicked = true;
                QPushButton *restore = top->findChild<QPushButton *>(QStringLiteral("restore"));
                QMetaObject::invokeMethod(restore, &QPushButton::click, Qt::QueuedConnection);
            } else {
                // The click is queued: the screen has restored once its status says how it went.
                const QString text = top->findChild<QLabel *>(QStringLiteral("status"))->text();
                if (!text.startsWith(QStringLiteral("还原")) || text == QStringLiteral("正在还原..."))
                    return;
                status = text;
                m_poll.stop();
                static_cast<QDialog *>(top)->reject();
            }
        }
    }
    QString m_file;
    QTimer m_poll;
    bool m_restoreClicked = false;
};

}  // namespace

TEST_F(ProgramFixture, RestoringABackupIntoTheRunningProgramReopensItsConnection)
{
    makeDemo();
    ASSERT_TRUE(QFile::copy(component(QStringLiteral("DbBackUp.MANAGE")),
                            demoFolder() + QStringLiteral("/components/DbBackUp.MANAGE")));
    const QString backup = demoFolder() + QStringLiteral("/before.bak");
    QFile::remove(backup);
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"),
                 {demoFolder() + QStringLiteral("/dbkeel-demo.db"), QStringLiteral(".backup '%1'").arg(backup)});
    ASSERT_TRUE(sqlite.waitForFinished(30000));
    ASSERT_EQ(sqlite.exitCode(), 0);

    startProgram();
    window->commands().enableMenus(0, true);
    sharedDb().exec(QStringLiteral("delete from tb_line_info where lineid = 2"));
    ASSERT_EQ(firstColumn(QStringLiteral("select distinct lineid from tb_line_info")), QStringList{"1"});

    RestoreDriver driver(backup);
    window->commands().trigger(command::BackupManager);
    EXPECT_TRUE(driver.status.startsWith(QStringLiteral("还原完成"))) << driver.status.toStdString();
    // The watchdog may be reconnecting to the restored file just then: ready again soon after.
    EXPECT_TRUE(waitFor([] { return sharedDb().isOpen() && DbReady.load() == 1; }));
    EXPECT_EQ(firstColumn(QStringLiteral("select distinct lineid from tb_line_info order by lineid")),
              (QStringList{"1", "2"}));
    window->reloadLineLayout();
    EXPECT_TRUE(treeTexts().contains(QStringLiteral("  [2]综检线")));
}

// The maintenance screens on the demo installation, each opened through its menu command after a
// login, doing its job on the demo database through the program's own connection (the browser and the
// workspace open theirs with the program's connect string).
TEST_F(ProgramFixture, MaintenanceScreensDoTheirJobOnTheDemo)
{
    makeDemo({{120, component(QStringLiteral("libLoginBox.so"))}});
    startProgram();
    answerLoginBox(QStringLiteral("admin"), QStringLiteral("admin"));
    window->commands().trigger(command::Login);
    const auto open = [this](int id, std::function<void(QDialog &)> script) {
        ASSERT_TRUE(isEnabled(id)) << id;
        prompt.answerModal([script](QDialog &screen) {
            script(screen);
            screen.reject();
        });
        window->commands().trigger(id);
        EXPECT_EQ(prompt.pendingAnswers(), 0) << id;
    };
    const auto child = [](QDialog &screen, const char *name) {
        return screen.findChild<QWidget *>(QString::fromLatin1(name));
    };
    const auto click = [&child](QDialog &screen, const char *name) {
        static_cast<QPushButton *>(child(screen, name))->click();
    };
    const auto jobEnded = [](QDialog &screen) {
        return waitFor([&screen] {
            for (const JobRunner *runner : screen.findChildren<JobRunner *>())
                if (runner->isRunning())
                    return false;
            return true;
        });
    };

    open(command::ClearTemporaryData, [&](QDialog &screen) {
        click(screen, "runButton");
        EXPECT_EQ(static_cast<QLabel *>(child(screen, "progressLine"))->text(), QStringLiteral("清除相关临时数据成功"));
    });
    open(command::CheckItemParameters, [&](QDialog &screen) {
        click(screen, "queryButton");
        click(screen, "checkButton");
        EXPECT_EQ(static_cast<QProgressBar *>(child(screen, "progress"))->value(),
                  static_cast<QProgressBar *>(child(screen, "progress"))->maximum());
    });
    open(command::PlateCorrection, [&](QDialog &screen) { click(screen, "queryButton"); });
    open(command::DebugQuery, [&](QDialog &screen) {
        click(screen, "refreshButton");
        static_cast<QComboBox *>(child(screen, "browseTable"))->setCurrentText(QStringLiteral("tb_id_devid"));
        prompt.answer(PromptButton::Ok);
        click(screen, "browseButton");
        EXPECT_TRUE(jobEnded(screen));
        EXPECT_TRUE(
            static_cast<QLabel *>(child(screen, "browseStatus"))->text().startsWith(QStringLiteral("共查询到[")))
            << static_cast<QLabel *>(child(screen, "browseStatus"))->text().toStdString();
    });
    open(command::SqlWorkspace, [&](QDialog &screen) {
        static_cast<QPlainTextEdit *>(child(screen, "statement"))
            ->setPlainText(QStringLiteral("select * from tb_id_devid"));
        click(screen, "executeButton");
        EXPECT_TRUE(jobEnded(screen));
        EXPECT_EQ(static_cast<QPlainTextEdit *>(child(screen, "log"))->toPlainText().trimmed(),
                  QStringLiteral("执行成功!"));
    });
    open(command::SystemLog, [&](QDialog &screen) {
        click(screen, "queryButton");
        EXPECT_TRUE(screen.windowTitle().startsWith(QStringLiteral("系统日志管理-->共")))
            << screen.windowTitle().toStdString();
    });
    open(command::DatabaseVersions, [&](QDialog &screen) {
        waitFor([] { return false; }, 100);  // the first tick cleans up and loads
        EXPECT_EQ(static_cast<QLineEdit *>(child(screen, "versionPart0"))->text(), QStringLiteral("20"));
    });
}
