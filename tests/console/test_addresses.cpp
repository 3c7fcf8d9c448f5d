// Registration of other computers and the address change, on a real SQLite database reached
// through the driver manager, with the installation's tables as the start-up upgrade makes them.

#include "AddLoginIP.h"
#include "AppState.h"
#include "DbTestSupport.h"
#include "HostTestSystem.h"
#include "LoginComputers.h"
#include "ReportListModel.h"
#include "SchemaUpgrade.h"
#include "ScriptedPrompt.h"
#include "SharedDb.h"
#include "StationAddress.h"
#include "StationRegistry.h"
#include "TestSupport.h"
#include "UpdateIpData.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace dbkeel::test {
namespace {

class AddressDbTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    ScriptedPrompt scripted;

    void SetUp() override
    {
        sharedDb().open(QStringLiteral("DRIVER=SQLite3;Database=%1;StepAPI=1;").arg(dir.filePath(QStringLiteral("t.db"))), 10);
        DbReady = 1;
        sharedDb().exec(QStringLiteral("CREATE TABLE tb_line_info (linetype INTEGER, lineid INTEGER, stationid INTEGER, "
                                       "devid INTEGER, runorder INTEGER, linename TEXT, devname TEXT) STRICT;"));
        runUpgradeGroup2Tables(sharedDb());
        ASSERT_TRUE(runUpgradeGroup2Columns(sharedDb()));
        stationRegistry().clear();
    }
    void TearDown() override
    {
        sharedDb().close();
        EXPECT_EQ(scripted.pendingAnswers(), 0);
    }
    static void addEntry(quintptr node, const QString &ip, const QString &port, int kind, int lineId, int stationId)
    {
        RegistryEntry entry;
        entry.station.ip = ip;
        entry.station.port = port;
        entry.treeNode = node;
        entry.kind = kind;
        entry.lineId = lineId;
        entry.stationId = stationId;
        stationRegistry().add(entry);
    }
    void seedStations()
    {
        sharedDb().exec(QStringLiteral(
            "insert into tb_line_info (lineid, stationid, devid, stationip, stationport) values "
            "(1, 3, 4, '192.168.0.3', 15000), (1, 3, 10, '192.168.0.3', 15000), (1, 2, 2, '192.168.0.2', 15000), "
            "(2, 3, 5, '192.168.0.3', 15000)"));
        addEntry(103, QStringLiteral("192.168.0.3"), QStringLiteral("15000"), 0, 1, 3);
    }
};

TEST_F(AddressDbTest, AStationsNewAddressRewritesItsRowsItsEntryAndItsNode)
{
    seedStations();
    const std::optional<QString> text =
        ApplyAddress(QStringLiteral("192.168.0.9"), 15001, 103, QStringLiteral("[3]工位(192.168.0.3->15000)"));
    EXPECT_EQ(text, QStringLiteral("[3]工位(192.168.0.9->15001)"));
    EXPECT_EQ(stationRegistry().entry(0).station.ip, QStringLiteral("192.168.0.9"));
    EXPECT_EQ(stationRegistry().entry(0).station.port, QStringLiteral("15001"));
    EXPECT_EQ(rows(QStringLiteral("select lineid, stationid, devid, stationip, stationport from tb_line_info order by lineid, stationid, devid")),
              QStringLiteral("1,2,2,192.168.0.2,15000|1,3,4,192.168.0.9,15001|1,3,10,192.168.0.9,15001|2,3,5,192.168.0.3,15000"));
}

TEST_F(AddressDbTest, AComputersNewAddressRewritesItsOwnRow)
{
    sharedDb().exec(QStringLiteral("insert into tb_login_ip_info (PCType, LoginPCname, LoginPCip, LoginPCport, LoginPCno, statusstr) "
                                   "values (1, '登录一', '192.168.0.20', 15000, '1', '登录机'), (1, '登录二', '192.168.0.21', 15000, '2', '登录机')"));
    addEntry(201, QStringLiteral("192.168.0.21"), QStringLiteral("15000"), 1, 2, 1);
    EXPECT_EQ(ApplyAddress(QStringLiteral("10.0.0.21"), 16000, 201, QStringLiteral("[2]登录二(192.168.0.21->15000)")),
              QStringLiteral("[2]登录二(10.0.0.21->16000)"));
    EXPECT_EQ(rows(QStringLiteral("select ID, LoginPCip, LoginPCport from tb_login_ip_info order by ID")),
              QStringLiteral("1,192.168.0.20,15000|2,10.0.0.21,16000"));
}

TEST_F(AddressDbTest, ANodeWithoutAnEntryChangesNothing)
{
    seedStations();
    EXPECT_FALSE(ApplyAddress(QStringLiteral("192.168.0.9"), 15001, 999, QStringLiteral("[1]安检线")));
    EXPECT_EQ(stationRegistry().entry(0).station.ip, QStringLiteral("192.168.0.3"));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_line_info where stationip = '192.168.0.3'")), QStringLiteral("3"));
}

TEST_F(AddressDbTest, AFailedUpdateIsShownAndKeepsTheNewAddressInMemory)
{
    seedStations();
    sharedDb().exec(QStringLiteral("drop table tb_line_info"));
    scripted.answer(PromptButton::Ok);
    EXPECT_EQ(ApplyAddress(QStringLiteral("192.168.0.9"), 15001, 103, QStringLiteral("(192.168.0.3->15000)")),
              QStringLiteral("(192.168.0.9->15001)"));
    EXPECT_TRUE(scripted.lastCall().text.startsWith(QStringLiteral("修改IP失败")));
    EXPECT_TRUE(scripted.lastCall().text.contains(QStringLiteral("no such table")));
    EXPECT_EQ(scripted.lastCall().icon, PromptIcon::Exclamation);
    EXPECT_EQ(DbReady.load(), 0);
    EXPECT_EQ(stationRegistry().entry(0).station.ip, QStringLiteral("192.168.0.9"));
}

TEST_F(AddressDbTest, WithoutAConnectionOnlyTheRegistryAndTheNodeChange)
{
    seedStations();
    sharedDb().close();
    EXPECT_EQ(ApplyAddress(QStringLiteral("192.168.0.9"), 15001, 103, QStringLiteral("(192.168.0.3->15000)")),
              QStringLiteral("(192.168.0.9->15001)"));
    EXPECT_EQ(stationRegistry().entry(0).station.port, QStringLiteral("15001"));
}

TEST_F(AddressDbTest, ADoubleClickOpensTheAddressEditorOnStationNodesOnly)
{
    seedStations();
    EXPECT_FALSE(ChangeAddress(nullptr, QStringLiteral("[1]安检线"), 1));   // a line node: no entry
    EXPECT_FALSE(ChangeAddress(nullptr, QStringLiteral("登录机"), 103));    // a group node: neither "[" nor "工位"
    EXPECT_TRUE(scripted.calls().empty());

    struct Case {
        QString typedPort;
        QString expectedTail, expectedPort;
    };
    const Case cases[] = {{QStringLiteral("15001"), QStringLiteral("(192.168.0.9->15001)"), QStringLiteral("15001")},
                          {QStringLiteral("abc"), QStringLiteral("(192.168.0.9->0)"), QStringLiteral("0")}};
    QString node = QStringLiteral("[3]工位(192.168.0.3->15000)");
    for (const Case &c : cases) {
        scripted.answerModal([&](QDialog &dialog) {
            EXPECT_FALSE(dialog.findChild<QLineEdit *>(QStringLiteral("devicePath"))->isEnabled());
            EXPECT_FALSE(dialog.findChild<QLineEdit *>(QStringLiteral("deviceRemark"))->isEnabled());
            EXPECT_FALSE(dialog.findChild<QPushButton *>(QStringLiteral("browse"))->isEnabled());
            EXPECT_EQ(dialog.findChild<QLineEdit *>(QStringLiteral("address"))->text(), stationRegistry().entry(0).station.ip);
            dialog.findChild<QLineEdit *>(QStringLiteral("address"))->setText(QStringLiteral("192.168.0.9"));
            dialog.findChild<QLineEdit *>(QStringLiteral("port"))->setText(c.typedPort);
            dialog.findChild<QPushButton *>(QStringLiteral("ok"))->click();
        });
        const std::optional<QString> text = ChangeAddress(nullptr, node, 103);
        ASSERT_TRUE(text);
        EXPECT_EQ(*text, QStringLiteral("[3]工位") + c.expectedTail);
        node = *text;
        EXPECT_EQ(rows(QStringLiteral("select distinct stationport from tb_line_info where lineid = 1 and stationid = 3")),
                  c.expectedPort);
    }
    scripted.answerModal([](QDialog &dialog) { dialog.reject(); });
    EXPECT_FALSE(ChangeAddress(nullptr, node, 103));
}

TEST(UpdateIpDataTest, TheEditorReturnsWhatWasTypedCutToItsLimits)
{
    UpdateIpData editor(nullptr, {QStringLiteral("10.0.0.1"), QStringLiteral("15000"), QStringLiteral("滚筒式"),
                                  QStringLiteral("320102"), QStringLiteral("DEVBIN/Dev03.dll"), QStringLiteral("1.0.0")});
    EXPECT_TRUE(editor.windowTitle().isEmpty());
    EXPECT_TRUE(editor.findChild<QLineEdit *>(QStringLiteral("devicePath"))->isEnabled());
    EXPECT_EQ(editor.findChild<QLineEdit *>(QStringLiteral("deviceRemark"))->text(), QStringLiteral("1.0.0"));
    EXPECT_EQ(editor.findChild<QComboBox *>(QStringLiteral("brakeType"))->currentText(), QStringLiteral("滚筒式"));
    editor.findChild<QLineEdit *>(QStringLiteral("port"))->setText(QString(25, QLatin1Char('9')));
    editor.findChild<QLineEdit *>(QStringLiteral("deviceRemark"))->setText(QString(50, QChar(u'说')));
    editor.findChild<QPushButton *>(QStringLiteral("ok"))->click();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    const StationRowRecord record = editor.record();
    EXPECT_EQ(record.address, QStringLiteral("10.0.0.1"));
    EXPECT_EQ(record.port, QString(19, QLatin1Char('9')));
    EXPECT_EQ(record.deviceRemark, QString(44, QChar(u'说')));  // 88 of 89 bytes: a character is never split
    EXPECT_EQ(record.devicePath, QStringLiteral("DEVBIN/Dev03.dll"));
    EXPECT_EQ(record.areaCode, QStringLiteral("320102"));
}

TEST(UpdateIpDataTest, TheDeviceBrowserPutsThePathAndItsVersionTexts)
{
    ASSERT_TRUE(loadedHostLib().isLoaded());
    ScriptedPrompt scripted;
    UpdateIpData editor(nullptr, {});
    const QString agent = buildBinDir() + QStringLiteral("/dbkeel-agent");
    scripted.answerFile(QString()).answerFile(agent);
    editor.chooseDevicePath();
    EXPECT_TRUE(editor.findChild<QLineEdit *>(QStringLiteral("devicePath"))->text().isEmpty());
    const FileRequest request = scripted.lastCall().file;
    EXPECT_EQ(request.filter, QStringLiteral("open files (*.dll)|*.dll|open files (*.dev)|*.dev|ALL files (*.*)|*.*||"));
    EXPECT_EQ(request.defaultExtension, QStringLiteral("dll"));
    EXPECT_TRUE(request.initialPath.endsWith(QStringLiteral("*.dll")));

    editor.chooseDevicePath();
    EXPECT_EQ(editor.findChild<QLineEdit *>(QStringLiteral("devicePath"))->text(), agent);
    EXPECT_EQ(editor.findChild<QLineEdit *>(QStringLiteral("deviceRemark"))->text(),
              QStringLiteral("Ver:%1 dbkeel-agent Dbkeel 工位常驻程序").arg(QStringLiteral(DBKEEL_PROJECT_VERSION)));
}

class AddLoginIPTest : public AddressDbTest {
protected:
    static void type(QDialog &screen, const QString &name, const QString &text)
    {
        screen.findChild<QLineEdit *>(name)->setText(text);
    }
    static void fill(QDialog &screen, const QString &name, const QString &number, const QString &ip, const QString &port)
    {
        type(screen, QStringLiteral("name"), name);
        type(screen, QStringLiteral("number"), number);
        type(screen, QStringLiteral("ip"), ip);
        type(screen, QStringLiteral("port"), port);
    }
    static void press(QDialog &screen, const QString &button)
    {
        screen.findChild<QPushButton *>(button)->click();
    }
    static QString listRows(AddLoginIP &screen)
    {
        QStringList all;
        for (int row = 0; row < screen.list().rowCount(); ++row) {
            QStringList cells;
            for (int c = 0; c < 6; ++c)
                cells << screen.list().itemText(row, c);
            all << cells.join(QLatin1Char(','));
        }
        return all.join(QLatin1Char('|'));
    }
    static QString stored()
    {
        return rows(QStringLiteral("select PCType, LoginPCname, LoginPCip, LoginPCport, LoginPCno, statusstr "
                                   "from tb_login_ip_info order by ID"));
    }
};

TEST_F(AddLoginIPTest, AddChecksTheFieldsInOrderAndFocusesTheOffendingOne)
{
    AddLoginIP screen;
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("添加其他计算机"));
    EXPECT_EQ(screen.findChild<QComboBox *>(QStringLiteral("type"))->currentText(), QStringLiteral("登录机"));
    struct Case {
        QString name, number, ip, port;
        bool noType;
        QString message, focused;
    };
    const Case cases[] = {
        {{}, {}, {}, {}, true, QStringLiteral("类型不能为空!"), {}},
        {{}, {}, {}, {}, false, QStringLiteral("端口不能为空!"), QStringLiteral("port")},
        {{}, {}, {}, QStringLiteral("15000"), false, QStringLiteral("IP不能为空!"), QStringLiteral("ip")},
        {{}, {}, QStringLiteral(" . . . "), QStringLiteral("15000"), false, QStringLiteral("IP不能为空!"), QStringLiteral("ip")},
        {{}, {}, QStringLiteral("10.0.0.1"), QStringLiteral("15000"), false, QStringLiteral("编号不能为空!"), QStringLiteral("number")},
        {{}, QStringLiteral("1"), QStringLiteral("10.0.0.1"), QStringLiteral("15000"), false, QStringLiteral("名称不能为空!"), QStringLiteral("name")},
    };
    for (const Case &c : cases) {
        fill(screen, c.name, c.number, c.ip, c.port);
        screen.findChild<QComboBox *>(QStringLiteral("type"))->setCurrentIndex(c.noType ? -1 : 0);
        screen.findChild<QPushButton *>(QStringLiteral("add"))->setFocus();
        scripted.answer(PromptButton::Ok);
        press(screen, QStringLiteral("add"));
        EXPECT_EQ(scripted.lastCall().caption, QStringLiteral("提示"));
        EXPECT_EQ(scripted.lastCall().text, c.message);
        EXPECT_EQ(scripted.lastCall().icon, PromptIcon::Exclamation);
        const QString focused = c.focused.isEmpty() ? QStringLiteral("add") : c.focused;
        EXPECT_EQ(screen.focusWidget()->objectName(), focused) << c.message.toStdString();
    }
    EXPECT_EQ(screen.list().rowCount(), 0);
}

TEST_F(AddLoginIPTest, NumbersAreUniqueNamesAreNot)
{
    AddLoginIP screen;
    fill(screen, QStringLiteral("登录一"), QStringLiteral("1"), QStringLiteral("10.0.0.1"), QStringLiteral("15000"));
    press(screen, QStringLiteral("add"));
    fill(screen, QStringLiteral("登录一"), QStringLiteral("2"), QStringLiteral("10.0.0.2"), QStringLiteral("15000"));
    press(screen, QStringLiteral("add"));
    fill(screen, QStringLiteral("另一台"), QStringLiteral("1"), QStringLiteral("10.0.0.3"), QStringLiteral("15000"));
    scripted.answer(PromptButton::Ok);
    press(screen, QStringLiteral("add"));
    EXPECT_EQ(scripted.lastCall().text, QStringLiteral("该编号已经存在,请重新编写!"));
    EXPECT_EQ(screen.focusWidget()->objectName(), QStringLiteral("number"));
    screen.findChild<QComboBox *>(QStringLiteral("type"))->setCurrentIndex(1);
    fill(screen, QStringLiteral("工作站"), QStringLiteral("3"), QStringLiteral("10.0.0.4"), QStringLiteral("15001"));
    press(screen, QStringLiteral("add"));
    EXPECT_EQ(listRows(screen), QStringLiteral("登录一,10.0.0.1,15000,1,登录机,1|登录一,10.0.0.2,15000,2,登录机,1|"
                                               "工作站,10.0.0.4,15001,3,其他计算机,0"));
    EXPECT_EQ(stored(), QString());  // nothing is stored before "确定"

    press(screen, QStringLiteral("ok"));
    EXPECT_EQ(screen.result(), QDialog::Accepted);
    EXPECT_EQ(stored(), QStringLiteral("1,登录一,10.0.0.1,15000,1,登录机|1,登录一,10.0.0.2,15000,2,登录机|"
                                       "0,工作站,10.0.0.4,15001,3,其他计算机"));
}

TEST_F(AddLoginIPTest, OpeningListsTheStoredComputersAndADoubleClickDeletesOne)
{
    sharedDb().exec(QStringLiteral("insert into tb_login_ip_info (PCType, LoginPCname, LoginPCip, LoginPCport, LoginPCno, statusstr) "
                                   "values (1, '登录一', '10.0.0.1', 15000, '1', '登录机'), (0, '工作站', '10.0.0.4', 15001, '3', '其他计算机')"));
    AddLoginIP screen;
    EXPECT_EQ(listRows(screen), QStringLiteral("工作站,10.0.0.4,15001,3,其他计算机,0|登录一,10.0.0.1,15000,1,登录机,1"));
    EXPECT_EQ(screen.list().column(5).width, 0);
    EXPECT_EQ(screen.list().textColor(0, 0), listcolor::Blue);
    auto *view = screen.findChild<QAbstractItemView *>(QStringLiteral("list"));
    emit view->doubleClicked(screen.list().index(1, 0));
    EXPECT_EQ(listRows(screen), QStringLiteral("工作站,10.0.0.4,15001,3,其他计算机,0"));
    EXPECT_EQ(stored(), QStringLiteral("0,工作站,10.0.0.4,15001,3,其他计算机"));
}

TEST_F(AddLoginIPTest, DeleteAllEmptiesTheTableAtOnceEvenWhenCancelled)
{
    sharedDb().exec(QStringLiteral("insert into tb_login_ip_info (PCType, LoginPCname, LoginPCip, LoginPCport, LoginPCno, statusstr) "
                                   "values (1, '登录一', '10.0.0.1', 15000, '1', '登录机')"));
    AddLoginIP screen;
    press(screen, QStringLiteral("deleteAll"));
    EXPECT_EQ(screen.list().rowCount(), 1);
    press(screen, QStringLiteral("cancel"));
    EXPECT_EQ(screen.result(), QDialog::Rejected);
    EXPECT_EQ(stored(), QString());
}

TEST_F(AddLoginIPTest, APortInLettersFailsTheSaveWhichStopsThereAndStillCloses)
{
    sharedDb().exec(QStringLiteral("insert into tb_login_ip_info (PCType, LoginPCname, LoginPCip, LoginPCport, LoginPCno, statusstr) "
                                   "values (1, '旧的', '10.0.0.9', 15000, '9', '登录机')"));
    AddLoginIP screen;
    fill(screen, QStringLiteral("字母端口"), QStringLiteral("1"), QStringLiteral("10.0.0.1"), QStringLiteral("abc"));
    press(screen, QStringLiteral("add"));  // Add accepts it
    fill(screen, QStringLiteral("后一台"), QStringLiteral("2"), QStringLiteral("10.0.0.2"), QStringLiteral("15000"));
    press(screen, QStringLiteral("add"));
    scripted.answer(PromptButton::Ok);
    press(screen, QStringLiteral("ok"));
    EXPECT_EQ(scripted.lastCall().caption, QStringLiteral("提示"));
    EXPECT_TRUE(scripted.lastCall().text.startsWith(QStringLiteral("插入信息异常")));
    EXPECT_TRUE(scripted.lastCall().text.contains(QStringLiteral("[SQLite]"))) << scripted.lastCall().text.toStdString();
    EXPECT_EQ(DbReady.load(), 0);
    EXPECT_EQ(screen.result(), QDialog::Accepted);
    // "旧的" was deleted before the failing insert; the rows after it were not inserted.
    EXPECT_EQ(stored(), QStringLiteral("1,旧的,10.0.0.9,15000,9,登录机"));
}

}  // namespace
}  // namespace dbkeel::test
