// Registration of other computers, the station row record and the address change, without their
// dialogs, on a real SQLite database.

#include "console/ComputerRegistrationEditor.h"
#include "console/StationAddress.h"
#include "console/StationRowEditor.h"
#include "tests/console/AddressFixture.h"
#include "tests/support/HostTestSystem.h"
#include "tests/support/TestSupport.h"

namespace dbkeel::test {
namespace {

const QString kStationNode = QStringLiteral("[3]工位(192.168.0.3->15000)");

TEST_F(AddressDbTest, AStationsNewAddressRewritesItsRowsItsEntryAndItsNode)
{
    seedStations();
    const std::optional<QString> text = ApplyAddress(QStringLiteral("192.168.0.9"), 15001, 103, kStationNode);
    EXPECT_EQ(text, QStringLiteral("[3]工位(192.168.0.9->15001)"));
    EXPECT_EQ(stationRegistry().entry(0).station.ip, QStringLiteral("192.168.0.9"));
    EXPECT_EQ(stationRegistry().entry(0).station.port, QStringLiteral("15001"));
    EXPECT_EQ(
        rows(QStringLiteral(
            "select lineid, stationid, devid, stationip, stationport from tb_line_info order by lineid, stationid, devid")),
        QStringLiteral(
            "1,2,2,192.168.0.2,15000|1,3,4,192.168.0.9,15001|1,3,10,192.168.0.9,15001|2,3,5,192.168.0.3,15000"));
}

TEST_F(AddressDbTest, AComputersNewAddressRewritesItsOwnRow)
{
    seedComputers();
    EXPECT_EQ(ApplyAddress(QStringLiteral("10.0.0.21"), 16000, 201, QStringLiteral("[2]登录二(192.168.0.21->15000)")),
              QStringLiteral("[2]登录二(10.0.0.21->16000)"));
    EXPECT_EQ(rows(QStringLiteral("select ID, LoginPCip, LoginPCport from tb_login_ip_info order by ID")),
              QStringLiteral("1,192.168.0.20,15000|2,10.0.0.21,16000"));
}

// "%2" in an address is text like any other: it must not take the place of the next value.
TEST_F(AddressDbTest, AnAddressIsStoredAsTypedEvenWithPlaceholdersInIt)
{
    seedStations();
    seedComputers();
    const struct {
        quintptr node;
        QString nodeText, storedQuery;
    } cases[] = {
        {103, kStationNode,
         QStringLiteral("select distinct stationip, stationport from tb_line_info where lineid = 1 and stationid = 3")},
        {201, QStringLiteral("[2]登录二(192.168.0.21->15000)"),
         QStringLiteral("select LoginPCip, LoginPCport from tb_login_ip_info where ID = 2")},
    };
    for (const auto &c : cases) {
        std::optional<StationRowRecord> record = addressChangeRecord(c.nodeText, c.node);
        ASSERT_TRUE(record);
        record->address = QStringLiteral("10.0.0.%2");
        record->port = QStringLiteral("15011");
        const std::optional<QString> text = applyAddressChange(*record, c.node, c.nodeText);
        ASSERT_TRUE(text);
        EXPECT_TRUE(text->endsWith(QStringLiteral("(10.0.0.%2->15011)"))) << text->toStdString();
        EXPECT_EQ(rows(c.storedQuery), QStringLiteral("10.0.0.%2,15011"));
    }
}

TEST_F(AddressDbTest, ANodeWithoutAnEntryChangesNothing)
{
    seedStations();
    EXPECT_FALSE(ApplyAddress(QStringLiteral("192.168.0.9"), 15001, 999, QStringLiteral("[1]安检线")));
    EXPECT_EQ(stationRegistry().entry(0).station.ip, QStringLiteral("192.168.0.3"));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_line_info where stationip = '192.168.0.3'")),
              QStringLiteral("3"));
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

TEST_F(AddressDbTest, OnlyStationAndComputerNodesWithAnEntryOfferTheirAddress)
{
    seedStations();
    EXPECT_FALSE(addressChangeRecord(QStringLiteral("[1]安检线"), 1));  // a line node: no entry
    EXPECT_FALSE(addressChangeRecord(QStringLiteral("登录机"), 103));   // a group node: neither "[" nor "工位"
    const std::optional<StationRowRecord> record = addressChangeRecord(kStationNode, 103);
    ASSERT_TRUE(record);
    EXPECT_TRUE(record->isAddressOnly());
    EXPECT_EQ(record->address, QStringLiteral("192.168.0.3"));
    EXPECT_EQ(record->port, QStringLiteral("15000"));
    EXPECT_TRUE(record->brakeType.isEmpty() && record->areaCode.isEmpty());
    EXPECT_TRUE(scripted.calls().empty());
}

TEST_F(AddressDbTest, APortThatIsNoNumberBecomesZero)
{
    seedStations();
    StationRowRecord edited = *addressChangeRecord(kStationNode, 103);
    edited.port = QStringLiteral("abc");
    EXPECT_EQ(applyAddressChange(edited, 103, kStationNode), QStringLiteral("[3]工位(192.168.0.3->0)"));
    EXPECT_EQ(rows(QStringLiteral("select distinct stationport from tb_line_info where lineid = 1 and stationid = 3")),
              QStringLiteral("0"));
}

TEST(StationRowRecordTest, EachTextIsCutToItsLimitWithoutSplittingACharacter)
{
    StationRowRecord record{QString(120, QLatin1Char('1')), QString(25, QLatin1Char('9')),  QString(60, QChar(u'鼓')),
                            QString(120, QLatin1Char('2')), QString(500, QLatin1Char('p')), QString(50, QChar(u'说'))};
    record.cutToLimits();
    EXPECT_EQ(record.address, QString(99, QLatin1Char('1')));
    EXPECT_EQ(record.port, QString(19, QLatin1Char('9')));
    EXPECT_EQ(record.brakeType, QString(49, QChar(u'鼓')));  // 98 of 99 bytes
    EXPECT_EQ(record.areaCode, QString(99, QLatin1Char('2')));
    EXPECT_EQ(record.devicePath, QString(399, QLatin1Char('p')));
    EXPECT_EQ(record.deviceRemark, QString(44, QChar(u'说')));  // 88 of 89 bytes
}

TEST(StationRowRecordTest, AddressOnlyWhenBothDeviceTextsAreUnused)
{
    const struct {
        QString path, remark;
        bool addressOnly;
    } cases[] = {{QStringLiteral("-1"), QStringLiteral("-1"), true},
                 {QStringLiteral("-1"), QString(), false},
                 {QStringLiteral("Dev03.dll"), QStringLiteral("-1"), false}};
    for (const auto &c : cases)
        EXPECT_EQ((StationRowRecord{{}, {}, {}, {}, c.path, c.remark}.isAddressOnly()), c.addressOnly)
            << c.path.toStdString();
    EXPECT_TRUE(StationRowRecord::addressOnly(QStringLiteral("10.0.0.1"), QStringLiteral("15000")).isAddressOnly());
}

TEST(DeviceLibraryTest, TheChosenLibraryBringsItsVersionTextsAsTheRemark)
{
    ASSERT_TRUE(loadedHostLib().isLoaded());
    ScriptedPrompt scripted;
    QTemporaryDir dir;
    const QString plain = dir.filePath(QStringLiteral("plain.dll"));
    writeFileBytes(plain, QByteArray("no version texts in here"));
    const QString agent = buildBinDir() + QStringLiteral("/dbkeel-agent");
    scripted.answerFile(QString()).answerFile(agent).answerFile(plain);

    EXPECT_FALSE(chooseDeviceLibrary());
    const FileRequest request = scripted.lastCall().file;
    EXPECT_EQ(request.filter,
              QStringLiteral("open files (*.dll)|*.dll|open files (*.dev)|*.dev|ALL files (*.*)|*.*||"));
    EXPECT_EQ(request.defaultExtension, QStringLiteral("dll"));
    EXPECT_TRUE(request.initialPath.endsWith(QStringLiteral("*.dll")));

    const std::optional<DeviceChoice> versioned = chooseDeviceLibrary();
    ASSERT_TRUE(versioned);
    EXPECT_EQ(versioned->path, agent);
    EXPECT_EQ(versioned->remark,
              QStringLiteral("Ver:%1 dbkeel-agent Dbkeel 工位常驻程序").arg(QStringLiteral(DBKEEL_PROJECT_VERSION)));

    const std::optional<DeviceChoice> unversioned = chooseDeviceLibrary();
    ASSERT_TRUE(unversioned);
    EXPECT_EQ(unversioned->path, plain);
    EXPECT_FALSE(unversioned->remark);
    EXPECT_EQ(scripted.pendingAnswers(), 0);
}

class ComputerRegistrationEditorTest : public AddressDbTest {
protected:
    ComputerRegistrationEditor computers;

    static LoginComputerInput input(const QString &name, const QString &number, const QString &address,
                                    const QString &port,
                                    const QString &type = ComputerRegistrationEditor::kLoginMachine)
    {
        return {type, port, address, number, name};
    }
    QString listRows() const
    {
        QStringList all;
        for (int row = 0; row < computers.list().rowCount(); ++row) {
            QStringList cells;
            for (int c = 0; c < 6; ++c)
                cells << computers.list().itemText(row, c);
            all << cells.join(QLatin1Char(','));
        }
        return all.join(QLatin1Char('|'));
    }
};

TEST_F(ComputerRegistrationEditorTest, AddChecksTheFieldsInOrderAndNamesTheFirstThatFails)
{
    const struct {
        LoginComputerInput typed;
        QString message;
        LoginField field;
    } cases[] = {
        {input({}, {}, {}, {}, QString()), QStringLiteral("类型不能为空!"), LoginField::Type},
        {input({}, {}, {}, {}), QStringLiteral("端口不能为空!"), LoginField::Port},
        {input({}, {}, {}, QStringLiteral("15000")), QStringLiteral("IP不能为空!"), LoginField::Address},
        {input({}, {}, QStringLiteral(" . . . "), QStringLiteral("15000")), QStringLiteral("IP不能为空!"),
         LoginField::Address},
        {input({}, {}, QStringLiteral("10.0.0.1"), QStringLiteral("15000")), QStringLiteral("编号不能为空!"),
         LoginField::Number},
        {input({}, QStringLiteral("1"), QStringLiteral("10.0.0.1"), QStringLiteral("15000")),
         QStringLiteral("名称不能为空!"), LoginField::Name},
    };
    for (const auto &c : cases) {
        scripted.answer(PromptButton::Ok);
        EXPECT_EQ(computers.add(c.typed), c.field) << c.message.toStdString();
        EXPECT_EQ(scripted.lastCall().caption, QStringLiteral("提示"));
        EXPECT_EQ(scripted.lastCall().text, c.message);
        EXPECT_EQ(scripted.lastCall().icon, PromptIcon::Exclamation);
    }
    EXPECT_EQ(computers.list().rowCount(), 0);
}

TEST_F(ComputerRegistrationEditorTest, NumbersAreUniqueNamesAreNotAndNothingIsStoredBeforeSave)
{
    EXPECT_FALSE(computers.add(
        input(QStringLiteral("登录一"), QStringLiteral("1"), QStringLiteral("10.0.0.1"), QStringLiteral("15000"))));
    EXPECT_FALSE(computers.add(
        input(QStringLiteral("登录一"), QStringLiteral("2"), QStringLiteral("10.0.0.2"), QStringLiteral("15000"))));
    scripted.answer(PromptButton::Ok);
    EXPECT_EQ(computers.add(input(QStringLiteral("另一台"), QStringLiteral("1"), QStringLiteral("10.0.0.3"),
                                  QStringLiteral("15000"))),
              LoginField::Number);
    EXPECT_EQ(scripted.lastCall().text, QStringLiteral("该编号已经存在,请重新编写!"));
    EXPECT_FALSE(computers.add(input(QStringLiteral("工作站"), QStringLiteral("3"), QStringLiteral("10.0.0.4"),
                                     QStringLiteral("15001"), ComputerRegistrationEditor::kOtherComputer)));
    EXPECT_EQ(listRows(), QStringLiteral("登录一,10.0.0.1,15000,1,登录机,1|登录一,10.0.0.2,15000,2,登录机,1|"
                                         "工作站,10.0.0.4,15001,3,其他计算机,0"));
    EXPECT_EQ(computers.list().textColor(2, 0), listcolor::Blue);
    EXPECT_EQ(storedComputers(), QString());

    computers.save();
    EXPECT_EQ(storedComputers(), QStringLiteral("1,登录一,10.0.0.1,15000,1,登录机|1,登录一,10.0.0.2,15000,2,登录机|"
                                                "0,工作站,10.0.0.4,15001,3,其他计算机"));
}

TEST_F(ComputerRegistrationEditorTest, LoadListsTheStoredComputersByTypeAndDeleteRowRemovesOne)
{
    sharedDb().exec(QStringLiteral(
        "insert into tb_login_ip_info (PCType, LoginPCname, LoginPCip, LoginPCport, LoginPCno, statusstr) "
        "values (1, '登录一', '10.0.0.1', 15000, '1', '登录机'), (0, '工作站', '10.0.0.4', 15001, '3', '其他计算机')"));
    computers.load();
    EXPECT_EQ(listRows(), QStringLiteral("工作站,10.0.0.4,15001,3,其他计算机,0|登录一,10.0.0.1,15000,1,登录机,1"));
    EXPECT_EQ(computers.list().column(ComputerRegistrationEditor::PcType).width, 0);
    EXPECT_EQ(computers.list().textColor(0, 0), listcolor::Blue);

    computers.deleteRow(5);  // no such row
    computers.deleteRow(1);
    EXPECT_EQ(listRows(), QStringLiteral("工作站,10.0.0.4,15001,3,其他计算机,0"));
    EXPECT_EQ(storedComputers(), QStringLiteral("0,工作站,10.0.0.4,15001,3,其他计算机"));

    // A failed delete keeps the row and the connection's state.
    sharedDb().exec(QStringLiteral("drop table tb_login_ip_info"));
    scripted.answer(PromptButton::Ok);
    computers.deleteRow(0);
    EXPECT_TRUE(scripted.lastCall().text.startsWith(QStringLiteral("删除信息异常")));
    EXPECT_EQ(computers.list().rowCount(), 1);
    EXPECT_EQ(DbReady.load(), 1);
}

TEST_F(ComputerRegistrationEditorTest, DeleteAllEmptiesTheTableAndKeepsTheList)
{
    sharedDb().exec(QStringLiteral(
        "insert into tb_login_ip_info (PCType, LoginPCname, LoginPCip, LoginPCport, LoginPCno, statusstr) "
        "values (1, '登录一', '10.0.0.1', 15000, '1', '登录机')"));
    computers.load();
    computers.deleteAll();
    EXPECT_EQ(computers.list().rowCount(), 1);
    EXPECT_EQ(storedComputers(), QString());
}

TEST_F(ComputerRegistrationEditorTest, APortInLettersFailsTheSaveWhichLeavesTheTableAsItWas)
{
    sharedDb().exec(QStringLiteral(
        "insert into tb_login_ip_info (PCType, LoginPCname, LoginPCip, LoginPCport, LoginPCno, statusstr) "
        "values (1, '旧的', '10.0.0.9', 15000, '9', '登录机')"));
    computers.load();
    computers.list().setItemText(0, ComputerRegistrationEditor::Name, QStringLiteral("改名"));
    EXPECT_FALSE(computers.add(
        input(QStringLiteral("字母端口"), QStringLiteral("1"), QStringLiteral("10.0.0.1"), QStringLiteral("abc"))));
    EXPECT_FALSE(computers.add(
        input(QStringLiteral("后一台"), QStringLiteral("2"), QStringLiteral("10.0.0.2"), QStringLiteral("15000"))));
    scripted.answer(PromptButton::Ok);
    computers.save();
    EXPECT_EQ(scripted.lastCall().caption, QStringLiteral("提示"));
    EXPECT_EQ(scripted.lastCall().text,
              QStringLiteral(
                  "插入信息异常[Dbkeel]Conversion failed when converting the varchar value 'abc' to data type int."));
    EXPECT_EQ(DbReady.load(), 0);
    // The delete and the inserts are one transaction: the renamed row written before the failing one is
    // rolled back with the rest, and no row is lost.
    EXPECT_EQ(storedComputers(), QStringLiteral("1,旧的,10.0.0.9,15000,9,登录机"));
}

}  // namespace
}  // namespace dbkeel::test
