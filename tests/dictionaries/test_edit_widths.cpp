// Every editor's text limit against the width of the columns it is written to (kColumnWidths, which
// the schema test compares with both schema scripts): a longer text would fail the store on SQL Server.

#include "core/ColumnWidths.h"
#include "dictionaries/DictionaryRowRecord.h"
#include "dictionaries/DictionaryVariant.h"
#include "dictionaries/OutlineItemEditor.h"
#include "dictionaries/SubIdEditor.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace dbkeel::test {
namespace {

// What a column of kColumnWidths holds, for a table and column the editors' statements name.
int widthOf(const QString &table, const QString &column)
{
    const std::string t = table.toStdString(), c = column.toStdString();
    return columnWidth({t, c});
}

TEST(EditWidths, NoEditorTakesMoreThanItsColumnsHold)
{
    struct Case {
        std::string box;
        int limit;
        QString table, column;
    };
    std::vector<Case> cases{
        {"line-type name", DictionaryRowRecord::kTextBytes, "tb_id_linetype", "linename"},
        {"sub-ID value", SubIdRecord::kValueBytes, "tb_login_ini", "infovalue_about"},
        {"sub-ID main name", SubIdRecord::kMainNameBytes, "tb_login_ini", "subbyname"},
        {"outline code", OutlineRecord::kCodeBytes, "tb_id_eval", "pingdingid"},
        {"outline name", OutlineRecord::kNameBytes, "tb_id_eval", "pingdingname"},
        {"outline description", OutlineRecord::kDescriptionBytes, "tb_id_eval", "usetypeabout"},
        {"outline alias", OutlineRecord::kAliasBytes, "tb_id_eval", "alias"},
    };
    // The row editor's boxes, written to the columns each dictionary's statements name.
    for (const DictionaryVariant *variant : {&deviceDictionary(), &itemDictionary(), &parameterDictionary()}) {
        const std::string name = variant->table.toStdString();
        cases.push_back({name + " name", DictionaryRowRecord::kTextBytes, variant->table, variant->nameColumn});
        if (!variant->keyColumn.isEmpty())
            cases.push_back({name + " key", DictionaryRowRecord::kTextBytes, variant->table, variant->keyColumn});
        cases.push_back({name + " 说明", DictionaryRowRecord::kTextBytes, variant->table, QStringLiteral("res")});
        cases.push_back({name + " 注释", DictionaryRowRecord::kRemarkBytes, variant->table, QStringLiteral("remark")});
    }
    for (const Case &c : cases)
        EXPECT_LE(c.limit, widthOf(c.table, c.column)) << c.box;
}

}  // namespace
}  // namespace dbkeel::test
