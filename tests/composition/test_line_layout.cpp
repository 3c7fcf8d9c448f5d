// The line layout without its window: Add row, Edit row, moves, the .LINEINF file and Build.

#include "composition/LineLayoutEditor.h"
#include "core/AppState.h"
#include "platform/Gbk.h"
#include "platform/Profile.h"
#include "tests/composition/CompositionFixture.h"

#include <QDir>
#include <QFile>

namespace dbkeel::test {
namespace {

using C = LineLayoutEditor::Column;

class LineLayout : public CompositionFixture {
protected:
    void SetUp() override
    {
        CompositionFixture::SetUp();
        seedDictionaries();
        seedRelations();
        editor.open();
    }
    static PlacementInput placement(const QString &line, const QString &station, const QString &device,
                                    const QString &lineType = QStringLiteral("安检线"))
    {
        PlacementInput input;
        input.line = line;
        input.station = station;
        input.deviceName = device;
        input.lineTypeName = lineType;
        input.port = LineLayoutEditor::kDevicePort;
        return input;
    }
    void add(const PlacementInput &input) { EXPECT_FALSE(editor.addRow(input).has_value()); }
    QStringList column(int c) const
    {
        QStringList texts;
        for (int row = 0; row < editor.list().rowCount(); ++row)
            texts << editor.list().itemText(row, c);
        return texts;
    }
    // Two stations of line 1 and one of line 2.
    void addLayout()
    {
        add(placement("1", "1", "灯光仪"));
        add(placement("1", "1", "侧滑台"));
        add(placement("1", "2", "底盘测功机"));
        add(placement("2", "1", "灯光仪", "综检线"));
    }
    LineLayoutEditor editor;
};

TEST_F(LineLayout, OpeningRebuildsTheRunTablesAndLoadsTheMaps)
{
    EXPECT_EQ(editor.status().left(), QStringLiteral("已创建参数信息"));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_id_item")), QStringLiteral("7"));  // withdrawn ones too
    EXPECT_EQ(rows(QStringLiteral("select devId,ParamId,ItemId from tb_id_param order by devId,ParamId")),
              QStringLiteral("1,5000,200|1,5001,200|1,5002,201|4,5052,217"));
    EXPECT_EQ(editor.deviceNames(), (QStringList{"灯光仪", "侧滑台", "底盘测功机"}));
    EXPECT_EQ(editor.lineTypeNames(), (QStringList{"安检线", "综检线"}));
}

TEST_F(LineLayout, AddRowChecksItsFieldsInOrder)
{
    struct Case {
        PlacementInput input;
        std::optional<PlacementField> field;
        QString message;
    } cases[] = {
        {placement("", "1", "灯光仪"), PlacementField::Line, "请选择线号!"},
        {placement("1", "1", "灯光仪", ""), PlacementField::LineType, "请选择线类型、名称!"},
        {placement("1", "1", ""), PlacementField::Device, "请选择设备类型、名称!"},
        {placement("1", "", "灯光仪"), PlacementField::Station, "请选择工位号!"},
        {placement("1", "1", "旧设备"), std::nullopt, "没有找到旧设备的设备编号!"},
    };
    for (const Case &c : cases) {
        prompts.answer(PromptButton::Ok);
        EXPECT_EQ(editor.addRow(c.input), c.field) << c.message.toStdString();
        EXPECT_EQ(prompts.lastCall().text, c.message);
        EXPECT_EQ(prompts.lastCall().icon, PromptIcon::Exclamation);
    }
    EXPECT_EQ(editor.list().rowCount(), 0);
}

TEST_F(LineLayout, AddRowFillsDefaultsAndRefusesDuplicatesQuietly)
{
    PlacementInput first = placement("1", "1", "灯光仪");
    first.address = QStringLiteral("0.0.0.0");
    add(first);
    PlacementInput second = placement("1", "1", "侧滑台");
    second.port.clear();
    add(second);
    add(first);  // the same device at the same station again
    EXPECT_EQ(editor.list().rowCount(), 2);
    EXPECT_EQ(editor.list().itemText(0, C::Address), QStringLiteral("127.0.0.1"));
    EXPECT_EQ(column(C::Port), (QStringList{"15001", "10100"}));
    EXPECT_EQ(column(C::DeviceCode), (QStringList{"1", "4"}));
    EXPECT_EQ(column(C::Order), (QStringList{"1", "2"}));
    EXPECT_EQ(editor.list().textColor(0, 0), listcolor::Blue);
    EXPECT_EQ(editor.list().textColor(1, 0), listcolor::Green);
    EXPECT_EQ(LineLayoutEditor::defaultPort(QStringLiteral("3"), QStringLiteral("12")), QStringLiteral("31200"));
}

TEST_F(LineLayout, EditRowSpreadsAddressAndPortToItsStationOnly)
{
    addLayout();
    std::optional<StationRowRecord> record = editor.prepareEdit(1);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->port, QStringLiteral("15001"));
    record->address = QStringLiteral("192.168.1.11");
    record->port.clear();
    record->brakeType = QStringLiteral("平板台");
    editor.finishEdit(1, *record);
    EXPECT_EQ(column(C::Address), (QStringList{"192.168.1.11", "192.168.1.11", "127.0.0.1", "127.0.0.1"}));
    EXPECT_EQ(column(C::Port), (QStringList{"10100", "10100", "15001", "15001"}));
    EXPECT_EQ(column(C::BrakeType), (QStringList{"", "平板台", "", ""}));
    EXPECT_FALSE(editor.prepareEdit(4));
}

TEST_F(LineLayout, MovesKeepTheRunningNumbersAndBuildWritesTheNewOrder)
{
    addLayout();
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    editor.moveUp();
    editor.selectRow(0);
    editor.moveUp();
    EXPECT_EQ(prompts.calls().at(0).text, QStringLiteral("请选择一项再上移!"));
    EXPECT_EQ(prompts.calls().at(1).text, QStringLiteral("已经位于第一行!"));
    editor.selectRow(3);
    editor.moveUp();
    editor.moveUp();
    EXPECT_EQ(editor.selectedRow(), 1);
    editor.selectRow(0);
    editor.moveDown();
    EXPECT_EQ(column(C::Order), (QStringList{"4", "1", "2", "3"}));
    EXPECT_EQ(editor.list().textColor(0, 0), listcolor::Green);  // the colour moves with the row

    prompts.answer(PromptButton::Ok);  // 已经建立
    EXPECT_EQ(editor.build(), LineLayoutEditor::BuildEnd::Close);
    EXPECT_EQ(rows(QStringLiteral(
                  "select runorder,linetype,lineid,stationid,devid,linename from tb_line_info order by runorder")),
              QStringLiteral("1,2,2,1,1,综检线|2,1,1,1,1,安检线|3,1,1,1,4,安检线|4,1,1,2,12,安检线"));
    editor.loadLayout();
    EXPECT_EQ(column(C::Order), (QStringList{"1", "2", "3", "4"}));
    EXPECT_EQ(editor.list().textColor(0, 0), rgb(0, 0, 128));  // loaded rows: the colour of their line
}

TEST_F(LineLayout, BuildRefusesAnUnknownLineType)
{
    addLayout();
    editor.list().setItemText(2, C::LineTypeName, QStringLiteral("没有的线"));
    prompts.answer(PromptButton::Ok);
    EXPECT_EQ(editor.build(), LineLayoutEditor::BuildEnd::Stay);
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("线号设置信息有误,请确认!!"));
    EXPECT_EQ(editor.list().textColor(2, 0), listcolor::Red);
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_line_info")), QStringLiteral("0"));
}

TEST_F(LineLayout, BuildWritesTheItemIndexAndReportsDuplicates)
{
    addLayout();
    prompts.answer(PromptButton::Ok);
    EXPECT_EQ(editor.build(), LineLayoutEditor::BuildEnd::Close);
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("已经建立,请查看!"));
    EXPECT_EQ(editor.status().left(), withHistoryNote(QStringLiteral("建立工位配置成功!")));
    // Device 12's item 208 has no parameter: no row for it.
    EXPECT_EQ(rows(QStringLiteral(
                  "select lineid,linename,stationid,stationname,devid,itemid,itemname from tb_login_lineindex "
                  "order by lineid,stationid,devid,itemid")),
              QStringLiteral("1,安检线,1,,1,200,左外灯|1,安检线,1,,1,201,左内灯|1,安检线,1,,4,217,侧滑|"
                             "2,综检线,1,,1,200,左外灯|2,综检线,1,,1,201,左内灯"));
    EXPECT_EQ(editor.duplicates().rowCount(), 0);  // the same items on two lines are no duplicates

    add(placement("2", "2", "侧滑台", "综检线"));
    add(placement("2", "3", "侧滑台", "综检线"));
    int shown = 0;
    QObject::connect(&editor, &LineLayoutEditor::duplicatesFound, [&shown] { ++shown; });
    prompts.answer(PromptButton::Ok).answer(PromptButton::Cancel);
    EXPECT_EQ(editor.build(), LineLayoutEditor::BuildEnd::Stay);  // back to look at them
    EXPECT_EQ(shown, 1);
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("出现重复项目,请检查,是否继续?确定(继续),取消(返回查看)"));
    EXPECT_EQ(prompts.lastCall().defaultButton, PromptButton::Cancel);
    // Item 217 twice on line 2: every row of item 217 is listed, line 1's included.
    QStringList lines;
    for (int row = 0; row < editor.duplicates().rowCount(); ++row) {
        EXPECT_EQ(editor.duplicates().itemText(row, LineLayoutEditor::DupItemCode), QStringLiteral("217"));
        lines << editor.duplicates().itemText(row, LineLayoutEditor::DupLine);
    }
    lines.sort();
    EXPECT_EQ(lines, (QStringList{"1", "2", "2"}));
}

TEST_F(LineLayout, AFailingWriteKeepsTheOldLayoutAndIndex)
{
    addLayout();
    prompts.answer(PromptButton::Ok);
    ASSERT_EQ(editor.build(), LineLayoutEditor::BuildEnd::Close);
    const QString layout = rows(QStringLiteral("select * from tb_line_info order by runorder"));
    const QString index = rows(QStringLiteral("select * from tb_login_lineindex order by rowid"));
    add(placement("3", "1", "侧滑台"));
    add(placement("3", "2", "灯光仪"));

    runInShell(QStringLiteral("create trigger refuse_layout before insert on tb_line_info when new.runorder = 6 "
                              "begin select raise(abort, 'layout refused'); end;"));
    prompts.answer(PromptButton::Ok);
    EXPECT_EQ(editor.build(), LineLayoutEditor::BuildEnd::Stay);
    EXPECT_TRUE(prompts.lastCall().text.contains(QStringLiteral("layout refused")));
    EXPECT_EQ(editor.status().left(), withHistoryNote(QStringLiteral("建立工位配置失败!!!")));
    EXPECT_EQ(rows(QStringLiteral("select * from tb_line_info order by runorder")), layout);
    EXPECT_EQ(rows(QStringLiteral("select * from tb_login_lineindex order by rowid")), index);

    runInShell(
        QStringLiteral("drop trigger refuse_layout; create trigger refuse_index before insert on tb_login_lineindex "
                       "when new.lineid = 3 and new.itemid = 201 begin select raise(abort, 'index refused'); end;"));
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    EXPECT_EQ(editor.build(), LineLayoutEditor::BuildEnd::Stay);
    EXPECT_TRUE(prompts.lastCall().text.startsWith(QStringLiteral("建立线工位关系失败1:")))
        << prompts.lastCall().text.toStdString();
    EXPECT_EQ(rows(QStringLiteral("select * from tb_login_lineindex order by rowid")), index);
}

TEST_F(LineLayout, DatabaseErrorsAtOpeningAndInTheDuplicateReportMarkTheConnectionLost)
{
    runInShell(QStringLiteral("create trigger refuse_params before insert on tb_id_param "
                              "begin select raise(abort, 'params refused'); end;"));
    DbReady = 1;
    editor.open();
    EXPECT_TRUE(editor.status().left().startsWith(QStringLiteral("创建参数信息失败")))
        << editor.status().left().toStdString();
    EXPECT_EQ(DbReady, 0);

    // The index is written, but every row of it fails as the duplicate report reads it.
    runInShell(QStringLiteral(
        "drop trigger refuse_params; delete from tb_login_lineindex; alter table tb_login_lineindex rename to "
        "index_rows; create view tb_login_lineindex as select *, json('broken') as unreadable from index_rows; "
        "create trigger index_insert instead of insert on tb_login_lineindex begin insert into index_rows(lineid, "
        "linename, stationid, stationname, devid, devname, itemid, itemname, insertdate, devPath, devRemark) values "
        "(new.lineid, new.linename, new.stationid, new.stationname, new.devid, new.devname, new.itemid, "
        "new.itemname, new.insertdate, new.devPath, new.devRemark); end; create trigger index_delete instead of "
        "delete on tb_login_lineindex begin delete from index_rows; end;"));
    addLayout();
    add(placement("2", "2", "侧滑台", "综检线"));
    add(placement("2", "3", "侧滑台", "综检线"));  // item 217 twice on line 2: the report has rows to read
    DbReady = 1;
    prompts.answer(PromptButton::Ok);
    editor.build();
    EXPECT_EQ(DbReady, 0);
}

// Placeholders and quotes in any value reach the tables exactly as typed: one value must never be
// substituted into another's place in the statement.
TEST_F(LineLayout, BuildStoresPlaceholdersAndQuotesAsTyped)
{
    add(placement("1", "1", "灯光仪"));
    add(placement("1", "2", "侧滑台"));
    const struct {
        int column;
        QString first, second;
    } typed[] = {
        {C::DeviceName, QStringLiteral("灯光仪%1"), QStringLiteral("侧滑台'%10")},
        {C::Address, QStringLiteral("10.0.0.%10"), QStringLiteral("%1")},
        {C::BrakeType, QStringLiteral("||(select group_concat(Password) from tb_user)||"), QStringLiteral("%9'")},
        {C::DevicePath, QStringLiteral("D:\\%1\\%11"), QStringLiteral("'%10'")},
        {C::Remark, QStringLiteral("%2%3"), QStringLiteral("O'Brien")},
    };
    for (const auto &value : typed) {
        editor.list().setItemText(0, value.column, value.first);
        editor.list().setItemText(1, value.column, value.second);
    }
    sharedDb().exec(QStringLiteral("update tb_id_item set ItemName = '左外灯%10' where ItemId = 200"));
    prompts.answer(PromptButton::Ok);
    ASSERT_EQ(editor.build(), LineLayoutEditor::BuildEnd::Close) << prompts.lastCall().text.toStdString();

    const QString layout = rows(
        QStringLiteral("select devname,stationip,BrakeType,devPath,devRemark from tb_line_info order by runorder"));
    QStringList expected[2];
    for (const auto &value : typed) {
        expected[0] << value.first;
        expected[1] << value.second;
    }
    EXPECT_EQ(layout, expected[0].join(u',') + u'|' + expected[1].join(u','));
    EXPECT_EQ(rows(QStringLiteral("select devname,itemname,devPath,devRemark from tb_login_lineindex "
                                  "order by stationid,itemid")),
              QStringLiteral("灯光仪%1,左外灯%10,D:\\%1\\%11,%2%3|灯光仪%1,左内灯,D:\\%1\\%11,%2%3|"
                             "侧滑台'%10,侧滑,'%10',O'Brien"));
}

TEST_F(LineLayout, BuildOfAnEmptyListEmptiesTheLayoutAndKeepsTheItemIndex)
{
    addLayout();
    prompts.answer(PromptButton::Ok);
    ASSERT_EQ(editor.build(), LineLayoutEditor::BuildEnd::Close);
    const QString index = rows(QStringLiteral("select * from tb_login_lineindex order by rowid"));
    ASSERT_FALSE(index.isEmpty());

    editor.list().deleteAllRows();
    editor.build();
    EXPECT_EQ(editor.status().left(), withHistoryNote(QStringLiteral("建立工位配置失败!!!")));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_line_info")), QStringLiteral("0"));
    EXPECT_EQ(rows(QStringLiteral("select * from tb_login_lineindex order by rowid")), index);
}

TEST_F(LineLayout, LineFileOnDiskAndBack)
{
    addLayout();
    editor.list().setItemText(0, C::Remark, QStringLiteral("Ver:1.0 灯光 x"));
    const QString folder = dir.filePath(QStringLiteral("out"));
    ASSERT_TRUE(QDir().mkpath(folder));
    prompts.answerFolder(folder + QStringLiteral("/")).answer(PromptButton::Ok);
    editor.exportFile();
    const QString path = folder + QStringLiteral("/TBLineInfo.LINEINF");
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("已导出") + path);
    EXPECT_EQ(editor.status().left(), QStringLiteral("导出完毕"));
    const QByteArray bytes = readFileBytes(path);
    EXPECT_EQ(bytes, toGbk(QStringLiteral("[TBLINE]\r\n"
                                          "Line0=1,1,安检线,1,1,灯光仪,127.0.0.1,15001,,,,,,Ver:1.0 灯光 x,\r\n"
                                          "Line1=2,1,安检线,1,4,侧滑台,127.0.0.1,15001,,,,,,,\r\n"
                                          "Line2=3,1,安检线,2,12,底盘测功机,127.0.0.1,15001,,,,,,,\r\n"
                                          "Line3=4,2,综检线,1,1,灯光仪,127.0.0.1,15001,,,,,,,\r\n"
                                          "num=4\r\n")));

    const QStringList before = column(C::DeviceName);
    editor.list().deleteAllRows();
    prompts.answerFile(path);
    editor.importFile();
    EXPECT_EQ(column(C::DeviceName), before);
    EXPECT_EQ(column(C::Remark).first(), QStringLiteral("Ver:1.0 灯光 x"));
    EXPECT_EQ(editor.status().left(), QStringLiteral("导入完毕"));
}

TEST_F(LineLayout, ImportSkipsDuplicatesEmptyRowsAndLeavesTheListWithoutNum)
{
    const QString path = dir.filePath(QStringLiteral("x.LINEINF"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(toGbk(QStringLiteral(
        "[TBLINE]\r\nLine0=9,1,安检线,1,1,灯光仪,,,,,,,,,\r\nLine1=\r\n"
        "Line2=9,1,安检线,1,1,灯光仪,,,,,,,,,\r\nLine3=9,1,安检线,2,1,灯光仪,,,,,,,,,\r\nnum=2147483647\r\n")));
    file.close();
    addLayout();
    prompts.answerFile(path);
    editor.importFile();
    EXPECT_EQ(column(C::Station), (QStringList{"1", "2"}));
    EXPECT_EQ(column(C::Order), (QStringList{"1", "2"}));

    writeProfileString(path, QStringLiteral("TBLINE"), QStringLiteral("num"), QStringLiteral("0"));
    prompts.answerFile(path);
    editor.importFile();
    EXPECT_EQ(editor.list().rowCount(), 2);
}

TEST_F(LineLayout, ImportKeepsFieldsLongerThanAHundredBytes)
{
    const QString remark(60, u'检');  // 120 bytes in GBK
    const QString devicePath = QStringLiteral("/opt/zetra/") + QString(150, u'd');
    const QString path = dir.filePath(QStringLiteral("long.LINEINF"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(toGbk(
        QStringLiteral("[TBLINE]\r\nLine0=1,1,安检线,1,1,灯光仪,,,,,,,%1,%2,\r\nnum=1\r\n").arg(devicePath, remark)));
    file.close();
    prompts.answerFile(path);
    editor.importFile();
    ASSERT_EQ(editor.list().rowCount(), 1);
    EXPECT_EQ(editor.list().itemText(0, C::DevicePath), devicePath);
    EXPECT_EQ(editor.list().itemText(0, C::Remark), remark);
}

}  // namespace
}  // namespace dbkeel::test
