// The registration screen, the station row editor and the address change driven through their
// controls.

#include "console/ComputerRegistrationDialog.h"
#include "console/StationRowDialog.h"
#include "core/StationRegistry.h"
#include "tests/console/AddressFixture.h"
#include "tests/support/HostTestSystem.h"
#include "tests/support/TestSupport.h"
#include "widgets/IpAddressEdit.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

namespace dbkeel::test {
namespace {

template <typename Control = QLineEdit>
Control *control(QWidget &screen, const char *name)
{
    auto *found = screen.findChild<Control *>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void press(QWidget &screen, const char *button)
{
    control<QPushButton>(screen, button)->click();
}

// Fills a text box or an address field.
void fill(QWidget &screen, const char *name, const QString &text)
{
    if (auto *address = screen.findChild<IpAddressEdit *>(QString::fromLatin1(name)))
        address->setText(text);
    else
        control(screen, name)->setText(text);
}

TEST(StationRowDialogTest, TheEditorShowsTheRecordAndTakesBackWhatWasTyped)
{
    ASSERT_TRUE(loadedHostLib().isLoaded());
    ScriptedPrompt scripted;
    const StationRowRecord opened{QStringLiteral("10.0.0.1"),         QStringLiteral("15000"),
                                  QStringLiteral("滚筒式"),           QStringLiteral("320102"),
                                  QStringLiteral("DEVBIN/Dev03.dll"), QStringLiteral("1.0.0")};
    const QString agent = buildBinDir() + QStringLiteral("/dbkeel-agent");
    scripted.answerModal([&](QDialog &editor) {
        EXPECT_TRUE(editor.windowTitle().isEmpty());
        EXPECT_EQ(control<IpAddressEdit>(editor, "address")->text(), opened.address);
        EXPECT_EQ(control<QComboBox>(editor, "brakeType")->currentText(), opened.brakeType);
        EXPECT_EQ(control(editor, "deviceRemark")->text(), opened.deviceRemark);
        EXPECT_TRUE(control<QPushButton>(editor, "browse")->isEnabled());
        EXPECT_FALSE(control<QPushButton>(editor, "ok")->autoDefault());
        press(editor, "browse");
        control(editor, "port")->setText(QString(25, QLatin1Char('9')));
        press(editor, "ok");
    });
    scripted.answerFile(agent);
    StationRowRecord record = opened;
    EXPECT_TRUE(StationRowDialog::edit(nullptr, record));
    EXPECT_EQ(record.address, opened.address);
    EXPECT_EQ(record.port, QString(19, QLatin1Char('9')));
    EXPECT_EQ(record.areaCode, opened.areaCode);
    EXPECT_EQ(record.devicePath, agent);
    EXPECT_EQ(record.deviceRemark,
              QStringLiteral("Ver:%1 dbkeel-agent Dbkeel 工位常驻程序").arg(QStringLiteral(DBKEEL_PROJECT_VERSION)));

    scripted.answerModal([](QDialog &editor) {
        fill(editor, "address", QStringLiteral("10.0.0.2"));
        press(editor, "cancel");
    });
    const StationRowRecord before = record;
    EXPECT_FALSE(StationRowDialog::edit(nullptr, record));
    EXPECT_EQ(record.address, before.address);
}

TEST_F(AddressDbTest, ADoubleClickedStationNodeIsEditedInAddressOnlyMode)
{
    seedStations();
    const QString node = QStringLiteral("[3]工位(192.168.0.3->15000)");
    scripted.answerModal([](QDialog &editor) {
        for (const char *device : {"devicePath", "deviceRemark", "browse"})
            EXPECT_FALSE(control<QWidget>(editor, device)->isEnabled()) << device;
        EXPECT_TRUE(control(editor, "devicePath")->text().isEmpty());
        EXPECT_EQ(control<IpAddressEdit>(editor, "address")->text(), QStringLiteral("192.168.0.3"));
        EXPECT_EQ(control(editor, "port")->text(), QStringLiteral("15000"));
        fill(editor, "address", QStringLiteral("192.168.0.9"));
        control(editor, "port")->setText(QStringLiteral("15001"));
        press(editor, "ok");
    });
    EXPECT_EQ(ChangeAddress(nullptr, node, 103), QStringLiteral("[3]工位(192.168.0.9->15001)"));
    EXPECT_EQ(rows(QStringLiteral(
                  "select distinct stationip, stationport from tb_line_info where lineid = 1 and stationid = 3")),
              QStringLiteral("192.168.0.9,15001"));

    // The address field holds four parts of 0 to 255: what it shows is what the station gets.
    scripted.answerModal([](QDialog &editor) {
        fill(editor, "address", QStringLiteral("192.168.0.300"));
        EXPECT_EQ(control<IpAddressEdit>(editor, "address")->text(), QStringLiteral("192.168.0.255"));
        press(editor, "ok");
    });
    EXPECT_EQ(ChangeAddress(nullptr, QStringLiteral("[3]工位(192.168.0.9->15001)"), 103),
              QStringLiteral("[3]工位(192.168.0.255->15001)"));
    EXPECT_EQ(stationRegistry().entry(stationRegistry().indexOfNode(103)).station.ip, QStringLiteral("192.168.0.255"));
    EXPECT_EQ(rows(QStringLiteral("select distinct stationip from tb_line_info where lineid = 1 and stationid = 3")),
              QStringLiteral("192.168.0.255"));

    scripted.answerModal([](QDialog &editor) { press(editor, "cancel"); });
    EXPECT_FALSE(ChangeAddress(nullptr, QStringLiteral("[3]工位(192.168.0.255->15001)"), 103));
    EXPECT_FALSE(ChangeAddress(nullptr, QStringLiteral("[1]安检线"), 1));  // no editor for a line node
}

TEST_F(AddressDbTest, TheRegistrationScreenIsFilledFieldByFieldAndStoredOnOk)
{
    sharedDb().exec(QStringLiteral(
        "insert into tb_login_ip_info (PCType, LoginPCname, LoginPCip, LoginPCport, LoginPCno, statusstr) "
        "values (1, '旧的', '10.0.0.9', 15000, '9', '登录机')"));
    ComputerRegistrationDialog screen;
    EXPECT_EQ(screen.windowTitle(), QStringLiteral("添加其他计算机"));
    EXPECT_EQ(control<QComboBox>(screen, "type")->currentText(), QStringLiteral("登录机"));
    control<IpAddressEdit>(screen, "ip");
    EXPECT_FALSE(control<QPushButton>(screen, "add")->autoDefault());
    const ReportListModel &list = screen.computers().list();
    EXPECT_EQ(list.rowCount(), 1);

    // Each press of 添加 names the next empty field and moves the focus to it.
    const struct {
        const char *field;
        QString message, typed;
    } steps[] = {{"port", QStringLiteral("端口不能为空!"), QStringLiteral("15000")},
                 {"ip", QStringLiteral("IP不能为空!"), QStringLiteral("10.0.0.1")},
                 {"number", QStringLiteral("编号不能为空!"), QStringLiteral("1")},
                 {"name", QStringLiteral("名称不能为空!"), QStringLiteral("登录一")}};
    for (const auto &step : steps) {
        scripted.answer(PromptButton::Ok);
        press(screen, "add");
        EXPECT_EQ(scripted.lastCall().text, step.message);
        const QWidget *named = screen.findChild<QWidget *>(QString::fromLatin1(step.field));
        EXPECT_TRUE(screen.focusWidget() == named || named->isAncestorOf(screen.focusWidget())) << step.field;
        fill(screen, step.field, step.typed);
    }
    press(screen, "add");
    ASSERT_EQ(list.rowCount(), 2);
    EXPECT_EQ(list.itemText(1, ComputerRegistrationEditor::Name), QStringLiteral("登录一"));

    auto *view = control<QAbstractItemView>(screen, "list");
    EXPECT_EQ(view->model(), &list);
    emit view->doubleClicked(list.index(0, 0));
    EXPECT_EQ(list.rowCount(), 1);
    EXPECT_EQ(storedComputers(), QString());  // "旧的" deleted at once, "登录一" not yet stored

    press(screen, "ok");
    EXPECT_EQ(screen.result(), QDialog::Accepted);
    EXPECT_EQ(storedComputers(), QStringLiteral("1,登录一,10.0.0.1,15000,1,登录机"));
}

TEST_F(AddressDbTest, DeleteAllOnTheRegistrationScreenEmptiesTheTableEvenWhenCancelled)
{
    seedComputers();
    ComputerRegistrationDialog screen;
    press(screen, "deleteAll");
    EXPECT_EQ(screen.computers().list().rowCount(), 2);
    press(screen, "cancel");
    EXPECT_EQ(screen.result(), QDialog::Rejected);
    EXPECT_EQ(storedComputers(), QString());
}

}  // namespace
}  // namespace dbkeel::test
