#include "dictionaries/DictionaryScreens.h"
#include "tests/support/ScreenTest.h"
#include "widgets/ReportListModel.h"
#include "widgets/ReportListView.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

namespace dbkeel::test {
namespace {

class DictionaryDialogTest : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        registerDictionaryScreens();
    }
    static void doubleClickRow(QDialog &screen, int row)
    {
        auto *list = control<ReportListView>(screen, "list");
        list->selectOnly(row);
        emit list->doubleClicked(list->model()->index(row, 1));
    }
};

TEST_F(DictionaryDialogTest, DeviceScreenAddsStoresAndExportsThroughItsButtons)
{
    run(QStringLiteral("insert into tb_id_devid(devid, devname, devkeychar, res) values (3, '制动台', 'ZD', '使用')"));
    openCommand(32772, [&](QDialog &screen) {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("设备创建"));
        EXPECT_EQ(control<QLabel>(screen, "rightStatus")->text(), QStringLiteral("当前最大设备代号为:3"));
        EXPECT_EQ(control<QPushButton>(screen, "updateButton")->toolTip(), QStringLiteral("添加"));

        prompts.answerModal([&](QDialog &editor) {
            EXPECT_EQ(editor.windowTitle(), QStringLiteral("信息(插入、修改、删除)"));
            EXPECT_EQ(control<QLineEdit>(editor, "name")->text(), QStringLiteral("制动台"));
            EXPECT_FALSE(control<QLineEdit>(editor, "name")->isEnabled());
            screenshot(editor, QStringLiteral("row-editor"));
            click(editor, "insert");
            EXPECT_EQ(control<QLineEdit>(editor, "code")->text(), QStringLiteral("4"));
            EXPECT_EQ(control<QPlainTextEdit>(editor, "remark")->toPlainText(), QStringLiteral("新插入"));
            control<QLineEdit>(editor, "name")->setText(QStringLiteral("速度台"));
            control<QLineEdit>(editor, "key")->setText(QStringLiteral("SD"));
            click(editor, "okButton");
        });
        doubleClickRow(screen, 0);
        auto *list = control<ReportListView>(screen, "list");
        ASSERT_EQ(list->model()->rowCount(), 2);
        EXPECT_EQ(list->reportModel()->itemText(1, 0), QStringLiteral("待定"));
        screenshot(screen, QStringLiteral("device-screen"));

        click(screen, "updateButton");
        EXPECT_EQ(control<QPushButton>(screen, "updateButton")->text(), QStringLiteral("更新"));
        EXPECT_EQ(control<QLabel>(screen, "leftStatus")->text(), withHistoryNote(QStringLiteral("更新结束")));

        click(screen, "tickAllButton");
        prompts.answerFolder(dir.path());
        click(screen, "exportButton");
        click(screen, "invertButton");
        EXPECT_FALSE(list->reportModel()->isChecked(0));

        prompts.answer(PromptButton::Yes);
        list->setFocus();
        list->selectOnly(0);
        QTest::keyClick(list, Qt::Key_Delete);
        EXPECT_EQ(list->reportModel()->itemText(0, 4), QStringLiteral("无效"));
        click(screen, "cancelButton");
    });
    EXPECT_EQ(rows(QStringLiteral("select devid, devname, devkeychar, res from tb_id_devid order by devid")),
              QStringLiteral("3,制动台,ZD,使用|4,速度台,SD,新建"));  // the withdrawal was not stored
    const QString exported = dir.filePath(QStringLiteral("tb_id_devid.TBIDDEV"));
    EXPECT_EQ(readFileBytes(exported).count("\r\n"), 4);

    openDatabase(dir.filePath(QStringLiteral("fresh.db")));
    run(schemaText());
    openCommand(32772, [&](QDialog &screen) {
        prompts.answerFile(exported);
        click(screen, "importButton");
        EXPECT_EQ(control<ReportListView>(screen, "list")->model()->rowCount(), 2);
        click(screen, "cancelButton");
    });
    EXPECT_EQ(rows(QStringLiteral("select devid, devname, devkeychar from tb_id_devid order by devid")),
              QStringLiteral("3,制动台,ZD|4,速度台,SD"));
}

// Types `text` into `box` one key at a time, as the user does.
void type(QWidget *box, const QString &text)
{
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(box, &press);
    }
}

// The record keeps 49 GBK bytes of a name and 100 of 注释 (its column's width): the boxes take no more,
// so a long Chinese name is not cut behind the user's back when it is stored.
TEST_F(DictionaryDialogTest, RowEditorBoxesTakeNoMoreThanTheRecordKeeps)
{
    run(QStringLiteral("insert into tb_id_devid(devid, devname, devkeychar, res) values (3, '制动台', 'ZD', '使用')"));
    openCommand(32772, [&](QDialog &screen) {
        QString shownName, shownRemark;
        prompts.answerModal([&](QDialog &editor) {
            click(editor, "insert");
            auto *name = control<QLineEdit>(editor, "name");
            name->clear();
            type(name, QString(30, QChar(u'灯')));
            shownName = name->text();
            auto *remark = control<QPlainTextEdit>(editor, "remark");
            remark->clear();
            type(remark, QStringLiteral("a") + QString(200, QChar(u'检')));
            shownRemark = remark->toPlainText();
            click(editor, "okButton");
        });
        doubleClickRow(screen, 0);
        EXPECT_EQ(shownName, QString(24, QChar(u'灯')));
        EXPECT_EQ(shownRemark, QStringLiteral("a") + QString(49, QChar(u'检')));
        const ReportListModel *list = control<ReportListView>(screen, "list")->reportModel();
        ASSERT_EQ(list->rowCount(), 2);
        EXPECT_EQ(list->itemText(1, 1), shownName);
        EXPECT_EQ(list->itemText(1, 5), shownRemark);
        click(screen, "cancelButton");
    });
}

TEST_F(DictionaryDialogTest, ItemAndParameterScreensSearchAndCheck)
{
    run(QStringLiteral("insert into tb_id_itemid(itemid, itemname, res) values (210, '前照灯', '使用')"));
    run(QStringLiteral("insert into tb_id_paramid(paramid, paramname, res) values (4000, '远光', '使用')"));
    openCommand(32773, [&](QDialog &screen) {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("项目创建"));
        control<QLineEdit>(screen, "searchText")->setText(QStringLiteral("210"));
        prompts.answer(PromptButton::Ok);
        click(screen, "searchButton");
        EXPECT_EQ(prompts.lastCall().text, QStringLiteral("项目代号:210\r\n项目名称:前照灯\r\n"));
        click(screen, "checkButton");
        EXPECT_EQ(control<QLabel>(screen, "leftStatus")->text(), QStringLiteral("测试结束,无重复或异常情况字段"));
        click(screen, "cancelButton");
    });
    openCommand(32774, [&](QDialog &screen) {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("参数创建"));
        prompts.answer(PromptButton::Ok);
        click(screen, "updateButton");
        EXPECT_EQ(prompts.lastCall().text, QStringLiteral("有重复内容,请查看!"));  // 4000 is out of range
        click(screen, "cancelButton");
    });
}

TEST_F(DictionaryDialogTest, LineTypeScreenAddsThroughTheEditorAndStores)
{
    run(QStringLiteral("insert into tb_id_linetype(lintype, linename) values (1, '安检线')"));
    openCommand(32775, [&](QDialog &screen) {
        EXPECT_EQ(control<QLabel>(screen, "rightStatus")->text(), QStringLiteral("当前最大线代号为:1"));
        EXPECT_FALSE(control<QPushButton>(screen, "checkButton")->isVisible());
        prompts.answerModal([&](QDialog &editor) {
            click(editor, "insert");
            EXPECT_EQ(control<QLineEdit>(editor, "code")->text(), QStringLiteral("2"));
            control<QLineEdit>(editor, "name")->setText(QStringLiteral("环保线"));
            click(editor, "okButton");
        });
        doubleClickRow(screen, 0);
        click(screen, "updateButton");
        EXPECT_EQ(control<QLabel>(screen, "leftStatus")->text(), withHistoryNote(QStringLiteral("更新结束")));
        click(screen, "cancelButton");
    });
    EXPECT_EQ(rows(QStringLiteral("select lintype, linename from tb_id_linetype order by lintype")),
              QStringLiteral("1,安检线|2,环保线"));
}

TEST_F(DictionaryDialogTest, FieldViewListsTheFields)
{
    run(QStringLiteral(
        "insert into tb_id_info(infoid, infoword, infoname, reserved, status) values (1001, 'HPZL', '号牌种类', 'INFO_1001', 1)"));
    openCommand(32781, [&](QDialog &screen) {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("基本信息"));
        auto *list = control<ReportListView>(screen, "list");
        EXPECT_EQ(list->reportModel()->itemText(0, 2), QStringLiteral("号牌种类"));
        EXPECT_EQ(list->columnWidth(1), 0);
        click(screen, "cancelButton");
    });
}

TEST_F(DictionaryDialogTest, ExternalItemScreenEditsAndExports)
{
    run(QStringLiteral(
        "insert into tb_id_eval(pingdingid, pingdingname, remark, usetypeabout, alias) values ('5', '灯', '否决项', '', '')"));
    openCommand(32784, [&](QDialog &screen) {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("设置外检项目"));
        prompts.answerModal([&](QDialog &editor) {
            EXPECT_TRUE(control<QRadioButton>(editor, "vetoing")->isChecked());
            EXPECT_TRUE(control<QRadioButton>(editor, "modify")->isChecked());
            EXPECT_FALSE(control<QLineEdit>(editor, "code")->isEnabled());
            screenshot(editor, QStringLiteral("outline-item-editor"));
            click(editor, "insert");
            EXPECT_TRUE(control<QLineEdit>(editor, "code")->isEnabled());
            control<QLineEdit>(editor, "code")->setText(QStringLiteral("6"));
            control<QLineEdit>(editor, "name")->setText(QStringLiteral("喇叭"));
            click(editor, "notVetoing");
            click(editor, "okButton");
        });
        doubleClickRow(screen, 0);
        prompts.answerFolder(dir.path()).answer(PromptButton::Ok);
        click(screen, "exportButton");
        EXPECT_EQ(control<QLabel>(screen, "leftStatus")->text(), QStringLiteral("导出完毕"));
        click(screen, "cancelButton");
    });
    EXPECT_EQ(rows(QStringLiteral("select pingdingid, pingdingname, remark from tb_id_eval order by pingdingid")),
              QStringLiteral("5,灯,否决项|6,喇叭,非否决项"));
    EXPECT_TRUE(readFileBytes(dir.filePath(QStringLiteral("OFFLINEPARAM.OFFLINEITEM"))).contains("NUM=2"));
}

TEST_F(DictionaryDialogTest, EveryMenuEntryOpensItsScreenOnTheDemoData)
{
    run(schemaText(QStringLiteral("demo-data.sql")));
    const struct {
        int command;
        const char *screen, *title;
        bool checked;  // a dictionary whose check must find nothing
    } entries[] = {
        {32772, "DeviceDictionaryDialog", "设备创建", true},    {32773, "ItemDictionaryDialog", "项目创建", true},
        {32774, "ParameterDictionaryDialog", "参数创建", true}, {32775, "LineTypeDialog", "线创建", false},
        {32781, "BasicInfoDialog", "基本信息", false},          {32784, "OutlineItemDialog", "设置外检项目", false},
    };
    for (const auto &e : entries) {
        openCommand(e.command, [&](QDialog &screen) {
            EXPECT_EQ(screen.objectName(), QString::fromLatin1(e.screen));
            EXPECT_EQ(screen.windowTitle(), QString::fromUtf8(e.title));
            EXPECT_GT(control<ReportListView>(screen, "list")->model()->rowCount(), 0) << e.screen;
            if (e.checked) {
                click(screen, "checkButton");
                EXPECT_EQ(control<QLabel>(screen, "leftStatus")->text(),
                          QStringLiteral("测试结束,无重复或异常情况字段"))
                    << e.screen;
            }
            screenshot(screen, QStringLiteral("demo-") + screen.objectName());
            click(screen, "cancelButton");
        });
    }
}

}  // namespace
}  // namespace dbkeel::test
