#include "maintenance/PlateCorrectionEditor.h"
#include "tests/maintenance/MaintenanceFixture.h"

namespace dbkeel::test {
namespace {

TEST(PlateCorrectionSql, TextsAndTheErrorRule)
{
    EXPECT_EQ(plateSearchQuery(QString()),
              QStringLiteral("select loginid,INFO_1001,INFO_1012,INFO_1082 from tb_vehicle_info"));
    EXPECT_EQ(plateSearchQuery(QStringLiteral("京A")),
              QStringLiteral("select loginid,INFO_1001,INFO_1012,INFO_1082 from tb_vehicle_info where INFO_1001 like "
                             "'京A%' ;"));
    EXPECT_EQ(plateUpdateStatement(QStringLiteral("2"), QStringLiteral("京A12342"), QStringLiteral("京A1234")),
              QStringLiteral("update tb_vehicle_info set INFO_1012 = '2' , loginid = '京A12342' where loginid = "
                             "'京A1234' ;"));
    const struct {
        const char *loginId, *plate, *kind;
        bool error;
    } cases[] = {
        {"京A12342", "京A1234", "2", false}, {"京A12340", "京A1234", "0", true}, {"京A1234", "京A1234", "", true},
        {"京A12342", "京A1234", "3", true},  {"京A1234x", "京A1234", "x", true},
    };
    for (const auto &c : cases)
        EXPECT_EQ(isPlateError(QString::fromUtf8(c.loginId), QString::fromUtf8(c.plate), QString::fromUtf8(c.kind)),
                  c.error)
            << c.loginId;
}

class PlateCorrectionTest : public MaintenanceFixture {
protected:
    PlateCorrectionEditor plates;

    void SetUp() override
    {
        MaintenanceFixture::SetUp();
        run(QStringLiteral("insert into tb_login_ini(infoid, infosubid, infovalue_about) values "
                           "(1012, 2, '小型汽车'), (1012, 1, '大型汽车'), (1082, 11, '轿车')"));
        run(QStringLiteral("insert into tb_vehicle_info(loginid, INFO_1001, INFO_1012, INFO_1082) values "
                           "('京A12342', '京A1234', '2', '11'), ('京A55550', '京A5555', '0', '11'), "
                           "('京B7777', '京B7777', '1', '99'), ('沪C88881', '沪C8888', '1', '11')"));
        plates.open();
    }
};

TEST_F(PlateCorrectionTest, ListsVehiclesInErrorByPlatePrefix)
{
    EXPECT_EQ(plates.plateKinds(), (QStringList{"小型汽车", "大型汽车"}));
    plates.search(QString());
    EXPECT_EQ(listed(plates.list()), QStringLiteral("京A55550,京A5555,0,轿车|京B7777,京B7777,1,99"));
    EXPECT_EQ(plates.list().textColor(0, 0), listcolor::Red);
    plates.search(QStringLiteral("京B"));
    EXPECT_EQ(listed(plates.list()), QStringLiteral("京B7777,京B7777,1,99"));
}

TEST_F(PlateCorrectionTest, UpdateRewritesKindAndLoginIdOfTheChosenRow)
{
    plates.search(QStringLiteral("京"));
    EXPECT_EQ(plates.update(QStringLiteral("大型汽车"), QStringLiteral("京")),
              PlateCorrectionEditor::UpdateResult::NothingChosen);
    prompts.answer(PromptButton::Ok);
    EXPECT_EQ(plates.update(QString(), QStringLiteral("京")), PlateCorrectionEditor::UpdateResult::KindMissing);
    EXPECT_EQ(prompts.lastCall().text, QStringLiteral("号牌种类不能为空!"));

    plates.choose(1);
    EXPECT_EQ(plates.chosenPlate(), QStringLiteral("京B7777"));
    EXPECT_EQ(plates.chosenLoginId(), QStringLiteral("京B7777"));
    EXPECT_EQ(plates.chosenKindText(), QStringLiteral("大型汽车"));
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    EXPECT_EQ(plates.update(QStringLiteral("大型汽车"), QStringLiteral("京")),
              PlateCorrectionEditor::UpdateResult::Updated);
    EXPECT_EQ(messages().last(), QStringLiteral("更新成功!"));
    EXPECT_EQ(rows(QStringLiteral("select loginid, INFO_1012 from tb_vehicle_info where INFO_1001 = '京B7777'")),
              QStringLiteral("京B77771,1"));
    EXPECT_EQ(listed(plates.list()), QStringLiteral("京A55550,京A5555,0,轿车"));
    EXPECT_EQ(plates.chosenRow(), -1);
    EXPECT_EQ(plates.chosenPlate(), QString());

    plates.choose(0);
    sharedDb().close();
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    EXPECT_EQ(plates.update(QStringLiteral("小型汽车"), QString()), PlateCorrectionEditor::UpdateResult::Failed);
    EXPECT_EQ(messages().last(), QStringLiteral("更新失败"));
}

}  // namespace
}  // namespace dbkeel::test
