#include "composition/RunTables.h"

#include "core/SharedDb.h"

namespace dbkeel {

const QList<RunTableStep> &runTableSteps()
{
    static const QList<RunTableStep> steps = {
        {QStringLiteral("正在创建项目信息..."),
         QStringLiteral("已创建项目信息"),
         QStringLiteral("创建项目信息失败"),
         {QStringLiteral("delete from tb_id_item ;"),
          QStringLiteral(
              "insert into tb_id_item(ItemId,ItemName)select itemid,itemname from tb_id_itemid order by itemid;")}},
        {QStringLiteral("正在创建设备信息..."),
         QStringLiteral("已创建设备信息"),
         QStringLiteral("创建设备信息失败"),
         {QStringLiteral("delete from tb_id_dev"),
          QStringLiteral("insert into tb_id_dev(RunDevId,RunDevName,BaseDevName)select devid,devname,devkeychar from "
                         "tb_id_devid order by devid;")}},
        {QStringLiteral("正在创建参数信息..."),
         QStringLiteral("已创建参数信息"),
         QStringLiteral("创建参数信息失败"),
         {QStringLiteral("delete from tb_id_param"),
          QStringLiteral(
              "insert into tb_id_param( devId , ParamId,ItemId,ParamName )select tb_id_dev_item.devid , "
              "tb_id_item_param.paramid,               tb_id_dev_item.itemid ,tb_id_item_param.paramname from "
              "tb_id_item_param,tb_id_dev_item  where                tb_id_dev_item.itemid = "
              "tb_id_item_param.itemid order by devid , paramid ; ")}},
    };
    return steps;
}

const QStringList &runTableNames()
{
    static const QStringList names{QStringLiteral("tb_id_item"), QStringLiteral("tb_id_dev"),
                                   QStringLiteral("tb_id_param")};
    return names;
}

std::optional<QString> rebuildRunTable(SharedDb &db, const RunTableStep &step)
{
    try {
        SqlTransaction transaction(db);
        for (const QString &statement : step.statements)
            db.exec(statement);
        transaction.commit();
        return std::nullopt;
    } catch (const DbError &error) {
        return error.text();
    }
}

bool rebuildRunTables(SharedDb &db, const RunTableReport &report)
{
    for (const RunTableStep &step : runTableSteps()) {
        report.started(step);
        if (const std::optional<QString> error = rebuildRunTable(db, step)) {
            report.failed(step, *error);
            return false;
        }
        report.done(step);
    }
    return true;
}

}  // namespace dbkeel
