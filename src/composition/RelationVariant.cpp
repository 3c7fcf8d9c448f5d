#include "composition/RelationVariant.h"

#include "screens/CommandIds.h"

#include <algorithm>

namespace dbkeel {

bool DefaultAssignment::contains(int code) const
{
    return std::any_of(ranges.begin(), ranges.end(),
                       [code](const Range &range) { return code >= range.first && code <= range.last; });
}

const DefaultAssignment *RelationVariant::defaultFor(int owner) const
{
    const auto found = std::find_if(defaults.begin(), defaults.end(),
                                    [owner](const DefaultAssignment &entry) { return entry.owner == owner; });
    return found == defaults.end() ? nullptr : &*found;
}

namespace {

constexpr bool kFirstOnly = true;

// The installation's device → items defaults.
QList<DefaultAssignment> deviceItemDefaults()
{
    return {
        {2, {{205, 205}}, kFirstOnly},
        {3, {{200, 203}}},
        {4, {{217, 222}, {246, 246}}},
        {5, {{223, 229}, {247, 249}, {252, 252}}},
        {6, {{232, 232}}, kFirstOnly},
        {7, {{230, 230}}, kFirstOnly},
        {8, {{231, 231}}, kFirstOnly},
        {9, {{233, 233}}, kFirstOnly},
        {10, {{239, 239}}, kFirstOnly},
        {11, {{235, 238}}},
        {12, {{208, 215}, {200, 203}}},
        {13, {{244, 244}}, kFirstOnly},
        {14, {{204, 204}}, kFirstOnly},
        {15, {{207, 207}}, kFirstOnly},
        {16, {{207, 207}}, kFirstOnly},
        {17, {{242, 242}}, kFirstOnly},
        {18, {{250, 250}}, kFirstOnly},
        {19, {{234, 234}}, kFirstOnly},
        {20, {{216, 216}}, kFirstOnly},
        {21, {{241, 241}}, kFirstOnly},
        {22, {{240, 240}}, kFirstOnly},
        {23, {{245, 245}, {251, 251}}},
        {25, {{217, 229}, {246, 249}, {252, 252}, {255, 255}}},
        {26, {{265, 267}}},
        {27, {{268, 274}}},
        {28, {{276, 276}}, kFirstOnly},
        {30, {{244, 244}}, kFirstOnly},
        {32, {{278, 278}}, kFirstOnly},
        {34, {{200, 200}, {217, 218}, {223, 224}, {231, 231}}},
        {35, {{235, 235}}, kFirstOnly},
        {36, {{230, 230}}, kFirstOnly},
    };
}

// The installation's item → parameters defaults.
QList<DefaultAssignment> itemParameterDefaults()
{
    return {
        {200, {{5000, 5001}}},
        {201, {{5002, 5003}}},
        {202, {{5004, 5005}}},
        {203, {{5006, 5007}}},
        {204, {{5008, 5012}, {7008, 7008}}},
        {205, {{5013, 5017}, {7009, 7009}}},
        {207, {{5018, 5022}, {5028, 5033}, {7010, 7011}}},
        {208, {{9000, 9008}}},
        {209, {{9009, 9017}}},
        {210, {{9018, 9060}}},
        {211, {{9061, 9065}}},
        {212, {{9066, 9070}}},
        {214, {{9075, 9077}}},
        {215, {{9078, 9085}}},
        {216, {{5046, 5051}, {9083, 9085}}},
        {217, {{5052, 5054}}},
        {218, {{5055, 5057}}},
        {219, {{5058, 5060}}},
        {220, {{5061, 5063}}},
        {221, {{5064, 5066}}},
        {222, {{5067, 5069}}},
        {223, {{5071, 5080}, {5458, 5459}}},
        {224, {{5081, 5090}, {5460, 5461}}},
        {225, {{5091, 5100}, {5462, 5463}}},
        {226, {{5101, 5110}, {5464, 5465}}},
        {227, {{5111, 5120}, {5466, 5467}}},
        {228, {{5121, 5130}, {5468, 5469}}},
        {229, {{5131, 5134}}},
        {230, {{5139, 5139}}},
        {231, {{5140, 5145}, {5499, 5501}}},
        {232, {{5146, 5146}, {5504, 5504}, {6000, 6000}, {6002, 6002}}},
        {233, {{5147, 5150}}},
        {234, {{5151, 5156}}},
        {235, {{5157, 5164}, {5509, 5509}}},
        {236, {{5165, 5172}}},
        {237, {{5173, 5176}, {5178, 5181}}},
        {238, {{5182, 5189}}},
        {239, {{5219, 5232}}},
        {240, {{5190, 5193}}},
        {241, {{5233, 5235}}},
        {242, {{5197, 5209}}},
        {244, {{5210, 5218}, {9083, 9085}}},
        {245, {{5194, 5194}, {5236, 5236}, {5503, 5503}}},
        {246, {{5070, 5070}}, kFirstOnly},
        {247, {{5135, 5136}, {5507, 5508}}},
        {248, {{5137, 5137}}, kFirstOnly},
        {249, {{5138, 5138}}, kFirstOnly},
        {250, {{5196, 5196}}, kFirstOnly},
        {252, {{5237, 5237}, {5490, 5498}, {5502, 5502}}},
        {276, {{7001, 7004}, {9083, 9085}}},
        {278, {{5505, 5506}}},
    };
}

const QString kWithdrawn = QStringLiteral("无效");

}  // namespace

const RelationVariant &deviceItemRelation()
{
    static const RelationVariant variant = [] {
        RelationVariant v;
        v.screenName = QStringLiteral("DeviceItemRelationDialog");
        v.title = QStringLiteral("创建设备项目对应关系");
        v.commandId = command::DeviceItemRelations;
        v.ownerLabel = QStringLiteral("设备名称:");
        v.ownerQuery = QStringLiteral("select * from tb_id_devid where res <>  '%1' or res is NULL;").arg(kWithdrawn);
        v.ownerCodeColumn = QStringLiteral("devid");
        v.ownerNameColumn = QStringLiteral("devname");
        v.memberQuery = QStringLiteral("select * from tb_id_itemid where res <> '%1' or res is NULL ;").arg(kWithdrawn);
        v.memberCodeColumn = QStringLiteral("itemid");
        v.memberNameColumn = QStringLiteral("itemname");
        v.availableTitle = QStringLiteral("可选项目");
        v.assignedTitle = QStringLiteral("已选项目");
        v.listTitles = {QStringLiteral("项目号"), QStringLiteral("项目名称"), QStringLiteral("项目代号"),
                        QStringLiteral("说明"),   QStringLiteral("注释"),     QStringLiteral("插入时间")};
        v.loadFormat = QStringLiteral("select * from tb_id_dev_item where devid = %1 ");
        v.table = QStringLiteral("tb_id_dev_item");
        v.deleteFormat = QStringLiteral("delete from tb_id_dev_item where devid = %1 ");
        v.insertFormat = QStringLiteral(
            "insert into tb_id_dev_item(devid,devname,itemid,itemname)\t\t\t\t\tvalues(%1,%2,%3,%4);");
        v.nothingSelected = QStringLiteral("请选择设备!");
        v.emptyAssignment = QStringLiteral("请给该设备分配项目!");
        v.hasTickButtons = true;
        v.defaults = deviceItemDefaults();
        return v;
    }();
    return variant;
}

const RelationVariant &itemParameterRelation()
{
    static const RelationVariant variant = [] {
        RelationVariant v;
        v.screenName = QStringLiteral("ItemParameterRelationDialog");
        v.title = QStringLiteral("创建项目参数对应关系");
        v.commandId = command::ItemParameterRelations;
        v.ownerLabel = QStringLiteral("项目名称:");
        v.ownerQuery = QStringLiteral("select itemid, itemname from tb_id_itemid where res <>  '%1' or res is NULL;")
                           .arg(kWithdrawn);
        v.ownerCodeColumn = QStringLiteral("itemid");
        v.ownerNameColumn = QStringLiteral("itemname");
        v.memberQuery = QStringLiteral("select * from tb_id_paramid where res <> '%1' or res is NULL ;")
                            .arg(kWithdrawn);
        v.memberCodeColumn = QStringLiteral("paramid");
        v.memberNameColumn = QStringLiteral("paramname");
        v.availableTitle = QStringLiteral("可选参数:");
        v.assignedTitle = QStringLiteral("已选参数:");
        v.listTitles = {QStringLiteral("参数号"), QStringLiteral("参数名称"), QStringLiteral("参数代号"),
                        QStringLiteral("说明"),   QStringLiteral("注释"),     QStringLiteral("插入时间")};
        v.loadFormat = QStringLiteral("select paramid,paramname from tb_id_item_param where itemid = %1 ");
        v.table = QStringLiteral("tb_id_item_param");
        v.deleteFormat = QStringLiteral("delete from tb_id_item_param where itemid = %1 ");
        v.insertFormat = QStringLiteral(
            "insert into tb_id_item_param(itemid,itemname,paramid,paramname)\t\t\t\t\tvalues(%1,%2,%3,%4);");
        v.nothingSelected = QStringLiteral("请选择项目!");
        v.emptyAssignment = QStringLiteral("请给该项目分配参数!");
        v.defaults = itemParameterDefaults();
        return v;
    }();
    return variant;
}

}  // namespace dbkeel
