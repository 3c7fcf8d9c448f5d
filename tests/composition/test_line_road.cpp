// The whole road on an empty installation database: dictionary entries, relations by their
// defaults, a line of two stations, Build; then the main window's tree and station registry.

#include "composition/LineLayoutEditor.h"
#include "composition/RelationEditor.h"
#include "core/LineTree.h"
#include "core/StationRegistry.h"
#include "dictionaries/DictionarySql.h"
#include "dictionaries/DictionaryVariant.h"
#include "dictionaries/LineTypeEditor.h"
#include "tests/composition/CompositionFixture.h"

namespace dbkeel::test {
namespace {

using Road = CompositionFixture;

void enter(const DictionaryVariant &variant, int code, const QString &name)
{
    sharedDb().exec(
        dictionaryInsertStatement(variant, {{}, name, QString::number(code), QStringLiteral("K"), {}, {}, {}}));
}

void writeDefaults(const RelationVariant &variant, const QStringList &owners, ScriptedPrompt &prompts)
{
    RelationEditor editor(variant);
    editor.load();
    for (const QString &owner : owners) {
        editor.selectOwner(owner);
        prompts.answer(PromptButton::Ok);
        ASSERT_TRUE(editor.write()) << owner.toStdString();
    }
}

TEST_F(Road, ANewLineFromEmptyTablesToTheTree)
{
    enter(deviceDictionary(), 3, QStringLiteral("灯光仪"));
    enter(deviceDictionary(), 14, QStringLiteral("侧滑台"));
    const QStringList items = {"左外灯", "左内灯", "右内灯", "右外灯", "侧滑"};
    for (int k = 0; k < items.size(); ++k)
        enter(itemDictionary(), 200 + k, items.at(k));
    for (int code = 5000; code <= 5012; ++code)  // parameters of items 200–204, but none of item 203's (5006, 5007)
        if (code != 5006 && code != 5007)
            enter(parameterDictionary(), code, QStringLiteral("参数%1").arg(code));
    sharedDb().exec(lineTypeStoreStatement(sharedDb().dialect(), QStringLiteral("1"), QStringLiteral("安检线")));

    writeDefaults(deviceItemRelation(), {"灯光仪", "侧滑台"}, prompts);  // 3: 200–203; 14: 204
    writeDefaults(itemParameterRelation(), {"左外灯", "左内灯", "右内灯", "侧滑"}, prompts);

    LineLayoutEditor layout;
    layout.open();
    for (const auto &[station, device] : {std::pair{"1", "灯光仪"}, std::pair{"2", "侧滑台"}}) {
        PlacementInput input;
        input.line = QStringLiteral("1");
        input.lineTypeName = QStringLiteral("安检线");
        input.station = QString::fromUtf8(station);
        input.deviceName = QString::fromUtf8(device);
        input.address = QStringLiteral("192.168.3.%1").arg(station);
        ASSERT_FALSE(layout.addRow(input));
    }
    prompts.answer(PromptButton::Ok);
    ASSERT_EQ(layout.build(), LineLayoutEditor::BuildEnd::Close);

    EXPECT_EQ(rows(QStringLiteral("select stationid,devid,itemid from tb_login_lineindex order by stationid,itemid")),
              QStringLiteral("1,3,200|1,3,201|1,3,202|2,14,204"));
    const std::optional<LineTree> tree = LoadLineTree(sharedDb());
    ASSERT_TRUE(tree);
    QStringList stations;
    for (const TreeNode &node : tree->nodes)
        if (node.kind == TreeNode::Station)
            stations << node.text;
    ASSERT_EQ(stations.size(), 2) << stations.join(u'|').toStdString();
    EXPECT_TRUE(stations.at(0).contains(QStringLiteral("192.168.3.1"))) << stations.at(0).toStdString();
    QStringList addresses;
    for (const RegistryEntry &entry : stationRegistry().entries())
        addresses << entry.station.ip + u':' + entry.station.port;
    EXPECT_EQ(addresses, (QStringList{"192.168.3.1:10100", "192.168.3.2:10200"}));
}

}  // namespace
}  // namespace dbkeel::test
