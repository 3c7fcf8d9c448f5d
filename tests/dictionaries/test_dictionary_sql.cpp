#include "dictionaries/DictionarySql.h"
#include "tests/support/DictionaryFixture.h"

namespace dbkeel::test {
namespace {

const DictionaryRow row{QStringLiteral("3"),
                        QStringLiteral("灯光仪"),
                        QStringLiteral("7"),
                        QStringLiteral("DG"),
                        QStringLiteral("使用"),
                        QStringLiteral("注"),
                        QString()};
const ImportRecord record{QStringLiteral("7"), QStringLiteral("灯光仪"), QStringLiteral("DG"), QStringLiteral("使用"),
                          QStringLiteral("2026-01-02 03:04:05")};

TEST(DictionarySql, SqlServerTextsAreTheInstallationsOwn)
{
    const DictionaryVariant &dev = deviceDictionary(), &item = itemDictionary(), &param = parameterDictionary();
    const struct {
        QString text, expected;
    } cases[] = {
        {dictionaryInsertStatement(dev, row),
         "insert into tb_id_devid( devid,devname,devkeychar,res,remark)values(7,'灯光仪','DG','使用','注' ) ;"},
        {dictionaryDeleteStatement(dev, row), "delete from tb_id_devid where ID = 3 and devid = 7 ; "},
        {dictionaryUpdateStatement(dev, row),
         "update tb_id_devid set devname ='灯光仪' ,devkeychar = 'DG' , res = '使用' , remark = '注' where ID = 3 and devid = 7 ; "},
        {dictionaryInsertStatement(item, row),
         "insert into tb_id_itemid( itemid,itemname,res,remark)values(7,'灯光仪','使用','注' ) ;"},
        {dictionaryDeleteStatement(item, row), "delete from tb_id_itemid where ID = 3 and itemid = 7 ; "},
        {dictionaryUpdateStatement(item, row),
         "update tb_id_itemid set itemname ='灯光仪'  , res = '使用' , remark = '注' where ID = 3 and itemid = 7 ; "},
        {dictionaryInsertStatement(param, row),
         "insert into tb_id_paramid( paramid,paramname,res,remark)values(7,'灯光仪','使用','注' ) ;"},
        {dictionaryDeleteStatement(param, row), "delete from tb_id_paramid where ID = 3 and paramid = 7 ; "},
        {dictionaryUpdateStatement(param, row),
         "update tb_id_paramid set paramname ='灯光仪'  , res = '使用' , remark = '注' where ID = 3 and paramid = 7 ; "},
        {dictionaryImportStatement(Dialect::SqlServer, dev, record, false),
         "if not exists( SELECT * FROM tb_id_devid where devid = 7 ) \t\t\tbegin insert into "
         "tb_id_devid(devid,devname,devkeychar,res,insertdate)values(7,'灯光仪','DG','使用','2026-01-02 03:04:05') End"},
        {dictionaryImportStatement(Dialect::SqlServer, dev, record, true),
         "if not exists( SELECT * FROM tb_id_devid where devid = 7 ) \t\t\tbegin insert into "
         "tb_id_devid(devid,devname,devkeychar,res,insertdate)values(7,'灯光仪','DG','使用','2026-01-02 03:04:05') End "
         "ELSE begin \t\t\tupdate tb_id_devid set devname = '灯光仪' where devid = 7 End"},
        {dictionaryImportStatement(Dialect::SqlServer, item, record, false),
         "if not exists( SELECT * FROM tb_id_itemid where itemid = 7 ) \t\t\tbegin insert into "
         "tb_id_itemid(itemid,itemname,res,insertdate)values(7,'灯光仪','使用','2026-01-02 03:04:05') End"},
        {dictionaryImportStatement(Dialect::SqlServer, item, record, true),
         "if not exists( SELECT * FROM tb_id_itemid where itemid = 7 ) \t\t\tbegin insert into "
         "tb_id_itemid(itemid,itemname,res,insertdate)values(7,'灯光仪','使用','2026-01-02 03:04:05') End "
         "ELSE begin \t\t\tupdate tb_id_itemid set itemname = '灯光仪' where itemid = 7 End"},
        {dictionaryImportStatement(Dialect::SqlServer, param, record, false),
         "if not exists( SELECT * FROM tb_id_paramid where paramid = 7 ) \t\t\tbegin insert into "
         "tb_id_paramid(paramid,paramname)values(7,'灯光仪') End"},
        {dictionaryImportStatement(Dialect::SqlServer, param, record, true),
         "if not exists( SELECT * FROM tb_id_paramid where paramid = 7 ) \t\t\tbegin insert into "
         "tb_id_paramid(paramid,paramname)values(7,'灯光仪') End ELSE begin \t\t\tupdate tb_id_paramid set "
         "paramname = '灯光仪' where paramid = 7 End"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.text, c.expected);
}

TEST(DictionarySql, ValuesCannotChangeTheStatement)
{
    DictionaryRow odd = row;
    odd.name = QStringLiteral("O'Brien");
    EXPECT_TRUE(dictionaryInsertStatement(itemDictionary(), odd).contains(QStringLiteral("'O''Brien'")));
    odd.code = QStringLiteral("7 or 1=1");
    EXPECT_THROW(dictionaryDeleteStatement(itemDictionary(), odd), DbError);  // refused before it runs
}

using DictionaryImportSqlTest = DictionaryFixture;

TEST_F(DictionaryImportSqlTest, EmbeddedImportAddsMissingCodesAndForcedRenamesOnly)
{
    run(QStringLiteral("insert into tb_id_devid(devid, devname, devkeychar, res, remark, insertdate) "
                       "values (7, '旧', 'OLD', '使用', '注释', '2020-01-01 00:00:00')"));
    const ImportRecord known{QStringLiteral("7"), QStringLiteral("新'名"), QStringLiteral("NEW"),
                             QStringLiteral("新建"), QStringLiteral("2026-01-02 03:04:05")};
    ImportRecord fresh = known;
    fresh.code = QStringLiteral("8");
    const QString query = QStringLiteral(
        "select devid, devname, devkeychar, res, remark, insertdate from tb_id_devid order by devid");
    const Dialect embedded = Dialect::Sqlite;

    run(dictionaryImportStatement(embedded, deviceDictionary(), known, false));
    run(dictionaryImportStatement(embedded, deviceDictionary(), fresh, false));
    EXPECT_EQ(rows(query),
              QStringLiteral("7,旧,OLD,使用,注释,2020-01-01 00:00:00|8,新'名,NEW,新建,,2026-01-02 03:04:05"));

    run(dictionaryImportStatement(embedded, deviceDictionary(), known, true));
    EXPECT_EQ(rows(query),
              QStringLiteral("7,新'名,OLD,使用,注释,2020-01-01 00:00:00|8,新'名,NEW,新建,,2026-01-02 03:04:05"));

    ImportRecord nine = known;
    nine.code = QStringLiteral("9");
    run(dictionaryImportStatement(embedded, deviceDictionary(), nine, true));
    EXPECT_EQ(rows(QStringLiteral("select count(*) from tb_id_devid where devid = 9")), QStringLiteral("1"));
}

}  // namespace
}  // namespace dbkeel::test
