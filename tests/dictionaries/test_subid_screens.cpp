#include "core/AppConfig.h"
#include "dictionaries/DictionaryScreens.h"
#include "tests/support/ScreenTest.h"
#include "widgets/ReportListModel.h"
#include "widgets/ReportListView.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dbkeel::test {
namespace {

class SubIdScreenTest : public ScreenTest {
protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        registerDictionaryScreens();
        UserLevel = 1;
        run(QStringLiteral("insert into tb_id_info(infoid, infoname) values (1005, '燃料种类'), (1034, '保护字段'), "
                           "(1023, '隐藏字段')"));
        run(QStringLiteral(
            "insert into tb_login_ini(infoid, infoname_about, infosubid, infovalue_about, subbyname, "
            "subbynameid, sametypeid) values (1005, '燃料种类', 10050001, '汽油', '汽油', '10050001', '1'), "
            "(1034, '保护字段', 10340001, '保护值', '', '-1', '0')"));
    }
    void TearDown() override
    {
        UserLevel = 0;
        ScreenTest::TearDown();
    }
};

TEST_F(SubIdScreenTest, AddsAValueAndSetsItsMainAttributeThroughAddNewSubID)
{
    openCommand(32782, [&](QDialog &screen) {
        EXPECT_EQ(screen.windowTitle(), QStringLiteral("新建基本信息subid"));
        auto *fields = control<QComboBox>(screen, "fields");
        auto *list = control<ReportListView>(screen, "list");
        ASSERT_EQ(fields->count(), 2);
        EXPECT_EQ(fields->currentText(), QStringLiteral("燃料种类"));
        EXPECT_EQ(list->model()->rowCount(), 2);
        EXPECT_EQ(control<QPushButton>(screen, "storeButton")->toolTip(), QStringLiteral("更新当前可显状态"));

        // "自动" fills the suggestion; a sub-ID of another field is refused and the dialog stays open.
        prompts.answerModal([&](QDialog &dialog) {
            prompts.answer(PromptButton::Ok);
            EXPECT_EQ(dialog.windowTitle(), QStringLiteral("添加SUBID"));
            EXPECT_EQ(control<QComboBox>(dialog, "mainName")->count(), 10);
            EXPECT_EQ(control<QComboBox>(dialog, "mainName")->currentIndex(), -1);
            EXPECT_TRUE(control<QLineEdit>(dialog, "subId")->text().isEmpty());
            click(dialog, "autoButton");
            EXPECT_EQ(control<QLineEdit>(dialog, "subId")->text(), QStringLiteral("10340002"));
            auto *value = control<QLineEdit>(dialog, "value");
            value->insert(QString(40, u'甲'));  // 80 bytes in GBK, as a paste: cut to the record's 64
            EXPECT_EQ(value->text(), QString(32, u'甲'));
            value->setText(QStringLiteral("甲醇汽油"));
            click(dialog, "okButton");
            EXPECT_TRUE(dialog.isVisible());
            EXPECT_EQ(prompts.lastCall().text, QStringLiteral("编号范围错误,正确范围应该在10050001--10059999之间"));
            control<QLineEdit>(dialog, "subId")->setText(QStringLiteral("10050002"));
            control<QComboBox>(dialog, "mainName")->setCurrentIndex(3);
            screenshot(dialog, QStringLiteral("add-new-subid"));
            click(dialog, "okButton");
        });
        click(screen, "addButton");
        ASSERT_EQ(list->model()->rowCount(), 3);
        EXPECT_EQ(list->reportModel()->itemText(2, 0), QStringLiteral("新增"));
        EXPECT_EQ(list->reportModel()->itemText(2, 7), QStringLiteral("10050004"));

        // Choosing the protected field disables "新增".
        fields->setCurrentIndex(1);
        emit fields->activated(1);
        EXPECT_FALSE(control<QPushButton>(screen, "addButton")->isEnabled());
        EXPECT_EQ(list->model()->rowCount(), 1);
        fields->setCurrentIndex(0);
        emit fields->activated(0);
        EXPECT_TRUE(control<QPushButton>(screen, "addButton")->isEnabled());

        // A right click changes the main attribute; the sub-ID cannot be edited.
        prompts.answerModal([&](QDialog &dialog) {
            EXPECT_TRUE(control<QLineEdit>(dialog, "subId")->isReadOnly());
            EXPECT_FALSE(control<QPushButton>(dialog, "autoButton")->isEnabled());
            EXPECT_EQ(control<QComboBox>(dialog, "mainName")->currentText(), QStringLiteral("汽油"));
            control<QComboBox>(dialog, "mainName")->setCurrentIndex(1);
            click(dialog, "okButton");
        });
        list->selectOnly(0);
        emit list->customContextMenuRequested({5, 5});
        EXPECT_EQ(list->reportModel()->itemText(0, 6), QStringLiteral("柴油"));
        click(screen, "checkButton");
        EXPECT_EQ(control<QPushButton>(screen, "checkButton")->text(), QStringLiteral("校验"));
        EXPECT_EQ(control<QLabel>(screen, "leftStatus")->text(), QStringLiteral("校验结束"));
        screenshot(screen, QStringLiteral("set-info-subid"));

        // The filter refills the names when the box loses the focus.
        auto *filter = control<QLineEdit>(screen, "fieldFilter");
        filter->setText(QStringLiteral("保护"));
        emit filter->editingFinished();
        EXPECT_EQ(fields->count(), 1);
        EXPECT_EQ(fields->currentIndex(), -1);
        click(screen, "cancelButton");
    });
    EXPECT_EQ(rows(QStringLiteral("select infosubid, subbyname, subbynameid from tb_login_ini where infoid = 1005 "
                                  "order by infosubid")),
              QStringLiteral("10050001,柴油,10050002|10050002,甲醇,10050004"));
}

}  // namespace
}  // namespace dbkeel::test
