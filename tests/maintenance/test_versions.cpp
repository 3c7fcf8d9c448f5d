#include "maintenance/VersionEditor.h"
#include "tests/maintenance/MaintenanceFixture.h"

namespace dbkeel::test {
namespace {

TEST(VersionSql, UpdateStatementsInTheirOrder)
{
    const QStringList statements = versionUpdateStatements(QStringLiteral("20.26.12.11"), QStringLiteral("张三"),
                                                           QStringLiteral("加字段"),
                                                           [] { return QStringLiteral("T"); });
    EXPECT_EQ(
        statements,
        (QStringList{"update tb_version set Version = '20.26.12.11',InsertDate = 'T' where TidyUser = '数据库版本' ;",
                     "update tb_version set Version = 'T',InsertDate = 'T' where TidyUser = '数据库日期' ;",
                     "update tb_version set Version = '张三',InsertDate = 'T' where TidyUser = '修改人姓名' ;",
                     "insert into tb_version(TidyUser,Version,InsertDate)values('张三','加字段','T') ;"}));
    EXPECT_EQ(versionCleanUpStatement(),
              QStringLiteral("delete  from tb_version where TidyUser = '' or TidyUser is null ;"));
}

class VersionTest : public MaintenanceFixture {
protected:
    VersionEditor versions;
    void SetUp() override
    {
        MaintenanceFixture::SetUp();
        versions.preset(QDateTime(QDate(2026, 3, 7), QTime(8, 9, 10)));
    }
    void fixedRows(const QString &version)
    {
        run(QStringLiteral("insert into tb_version(TidyUser, Version, InsertDate) values ('数据库版本', '%1', '1'), "
                           "('数据库日期', '2025-01-02 03:04:05', '2'), ('修改人姓名', '李四', '3')")
                .arg(version));
    }
};

TEST_F(VersionTest, OpeningPresetsTheVersionAndCleansUpNamelessRows)
{
    EXPECT_EQ(versions.fields().parts, (QStringList{"20", "26", "03", "07"}));
    EXPECT_EQ(versions.fields().changeTime, QStringLiteral("2026-03-07 08:09:10"));
    run(QStringLiteral("insert into tb_version(TidyUser, Version, InsertDate) values ('', 'x', '1'), (null, 'y', '2'), "
                       "('王五', '初版', '2024-01-01')"));
    versions.cleanUpAndLoad();
    EXPECT_EQ(rows(QStringLiteral("select Version from tb_version")), QStringLiteral("初版"));
    EXPECT_EQ(listed(versions.list()), QStringLiteral("王五,2024-01-01,初版"));
}

TEST_F(VersionTest, StoredVersionFillsItsPartsInOrder)
{
    const struct {
        const char *stored;
        QStringList parts;
    } cases[] = {
        {"20.25.11.30", {"20", "25", "11", "30"}},
        {"20.25.11", {"20", "25", "11", "07"}},  // the fourth keeps its preset
    };
    for (const auto &c : cases) {
        run(QStringLiteral("delete from tb_version"));
        versions.preset(QDateTime(QDate(2026, 3, 7), QTime(8, 9, 10)));
        fixedRows(QString::fromUtf8(c.stored));
        versions.load();
        EXPECT_EQ(versions.fields().parts, c.parts) << c.stored;
    }
    EXPECT_EQ(versions.fields().changeTime, QStringLiteral("2025-01-02 03:04:05"));
    EXPECT_EQ(versions.fields().name, QStringLiteral("李四"));
    EXPECT_EQ(versions.list().rowCount(), 0);
}

TEST_F(VersionTest, UpdateWritesTheFixedRowsAndAHistoryRowWithTheNameAsTyped)
{
    fixedRows(QStringLiteral("20.25.1.1"));
    VersionFields fields = versions.fields();
    fields.name = QStringLiteral("O'Neil");
    fields.description = QStringLiteral("it's new");
    versions.setFields(fields);
    prompts.answer(PromptButton::Ok);
    EXPECT_TRUE(versions.update());
    EXPECT_EQ(rows(QStringLiteral("select Version from tb_version where TidyUser = '数据库版本'")),
              QStringLiteral("20.26.03.07"));
    EXPECT_EQ(rows(QStringLiteral("select Version from tb_version where TidyUser = '修改人姓名'")),
              QStringLiteral("O'Neil"));
    EXPECT_EQ(listed(versions.list()).section(u',', 2), QStringLiteral("it's new"));
    EXPECT_EQ(versions.list().itemText(0, 0), QStringLiteral("O'Neil"));

    versions.chooseRow(0);
    EXPECT_EQ(versions.fields().description, QStringLiteral("it's new"));
    EXPECT_EQ(versions.fields().entryTime, versions.list().itemText(0, 1));
}

TEST_F(VersionTest, UpdateWithoutTheFixedRowsOnlyAddsHistoryAndFailsWithoutAConnection)
{
    prompts.answer(PromptButton::Ok);
    EXPECT_TRUE(versions.update());
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_version")), QStringLiteral("1"));

    prompts.answer(PromptButton::Cancel);
    EXPECT_FALSE(versions.update());
    sharedDb().close();
    prompts.answer(PromptButton::Ok).answer(PromptButton::Ok);
    EXPECT_FALSE(versions.update());
    EXPECT_EQ(messages().last(), QStringLiteral("更新失败"));
}

}  // namespace
}  // namespace dbkeel::test
